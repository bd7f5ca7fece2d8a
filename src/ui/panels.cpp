// The contents of the two control panels: every control bound to its
// variable, with its limits and items. Labels keep their blanks.
#include "ui/panels.h"

#include <cstdlib>

#include "render/colourings.h"
#include "sim/models.h"
#include "state/state.h"
#include "ui/layer.h"
#include "ui/reset.h"

using namespace ui;

namespace {

void buildAttractor(Subwindow *r) {
  Panel *p = r->add_panel("Attractor", PANEL_EMBOSSED);
  RadioGroup *g = r->add_radiogroup_to_panel(p, &attype, -1, nullptr);
  for (const Model &m : models) r->add_radiobutton_to_group(g, m.name);
}

void addLines(Subwindow *b, Panel *p, const char *const *lines, int count) {
  for (int k = 0; k < count; k++) b->add_statictext_to_panel(p, lines[k]);
}

// ======== Bottom: help, display switches, Reset, Quit ===========================
const char *const aboutLines[] = {
    "Tresolva, v1.0",
    "Lorenz and Roessler flows: chaos, drawn live.",
};
const char *const figureLines[] = {
    "Axes: x,y, 0 to 30; z, 0 to 60",
    "Box: x,y, -30 to 30; z 0 to 60",
};
const char *const controlLines[] = {
    "Rotate Attractor:",
    "Left-click + mouse.",
    "Translate Attractor:",
    "Right-click + mouse.",
    "Zoom: z + mouse.",
    "Change parameter",
    "X by dX:",
    "space bar.",
};

// Each attractor's equations and map, a separator after each.
void buildInfo(Subwindow *b, Panel *info) {
  for (const Model &m : models) {
    for (const char *line : m.info) b->add_statictext_to_panel(info, line);
    b->add_separator_to_panel(info);
  }
  addLines(b, info, figureLines, 2);
}

void buildBottom(Subwindow *b) {
  addLines(b, b->add_rollout("About", open, PANEL_EMBOSSED), aboutLines, 2);
  b->add_column(1);
  buildInfo(b, b->add_rollout("Info", open, PANEL_EMBOSSED));
  b->add_column(1);
  addLines(b, b->add_rollout("Controls", open2, PANEL_EMBOSSED), controlLines, 8);
  b->add_column(1);
  axes_checkbox = b->add_checkbox("Axes", &axes, -1, nullptr);
  b->add_column(1);
  box_checkbox = b->add_checkbox("Box", &box, -1, nullptr);
  b->add_column(1);
  xy_checkbox = b->add_checkbox("X-Y Grid", &xygrid, -1, nullptr);
  b->add_column(1);
  tracer_checkbox = b->add_checkbox("Tracer", &tracer, -1, nullptr);
  b->add_column(1);
  max_checkbox = b->add_checkbox("Maximum Map", &map, -1, nullptr);
  b->add_column(1);
  b->add_button("Reset", 0, reset);
  b->add_column(1);
  b->add_button("Quit", 0, std::exit);
}

// ======== Right: parameters ======================================================
Spinner *spinner(Subwindow *r, Panel *p, const char *name, float *var, float lo, float hi) {
  Spinner *s = r->add_spinner_to_panel(p, name, SPINNER_FLOAT, var, -1, nullptr);
  s->set_float_limits(lo, hi, LIMIT_CLAMP);
  return s;
}

// The parameters, then their increments, each spinner within its limits.
void buildParameters(Subwindow *r, const Model &m, int open) {
  Rollout *p = r->add_rollout(m.rollout, open, PANEL_EMBOSSED);
  if (m.separatorInRollout) r->add_separator_to_panel(p);
  else r->add_separator();
  for (const Parameter &q : m.params) *q.spinner = spinner(r, p, q.name, q.value, q.lo, q.hi);
  for (const Parameter &q : m.params) spinner(r, p, q.incName, q.inc, -10, 10);
  r->add_statictext_to_panel(p, "     (spacebar to add dx)");
}

// ======== Right: playback, times, colours ===========================================
void buildRendering(Subwindow *r) {
  Panel *p = r->add_panel("Rendering", PANEL_EMBOSSED);
  RadioGroup *g = r->add_radiogroup_to_panel(p, &dynamic, -1, nullptr);
  r->add_radiobutton_to_group(g, "Static");
  r->add_radiobutton_to_group(g, "Dynamic");
  r->add_radiobutton_to_group(g, "Segment");
  twin_checkbox = r->add_checkbox("    Twin trajectory", &second, -1, nullptr);
  r->add_statictext("    Press s to recreate trajectory");
  r->add_separator();
  r->add_button("Random Initial Condition", 0, initial);
  r->add_separator();
  r->add_statictext("     Miscellaneous controls");
  tmin_spinner = spinner(r, r, "tmin", &tmin, 0, 5000);
  tmax_spinner = spinner(r, r, "tmax", &tmaxstatic, 0, 10000);
  dt_spinner = spinner(r, r, "dt", &dt, 0.0001f, 1);
  zoom_spinner = spinner(r, r, "Zoom", &zoom, 0.1f, 300);
  r->add_statictext("       (z & mouse to zoom)");
  r->add_separator();
}

void buildLists(Subwindow *r) {
  listbox = r->add_listbox("Coloring: ", &coloring, -1, nullptr);
  for (const Colouring &c : colourings) listbox->add_item(c.id, c.name);
  listback = r->add_listbox("Background: ", &bg, -1, nullptr);
  listback->add_item(1, "White");
  listback->add_item(0, "Black");
  listthick = r->add_listbox("Lines: ", &thickness, -1, nullptr);
  listthick->add_item(1, "Thin");
  listthick->add_item(3, "Thick");
  listthick->add_item(5, "Thicker");
}

} // namespace

void buildPanels(Subwindow *right, Subwindow *bottom) {
  buildAttractor(right);
  buildBottom(bottom);
  const int opened[MODELS] = {open3, open4};
  for (int k = 0; k < MODELS; k++) buildParameters(right, models[k], opened[k]);
  buildRendering(right);
  buildLists(right);
}
