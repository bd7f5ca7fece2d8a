// Mouse and keyboard of the scene: rotate, pan, zoom, step the parameters,
// re-seed. Handlers change state only; the next frame shows the change.
#include "ui/input.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>

#include "interact/actions.h"
#include "ui/layer.h"

void installInput(Settings &set, Picture &pic, Input &in) {
  Settings *s = &set;
  Picture *p = &pic;
  Input *i = &in;
  ui::master.set_glutMouseFunc(
      [s, i](int b, int st, int x, int y) { MouseDown(*s, *i, b, st, x, y); });
  ui::master.set_glutMotionFunc(nullptr);
  ui::master.set_glutKeyboardFunc(
      [s, p, i](unsigned char key, int, int) { myKeyboardFunc(*s, *p, *i, key); });
  ui::master.set_glutKeyboardUpFunc([i](unsigned char key, int, int) { keyboardUp(*i, key); });
  ui::master.set_glutSpecialFunc([i](int key, int) { specialKey(*i, key); });
}

const std::vector<std::string> &helpLines() {
  static const std::vector<std::string> lines = {
      "Left drag\tturn the scene",
      "Right drag\tmove the scene",
      "z + mouse up, down\tzoom in, out",
      "Mouse wheel\tzoom in, out (over a panel: scroll it)",
      "Space\tadd the increments (dX) to the parameters",
      "s\twith the twin on: both curves start again from the head, 1e-9 apart",
      "Ctrl+S\tsave the scene as PNG, with its settings, in your pictures folder",
      "p\tprint the settings on standard output",
      "i\tshow or hide the numbers (time, state, frame, twin's ln d)",
      "h or F1\tshow or hide this help",
      "Panels\ttype a number and press Enter; Esc abandons it or closes a list",
      "Arrows of a number\tclick: one step; drag up or down: change it smoothly",
  };
  return lines;
}

// ======== Buttons ================================================================
// A press chooses what a drag does until the other button is pressed. A
// notch of the wheel (buttons 3 up, 4 down) zooms by 0.1, what 25 pixels
// of the z gesture do.
void MouseDown(Settings &set, Input &in, int button, int state, int x, int y) {
  in.xmouseold = x;
  in.ymouseold = y;
  if (state == GLUT_DOWN && (button == 3 || button == 4)) wheelZoom(set, button == 3 ? 1 : -1);
  Settings *s = &set;
  Input *i = &in;
  if (state == GLUT_DOWN && button == GLUT_LEFT_BUTTON) {
    glutSetCursor(GLUT_CURSOR_INFO);
    ui::master.set_glutMotionFunc([s, i](int mx, int my) { mouseMotion(*s, *i, mx, my); });
  } else if (state == GLUT_DOWN && button == GLUT_RIGHT_BUTTON) {
    glutSetCursor(GLUT_CURSOR_CROSSHAIR);
    ui::master.set_glutMotionFunc([s, i](int mx, int my) { mouseTranslation(*s, *i, mx, my); });
  }
  if (state == GLUT_UP) glutSetCursor(GLUT_CURSOR_LEFT_ARROW);
}

// ======== Rotate and pan ===========================================================
void mouseMotion(Settings &set, Input &in, int x, int y) {
  rotateBy(set, x - in.xmouseold, y - in.ymouseold);
  in.xmouseold = x;
  in.ymouseold = y;
}

void mouseTranslation(Settings &set, Input &in, int x, int y) {
  panBy(set, x - in.xmouseold, y - in.ymouseold);
  in.xmouseold = x;
  in.ymouseold = y;
}

// ======== Zoom: z held, 100 pixels up add 0.4 ========================================
// The handler hears every pointer move for the rest of the run: without z
// held the zoom, within its limits already, is left alone.
void mouseZoom(Settings &set, Input &in, int, int y) {
  if (in.KeyDown[122]) zoomBy(set, (-Z_ZOOM_PER_PX) * (y - in.ymouseold));
  in.ymouseold = y;
}

// Once installed, the passive handler stays for the rest of the run.
void zoomKeyStep(Settings &set, Input &in) {
  Settings *s = &set;
  Input *i = &in;
  if (in.KeyDown[122]) {
    glutSetCursor(GLUT_CURSOR_UP_DOWN);
    ui::master.set_glutPassiveMotionFunc([s, i](int x, int y) { mouseZoom(*s, *i, x, y); });
    in.zkeydown = 1;
  } else if (in.zkeydown == 1) {
    in.zkeydown = 0;
    glutSetCursor(GLUT_CURSOR_LEFT_ARROW);
  }
}

// ======== Keys ========================================================================
namespace {

void stepParametersKey(Settings &set) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  stepParameters(set);
  glutPostRedisplay();
}

void reseedKey(Settings &set, Picture &pic) {
  if (set.second == 1) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  reseed(set, pic);
  glutPostRedisplay();
}

// What p prints: the view as a settings file the batch program reads.
void printSettings(const Settings &set, const Picture &pic) {
  std::fputs(settingsText(viewedSettings(set, pic)).c_str(), stdout);
  std::fflush(stdout);
}

} // namespace

// p prints the settings as a file the batch program reads, so that a view
// found by hand can be rendered or exported there; Ctrl+S (character 19)
// keeps the picture with them.
void myKeyboardFunc(Settings &set, Picture &pic, Input &in, unsigned char key) {
  in.KeyDown[key] = 1;
  if (key == ' ') stepParametersKey(set);
  if (key == 's') reseedKey(set, pic);
  if (key == 'p') printSettings(set, pic);
  if (key == 'h') in.help = !in.help;
  if (key == 'i') in.readout = !in.readout;
  if (key == 19) in.keepAsked = true;
}

void specialKey(Input &in, int key) {
  if (key == GLUT_KEY_F1) in.help = !in.help;
}

void keyboardUp(Input &in, unsigned char key) {
  in.KeyDown[key] = 0;
}
