// The contents of the two control panels: every control bound to its
// field of the settings, with the table's label, limits and items. Labels
// keep their blanks.
#include "ui/panels.h"

#include <cstdlib>

#include "ui/layer.h"
#include "ui/reset.h"

using namespace ui;

namespace {

void buildAttractor(Subwindow *r, Settings &set) {
  Panel *p = r->add_panel("Attractor", PANEL_EMBOSSED);
  RadioGroup *g = r->add_radiogroup_to_panel(p, &set.attype);
  for (const Setting::Choice &c : settingRow(set, "attractor").choices)
    r->add_radiobutton_to_group(g, c.label.c_str());
}

void addLines(Subwindow *b, Panel *p, const char *const *lines, int count) {
  for (int k = 0; k < count; k++) b->add_statictext_to_panel(p, lines[k]);
}

Checkbox *checkbox(Subwindow *s, Settings &set, const char *key) {
  Setting row = settingRow(set, key);
  return s->add_checkbox(row.label.c_str(), row.i);
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
    "Every key: h or F1.",
};

// Each attractor's equations and map, a separator after each.
void buildInfo(Subwindow *b, Panel *info) {
  for (const Model &m : models) {
    for (const char *line : m.info) b->add_statictext_to_panel(info, line);
    b->add_separator_to_panel(info);
  }
  addLines(b, info, figureLines, 2);
}

void buildBottom(Subwindow *b, Settings &set, Picture &pic, const Rollouts &o) {
  addLines(b, b->add_rollout("About", o.open, PANEL_EMBOSSED), aboutLines, 2);
  b->add_column(1);
  buildInfo(b, b->add_rollout("Info", o.open, PANEL_EMBOSSED));
  b->add_column(1);
  addLines(b, b->add_rollout("Controls", o.open2, PANEL_EMBOSSED), controlLines, 9);
  for (const char *key : {"axes", "box", "grid", "tracer", "maximum_map"}) {
    b->add_column(1);
    checkbox(b, set, key);
  }
  b->add_column(1);
  b->add_button("Reset", 0, [&set, &pic](int) { resetButton(set, pic); });
  b->add_column(1);
  b->add_button("Quit", 0, [](int) { std::exit(0); });
}

// ======== Right: parameters ======================================================
void spinner(Subwindow *r, Panel *p, const Setting &row) {
  Spinner *s = r->add_spinner_to_panel(p, row.label.c_str(), SPINNER_FLOAT, row.f);
  s->set_float_limits((float)row.lo, (float)row.hi, LIMIT_CLAMP);
}

// The parameters, then their increments, each spinner within its limits.
void buildParameters(Subwindow *r, Settings &set, int m, int open) {
  Rollout *p = r->add_rollout(models[m].rollout, open, PANEL_EMBOSSED);
  if (models[m].separatorInRollout) r->add_separator_to_panel(p);
  else r->add_separator();
  for (int k = 0; k < 3; k++) spinner(r, p, parameterRow(set, m, k));
  std::string in = std::string(models[m].key) + ".";
  for (const Parameter &q : models[m].params) spinner(r, p, settingRow(set, in + q.incName));
  r->add_statictext_to_panel(p, "     (spacebar to add dx)");
}

// ======== Right: playback, times, colours ===========================================
void buildRendering(Subwindow *r, Settings &set, Picture &pic) {
  Panel *p = r->add_panel("Rendering", PANEL_EMBOSSED);
  RadioGroup *g = r->add_radiogroup_to_panel(p, &set.dynamic);
  for (const Setting::Choice &c : settingRow(set, "playback").choices)
    r->add_radiobutton_to_group(g, c.label.c_str());
  checkbox(r, set, "twin");
  r->add_statictext("    Press s to recreate trajectory");
  r->add_separator();
  r->add_button("Random Initial Condition", 0, [&pic](int) { initialButton(pic); });
  r->add_separator();
  r->add_statictext("     Miscellaneous controls");
  for (const char *key : {"tmin", "tmax", "dt", "zoom"}) spinner(r, r, settingRow(set, key));
  r->add_statictext("       (z & mouse to zoom)");
  r->add_separator();
}

void buildLists(Subwindow *r, Settings &set) {
  for (const char *key : {"colouring", "background", "lines"}) {
    Setting row = settingRow(set, key);
    Listbox *l = r->add_listbox(row.label.c_str(), row.i);
    for (const Setting::Choice &c : row.choices) l->add_item(c.value, c.label.c_str());
  }
}

} // namespace

void buildPanels(Subwindow *right, Subwindow *bottom, Settings &set, Picture &pic,
                 const Rollouts &rollouts) {
  buildAttractor(right, set);
  buildBottom(bottom, set, pic, rollouts);
  const int opened[MODELS] = {rollouts.open3, rollouts.open4};
  for (int m = 0; m < MODELS; m++) buildParameters(right, set, m, opened[m]);
  buildRendering(right, set, pic);
  buildLists(right, set);
}
