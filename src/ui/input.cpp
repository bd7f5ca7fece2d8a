// Mouse and keyboard of the scene: rotate, pan, zoom, and the keys of the
// key table. Handlers change state and leave the drawing to the next frame;
// the space bar and s clear the window first, as every change from outside
// the frame does (the frame cycle clears it too).
#include "ui/input.h"
#include "state/settings_file.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>

#include "interact/actions.h"
#include "interact/controls.h"
#include "ui/layer.h"

void installInput(Settings &set, Picture &pic, Input &in) {
  ui::Master &m = ui::master;
  m.mouse = [&set, &in](int b, int st, int x, int y) { MouseDown(set, in, b, st, x, y); };
  m.motion = nullptr;
  m.keyboard = [&set, &pic, &in](unsigned char k, int, int) { myKeyboardFunc(set, pic, in, k); };
  m.keyboardUp = [&in](unsigned char key, int, int) { keyboardUp(in, key); };
  m.special = [&in](int key, int) { specialKey(in, key); };
}

// ======== Buttons ================================================================
// A press chooses what a drag does until the other button is pressed. A
// notch of the wheel (buttons 3 up, 4 down) zooms by 0.1, what 25 pixels
// of the z gesture do.
void MouseDown(Settings &set, Input &in, int button, int state, int x, int y) {
  in.xmouseold = x;
  in.ymouseold = y;
  if (state == GLUT_DOWN && (button == 3 || button == 4)) wheelZoom(set, button == 3 ? 1 : -1);
  if (state == GLUT_DOWN && button == GLUT_LEFT_BUTTON) {
    glutSetCursor(GLUT_CURSOR_INFO);
    ui::master.motion = [&set, &in](int mx, int my) { mouseMotion(set, in, mx, my); };
  } else if (state == GLUT_DOWN && button == GLUT_RIGHT_BUTTON) {
    glutSetCursor(GLUT_CURSOR_CROSSHAIR);
    ui::master.motion = [&set, &in](int mx, int my) { mouseTranslation(set, in, mx, my); };
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
  if (in.KeyDown[122]) {
    glutSetCursor(GLUT_CURSOR_UP_DOWN);
    ui::master.passive = [&set, &in](int x, int y) { mouseZoom(set, in, x, y); };
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

// What a key of the key table does on the desktop: p prints the settings as
// a file the batch program reads, so that a view found by hand can be
// rendered or exported there; Ctrl+S keeps the next frame's picture.
void keyAct(Settings &set, Picture &pic, Input &in, KeyAct act) {
  if (act == KeyAct::STEP) stepParametersKey(set);
  if (act == KeyAct::RESEED) reseedKey(set, pic);
  if (act == KeyAct::PRINT) printSettings(set, pic);
  if (act == KeyAct::NUMBERS) in.readout = !in.readout;
  if (act == KeyAct::HELP) in.help = !in.help;
  if (act == KeyAct::KEEP) in.keepAsked = true;
}

} // namespace

void myKeyboardFunc(Settings &set, Picture &pic, Input &in, unsigned char key) {
  in.KeyDown[key] = 1;
  if (const KeyRow *k = keyRow(key, 0, Shown::DESKTOP)) keyAct(set, pic, in, k->act);
}

// Only the key table's function keys that act on this record alone (F1).
void specialKey(Input &in, int key) {
  const KeyRow *k = keyRow(0, key, Shown::DESKTOP);
  if (k && k->act == KeyAct::HELP) in.help = !in.help;
}

void keyboardUp(Input &in, unsigned char key) {
  in.KeyDown[key] = 0;
}
