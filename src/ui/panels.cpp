// The contents of the two control panels: every control bound to its
// variable, with its limits and items. Labels keep their blanks.
#include "ui/panels.h"

#include <cstdlib>

#include "app/state.h"
#include "ui/layer.h"
#include "ui/reset.h"

using namespace ui;

namespace {

void buildAttractor(Subwindow *r) {
  Panel *p = r->add_panel("Attractor", PANEL_EMBOSSED);
  RadioGroup *g = r->add_radiogroup_to_panel(p, &attype, -1, nullptr);
  r->add_radiobutton_to_group(g, "Lorentz");
  r->add_radiobutton_to_group(g, "Roessler");
}

void addLines(Subwindow *b, Panel *p, const char *const *lines, int count) {
  for (int k = 0; k < count; k++) {
    if (lines[k]) b->add_statictext_to_panel(p, lines[k]);
    else b->add_separator_to_panel(p);
  }
}

// ======== Bottom: help, display switches, Reset, Quit ===========================
const char *const aboutLines[] = {
    "Tresolva, v1.0",
    "Lorenz and Roessler flows: chaos, drawn live.",
};
// A null line is a separator.
const char *const infoLines[] = {
    "Lorentz attractor:",
    "dx/dt = sigma*(y-x),",
    "dy/dt = x*(ro-z)-y,",
    "dz/dt = x*y-beta*z.",
    "Maximum Map:",
    "|(n+1)th x maximum| vs",
    "|nth x maximum|.",
    nullptr,
    "Roessler attractor:",
    "dx/dt =-y-z,",
    "dy/dt=x+a*y,",
    "dz/dt=b+z*(x-c).",
    "Maximum Map:",
    "(n+1)th x maximum vs",
    "nth x maximum.",
    nullptr,
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

void buildBottom(Subwindow *b) {
  addLines(b, b->add_rollout("About", open, PANEL_EMBOSSED), aboutLines, 2);
  b->add_column(1);
  addLines(b, b->add_rollout("Info", open, PANEL_EMBOSSED), infoLines, 18);
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

void buildLorenz(Subwindow *r) {
  Rollout *p = r->add_rollout(" Lorentz  Parameters", open3, PANEL_EMBOSSED);
  r->add_separator_to_panel(p);
  ro_spinner = spinner(r, p, "ro", &ro, 1, 300);
  sigma_spinner = spinner(r, p, "sigma", &sigma, 0.1f, 20);
  beta_spinner = spinner(r, p, "beta", &beta, 0.1f, 60);
  spinner(r, p, "dro", &dro, -10, 10);
  spinner(r, p, "dsigma", &dsigma, -10, 10);
  spinner(r, p, "dbeta", &dbeta, -10, 10);
  r->add_statictext_to_panel(p, "     (spacebar to add dx)");
}

void buildRoessler(Subwindow *r) {
  Rollout *p = r->add_rollout("   Roessler  Parameters", open4, PANEL_EMBOSSED);
  r->add_separator();
  aa_spinner = spinner(r, p, "a", &aa, 0.01f, 10);
  bb_spinner = spinner(r, p, "b", &bb, 0.01f, 10);
  cc_spinner = spinner(r, p, "c", &cc, 0.1f, 50);
  spinner(r, p, "da", &daa, -10, 10);
  spinner(r, p, "db", &dbb, -10, 10);
  spinner(r, p, "dc", &dcc, -10, 10);
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
  const char *schemes[] = {"Quasiperiodic", "Speed",      "Red ghost", "Red/Green/Blue",
                           "Black/White",   "Grey ghost", "Green-Blue"};
  for (int k = 0; k < 7; k++) listbox->add_item(k + 1, schemes[k]);
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
  buildLorenz(right);
  buildRoessler(right);
  buildRendering(right);
  buildLists(right);
}
