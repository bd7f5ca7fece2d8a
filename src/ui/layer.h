// The panel layer: retained controls bound to live variables, laid out with
// Dear ImGui every frame in two panels docked right and bottom, and the
// routing of window events between the panels and the scene.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ui {

enum { SUBWINDOW_RIGHT = 32, SUBWINDOW_BOTTOM = 8 };
enum { PANEL_EMBOSSED = 1, SPINNER_FLOAT = 3, LIMIT_CLAMP = 1 };

using Callback = std::function<void(int id)>;

// ======== Controls ============================================================
class Spinner;

class Control {
public:
  virtual ~Control() = default;
  virtual void layout() = 0; // emits this frame's widgets
};

class Panel : public Control {
public:
  explicit Panel(std::string name) : name(std::move(name)) {}
  void layout() override;
  void add(Control *c) { children.emplace_back(c); }
  Spinner *findSpinner(const std::string &label); // here or in a nested panel, else null

protected:
  void layoutChildren();
  std::string name;
  std::vector<std::unique_ptr<Control>> children;
};

// A panel whose contents fold away under its title; closed unless open.
class Rollout : public Panel {
public:
  Rollout(std::string name, int open) : Panel(std::move(name)), open(open) {}
  void layout() override;

private:
  int open;
};

// Writes the position of the chosen button, counted from 0 in the order added.
class RadioGroup : public Control {
public:
  explicit RadioGroup(int *var) : var(var) {}
  void layout() override;
  void add(const char *label) { labels.emplace_back(label); }

private:
  int *var;
  std::vector<std::string> labels;
};

class Checkbox : public Control {
public:
  Checkbox(std::string name, int *var) : name(std::move(name)), var(var) {}
  void layout() override;
  void set_int_val(int v) { *var = v; }

private:
  std::string name;
  int *var;
};

// A number field with arrows. Typed text takes effect on Enter or when the
// field is left, Esc abandons it; the arrows step on a click and change the
// value continuously while dragged. Every route clamps to the limits.
class Spinner : public Control {
public:
  Spinner(std::string name, float *var) : name(std::move(name)), var(var) {}
  void layout() override;
  void set_float_limits(float low, float high, int type = LIMIT_CLAMP);
  void set_float_val(float v);
  void commitText(const char *s); // the typed route: Enter or leaving the field
  double step() const;            // one arrow click
  float get_float_val() const { return *var; }
  const char *shown() const { return text; } // the field's text as last laid out

private:
  friend class Panel;
  void arrows();
  std::string name;
  float *var;
  float lo = -1e30f, hi = 1e30f;
  char text[32] = "";
  bool editing = false, dragged = false;
};

// A drop-down list whose items carry ids; the chosen item's id is written.
class Listbox : public Control {
public:
  Listbox(std::string name, int *var) : name(std::move(name)), var(var) {}
  void layout() override;
  void add_item(int id, const char *text) { items.emplace_back(id, text); }
  void set_int_val(int v) { *var = v; }

private:
  std::string name;
  int *var;
  std::vector<std::pair<int, std::string>> items;
};

class Button : public Control {
public:
  Button(std::string name, int id, Callback cb)
      : name(std::move(name)), id(id), cb(std::move(cb)) {}
  void layout() override;

private:
  std::string name;
  int id;
  Callback cb;
};

class StaticText : public Control {
public:
  explicit StaticText(std::string text) : text(std::move(text)) {}
  void layout() override;

private:
  std::string text;
};

class Separator : public Control {
public:
  void layout() override;
};

// Starts a new column of the subwindow; the bar is a drawn vertical line.
class Column : public Control {
public:
  explicit Column(int bar) : bar(bar) {}
  void layout() override {}
  int bar;
};

// ======== Subwindows ==========================================================
class Subwindow : public Panel {
public:
  explicit Subwindow(int position) : Panel(""), position(position) {}
  void layout() override;

  Panel *add_panel(const char *name, int type = PANEL_EMBOSSED);
  Rollout *add_rollout(const char *name, int open, int type = PANEL_EMBOSSED);
  RadioGroup *add_radiogroup_to_panel(Panel *p, int *var, int id = -1,
                                      const Callback &cb = nullptr);
  void add_radiobutton_to_group(RadioGroup *g, const char *name);
  void add_statictext(const char *text);
  void add_statictext_to_panel(Panel *p, const char *text);
  void add_separator();
  void add_separator_to_panel(Panel *p);
  void add_column(int bar);
  Checkbox *add_checkbox(const char *name, int *var, int id = -1, const Callback &cb = nullptr);
  Button *add_button(const char *name, int id, Callback cb);
  Spinner *add_spinner_to_panel(Panel *p, const char *name, int type, float *var, int id = -1,
                                const Callback &cb = nullptr);
  Listbox *add_listbox(const char *name, int *var, int id = -1, const Callback &cb = nullptr);

  const int position;
  int width = 0, height = 0;       // pixels, as last laid out
  std::vector<float> columnWidths; // each column's contents, as last laid out
};

// ======== Text over the scene ===================================================
// A box of lines over the scene, which takes no input. In a table, each
// line's text before a tab is its first column.
struct TextBox {
  enum Place { TOP_LEFT, CENTRE, BOTTOM_LEFT } place;
  std::vector<std::string> lines;
  bool table = false;
};

// ======== The layer ===========================================================
class Master {
public:
  using Handler2 = std::function<void(int, int)>;
  using Handler4 = std::function<void(int, int, int, int)>;
  using KeyHandler = std::function<void(unsigned char, int, int)>;

  Subwindow *create_subwindow(int window, int position);
  // The part of the main window the panels leave uncovered, GL coordinates.
  void get_viewport_area(int *x, int *y, int *w, int *h) const;

  // The scene's handlers; the layer's own are what GLUT calls.
  void set_glutReshapeFunc(Handler2 f) { reshape = std::move(f); }
  void set_glutMouseFunc(Handler4 f) { mouse = std::move(f); }
  void set_glutMotionFunc(Handler2 f) { motion = std::move(f); }
  void set_glutPassiveMotionFunc(Handler2 f) { passive = std::move(f); }
  void set_glutKeyboardFunc(KeyHandler f) { keyboard = std::move(f); }
  void set_glutKeyboardUpFunc(KeyHandler f) { keyboardUp = std::move(f); }
  void set_glutSpecialFunc(Handler2 f) { special = std::move(f); } // key, and 0

  // Creates the ImGui context and style; at a scale other than 1 the text
  // is drawn with the TrueType font file (if it opens) and every size scaled.
  void init(float scale = 1, const char *fontFile = nullptr);
  void beginFrame(); // lays out both panels; a size change re-runs reshape
  // Lays out the boxes over the scene, then draws them and the panels.
  void renderFrame(const std::vector<TextBox> &boxes = {});

  // Window events, from the GLUT callbacks (or a test).
  void reshapeEvent(int w, int h);
  void mouseEvent(int b, int s, int px, int py, int mods);
  void motionEvent(int x, int y);
  void passiveEvent(int x, int y);
  void keyEvent(unsigned char c, int px, int py, int mods);
  void keyUpEvent(unsigned char c, int px, int py, int mods);
  void specialEvent(int key, bool down, int mods);

  bool overPanel(int x, int y) const;
  // Hands ImGui the queued input, at most one change of each button and
  // key a frame; right before ImGui starts a frame.
  void trickleInput();
  // A button, key or character is queued, was handed to ImGui at this
  // frame's start, or waits in the window system (windowInputHook).
  bool inputWaiting() const;
  bool buttonHeld() const { return owner[0] != NONE || owner[1] != NONE || owner[2] != NONE; }

  Handler2 reshape, motion, passive, special;
  Handler4 mouse;
  KeyHandler keyboard, keyboardUp;

  // Backend hooks: start an ImGui frame, draw its lists. Left empty, the
  // layer starts frames itself and draws nothing (the tests run so).
  void (*newFrameHook)() = nullptr;
  void (*renderHook)() = nullptr;
  bool (*windowInputHook)() = nullptr;
  // Told the boxes' text, a line each, whenever it changes (the window
  // publishes it for tools that read the screen).
  void (*textHook)(const std::string &text) = nullptr;
  float scale = 1; // of the panels' text and sizes

  Subwindow *right = nullptr, *bottom = nullptr;
  int winW = 0, winH = 0; // main window, pixels

private:
  enum Owner { NONE, SCENE, PANEL };
  // ImGui 1.86 reads buttons and keys once a frame, so a press and its
  // release between two frames would cancel out: input waits in a queue.
  struct Input {
    enum Kind { MOVE, BUTTON, KEY, CHAR, MODIFIERS } kind;
    int index; // button, key (specials offset by 256) or character
    bool down;
    float x, y;    // pointer, for MOVE and BUTTON
    int modifiers; // Shift 1, Ctrl 2, Alt 4, for BUTTON, KEY and MODIFIERS
  };
  void queue(const Input &e);
  bool panelsCare() const;       // a scene press may matter to ImGui
  bool panelInputQueued() const; // a button, key or character waits in the queue
  std::vector<Input> pending;
  Owner owner[3] = {NONE, NONE, NONE};
  bool toldImGui[3] = {}; // ImGui has this button's press
  int lastRightW = -1, lastBottomH = -1;
  int modifiers = 0;      // as the special keys left them
  bool frameOpen = false; // an ImGui frame was begun and not yet rendered
  std::string shownText;  // the boxes' text, as last told
  // This frame or the one before handed ImGui a button, key or character:
  // a widget shows what it took a frame later (a list chosen from closes,
  // a list's label changes), and a frame cut short shows it at once.
  bool tookInput = false;
  bool tookInputBefore = false;
};

extern Master master;

} // namespace ui
