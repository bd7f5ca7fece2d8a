// The panel layer: two panels docked right and bottom, laid out with Dear
// ImGui every frame by whoever fills them, and the routing of window
// events between the panels and the scene.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ui {

// A panel docked to the window's right or bottom edge: what it lays out
// each frame, and its size as last laid out.
struct Dock {
  std::function<void()> contents; // this frame's widgets; none: no panel
  int width = 0, height = 0;      // pixels
};

// Columns side by side, each as wide as its contents ask and a bar drawn
// between; a column that would reach past the right edge starts a new row.
// widths holds each column's width as last laid out.
void layoutColumns(std::vector<float> &widths, int count, const std::function<void(int)> &column);

// Pixels at the panels' scale.
float px(float v);

// ======== The layer ===========================================================
class Master {
public:
  using Handler2 = std::function<void(int, int)>;
  using Handler4 = std::function<void(int, int, int, int)>;
  using KeyHandler = std::function<void(unsigned char, int, int)>;

  // The part of the main window the panels leave uncovered, GL coordinates.
  void get_viewport_area(int *x, int *y, int *w, int *h) const;

  // Creates the ImGui context and style; at a scale other than 1 the text
  // is drawn with the TrueType font file (if it opens) and every size scaled.
  void init(float scale = 1, const char *fontFile = nullptr);
  void beginFrame(); // lays out both panels; a size change re-runs reshape
  // Draws the panels and what was laid out over the scene; text is what
  // that says, a line each (told to textHook when it changes).
  void renderFrame(const std::string &text = "");

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

  // The scene's handlers, installed and replaced as GLUT's would be; the
  // layer's own are what GLUT calls. special: a function key, and 0.
  Handler2 reshape, motion, passive, special;
  Handler4 mouse;
  KeyHandler keyboard, keyboardUp;

  // Backend hooks: start an ImGui frame, draw its lists. Left empty, the
  // layer starts frames itself and draws nothing (the tests run so).
  void (*newFrameHook)() = nullptr;
  void (*renderHook)() = nullptr;
  bool (*windowInputHook)() = nullptr;
  // Told the text over the scene whenever it changes (the window publishes
  // it for tools that read the screen).
  void (*textHook)(const std::string &text) = nullptr;
  float scale = 1; // of the panels' text and sizes

  Dock right, bottom;
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
