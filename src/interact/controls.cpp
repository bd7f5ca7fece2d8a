// Every control of the two panels and every key of the scene, as two tables
// of values. A setting's control takes its label from the settings table;
// each attractor adds its rollout and its lines of the "Info" rollout.
#include "interact/controls.h"

#include <algorithm>
#include <iterator>

#include "sim/models.h"
#include "state/settings.h"

namespace {

using W = Widget;

// A setting's control, labelled as the settings table labels it.
Control setting(Widget w, const std::string &key) {
  return {w, settingRow(key).label, key};
}

// A control of one kind for each key, or a static line for each line.
template <typename Keys> void addEach(std::vector<Control> &c, Widget w, const Keys &keys) {
  std::transform(std::begin(keys), std::end(keys), std::back_inserter(c), [w](const auto &key) {
    return w == W::TEXT ? Control{W::TEXT, key} : setting(w, key);
  });
}

// Each attractor's parameters, then their increments, in a rollout; its
// separator inside the rollout or right after it.
void addParameters(std::vector<Control> &c, const Model &m) {
  const std::string in = std::string(m.key) + ".";
  c.push_back({W::ROLLOUT, m.rollout, m.key});
  if (m.separatorInRollout) c.push_back({W::SEPARATOR});
  std::string keys[6];
  for (int k = 0; k < 3; k++)
    keys[k] = in + m.params[k].name, keys[k + 3] = in + m.params[k].incName;
  addEach(c, W::SPINNER, keys);
  c.push_back({W::TEXT, "     (spacebar to add dx)"});
  c.push_back({W::END});
  if (!m.separatorInRollout) c.push_back({W::SEPARATOR});
}

std::vector<Control> right() {
  std::vector<Control> c = {{W::GROUP, "Attractor"}, setting(W::RADIOS, "attractor"), {W::END}};
  for (const Model &m : models) addParameters(c, m);
  c.insert(c.end(), {{W::GROUP, "Rendering"},
                     setting(W::RADIOS, "playback"),
                     {W::END},
                     setting(W::CHECK, "twin"),
                     {W::TEXT, "    Press s to recreate trajectory"},
                     {W::SEPARATOR},
                     {W::BUTTON, "Random Initial Condition", "", Press::INITIAL},
                     {W::SEPARATOR},
                     {W::TEXT, "     Miscellaneous controls"}});
  addEach(c, W::SPINNER, std::initializer_list<const char *>{"tmin", "tmax", "dt", "zoom"});
  c.insert(c.end(), {{W::TEXT, "       (z & mouse to zoom)"}, {W::SEPARATOR}});
  addEach(c, W::LIST, std::initializer_list<const char *>{"colouring", "background", "lines"});
  // The page's files and link: a picture or the settings out, settings in.
  const Shown page = Shown::PAGE;
  c.insert(c.end(), {{W::SEPARATOR, "", "", Press::NONE, page},
                     {W::ROW, "", "share", Press::NONE, page},
                     {W::BUTTON, "Download PNG", "", Press::DOWNLOAD_PICTURE, page},
                     {W::BUTTON, "Download settings", "", Press::DOWNLOAD_SETTINGS, page},
                     {W::BUTTON, "Open settings…", "", Press::OPEN_SETTINGS, page},
                     {W::BUTTON, "Copy link", "", Press::COPY_LINK, page},
                     {W::END, "", "", Press::NONE, page}});
  return c;
}

std::vector<Control> bottom() {
  const Control column = {W::COLUMN, "", "", Press::NONE, Shown::DESKTOP};
  std::vector<Control> c = {{W::ROLLOUT, "About", "about"},
                            {W::TEXT, "Tresolva, v1.0"},
                            {W::TEXT, "Lorenz and Roessler flows: chaos, drawn live."},
                            {W::END},
                            column,
                            {W::ROLLOUT, "Info", "info"}};
  for (const Model &m : models) {
    addEach(c, W::TEXT, m.info);
    c.push_back({W::SEPARATOR});
  }
  c.insert(c.end(), {{W::TEXT, "Axes: x,y, 0 to 30; z, 0 to 60"},
                     {W::TEXT, "Box: x,y, -30 to 30; z 0 to 60"},
                     {W::END},
                     column,
                     {W::ROLLOUT, "Controls", "controls"}});
  const char *const controls[] = {"Rotate Attractor:",
                                  "Left-click + mouse.",
                                  "Translate Attractor:",
                                  "Right-click + mouse.",
                                  "Zoom: z + mouse.",
                                  "Change parameter",
                                  "X by dX:",
                                  "space bar.",
                                  "Every key: h or F1."};
  addEach(c, W::TEXT, controls);
  c.push_back({W::END});
  for (const char *key : {"axes", "box", "grid", "tracer", "maximum_map"})
    c.insert(c.end(), {column, setting(W::CHECK, key)});
  c.insert(c.end(), {column,
                     {W::BUTTON, "Reset", "", Press::RESET},
                     column,
                     {W::BUTTON, "Quit", "", Press::QUIT, Shown::DESKTOP}});
  return c;
}

} // namespace

const PanelLayout &panelLayout() {
  static const PanelLayout layout = {right(), bottom()};
  return layout;
}

const char *pressName(Press p) {
  static const char *const names[] = {"",
                                      "reset",
                                      "initial",
                                      "quit",
                                      "download_picture",
                                      "download_settings",
                                      "open_settings",
                                      "copy_link"};
  return names[(int)p];
}

// ======== The keys ==========================================================================
// Gestures first, as the help lists them; a key the page answers otherwise
// has a row of each kind.
const std::vector<KeyRow> &keyTable() {
  using K = KeyAct;
  const Shown both = Shown::BOTH, desktop = Shown::DESKTOP, page = Shown::PAGE;
  static const std::vector<KeyRow> rows = {
      {0, 0, K::NONE, "Left drag", "turn the scene", both, ""},
      {0, 0, K::NONE, "Right drag", "move the scene", both, ""},
      {0, 0, K::NONE, "z + mouse up, down", "zoom in, out", both, ""},
      {0, 0, K::NONE, "Mouse wheel", "zoom in, out (over a panel: scroll it)", both, ""},
      {0, 0, K::NONE, "One finger, two, a pinch", "turn, move, zoom", page, ""},
      {0, 0, K::NONE, "Arrow keys (scene focused)", "turn the scene 5 degrees; with Shift, move it",
       page, ""},
      {' ', 0, K::STEP, "Space", "add the increments (dX) to the parameters", both,
       "Step parameters (space)"},
      {'s', 0, K::RESEED, "s",
       "with the twin on: both curves start again from the head, 1e-9 apart", both,
       "Re-seed twin (s)"},
      {19, 0, K::KEEP, "Ctrl+S",
       "save the scene as PNG, with its settings, in your pictures folder", desktop, ""},
      {19, 0, K::KEEP, "Ctrl+S", "download the picture and its settings", page, ""},
      {'p', 0, K::PRINT, "p", "print the settings on standard output", desktop, ""},
      {'i', 0, K::NUMBERS, "i", "show or hide the numbers (time, state, frame, twin's ln d)", both,
       "Numbers (i)"},
      {'h', 1, K::HELP, "h or F1", "show or hide this help", both, "Help (h)"},
      {0, 0, K::NONE, "Buttons under the scene", "space, s, i and h for touch screens", page, ""},
      {0, 0, K::NONE, "Panels", "type a number and press Enter; Esc abandons it or closes a list",
       both, ""},
      {0, 0, K::NONE, "Arrows of a number", "click: one step; drag up or down: change it smoothly",
       both, ""},
      {0, 0, K::NONE, "Arrow keys in a number", "one step", page, ""},
  };
  return rows;
}

const KeyRow *keyRow(int ch, int fkey, Shown on) {
  const std::vector<KeyRow> &rows = keyTable();
  auto k = std::find_if(rows.begin(), rows.end(), [&](const KeyRow &r) {
    return r.act != KeyAct::NONE && shownOn(r.shown, on) &&
           ((ch && r.ch == ch) || (fkey && r.fkey == fkey));
  });
  return k == rows.end() ? nullptr : &*k;
}

const char *actName(KeyAct a) {
  static const char *const names[] = {"", "step", "reseed", "keep", "print", "numbers", "help"};
  return names[(int)a];
}

std::vector<std::string> helpLines(Shown on) {
  std::vector<std::string> lines;
  for (const KeyRow &k : keyTable())
    if (shownOn(k.shown, on)) lines.push_back(std::string(k.keys) + "\t" + k.help);
  return lines;
}
