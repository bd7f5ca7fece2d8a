// Mouse and keyboard of the scene: rotate, pan, zoom, step the parameters,
// re-seed. Handlers change state only; the next frame shows the change.
#include "ui/input.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>

#include "sim/models.h"
#include "state/settings.h"
#include "state/state.h"
#include "ui/layer.h"

// ======== Buttons ================================================================
// A press chooses what a drag does until the other button is pressed.
void MouseDown(int button, int state, int x, int y) {
  xmouseold = x;
  ymouseold = y;
  if (state == GLUT_DOWN && button == GLUT_LEFT_BUTTON) {
    glutSetCursor(GLUT_CURSOR_INFO);
    ui::master.set_glutMotionFunc(mouseMotion);
  } else if (state == GLUT_DOWN && button == GLUT_RIGHT_BUTTON) {
    glutSetCursor(GLUT_CURSOR_CROSSHAIR);
    ui::master.set_glutMotionFunc(mouseTranslation);
  }
  if (state == GLUT_UP) glutSetCursor(GLUT_CURSOR_LEFT_ARROW);
}

// ======== Rotate: half a degree per pixel =========================================
// A jump of 200 pixels or more along one axis is dropped for that axis.
void mouseMotion(int x, int y) {
  double dx = x - xmouseold;
  if (std::fabs(dx) < 200) t2 = t2 + 0.5 * dx;
  double dy = y - ymouseold;
  if (std::fabs(dy) < 200) t1 = t1 + 0.5 * dy;
  xmouseold = x;
  ymouseold = y;
}

// ======== Pan: 0.01 scene units per pixel ===========================================
// Applied to the modelview matrix outside the frame's push and pop, so it
// stays there and acts in screen directions whatever the rotation.
void mouseTranslation(int x, int y) {
  double dy = y - ymouseold, dx = x - xmouseold;
  glTranslatef(0, (float)(-0.01 * dy), 0);
  glTranslatef((float)(0.01 * dx), 0, 0);
  ytranslate = ytranslate + (-0.01 * dy);
  xtranslate = xtranslate + 0.01 * dx;
  xmouseold = x;
  ymouseold = y;
}

// ======== Zoom: z held, 100 pixels up add 0.4 ========================================
// Always re-sent through the spinner, which clamps it.
void mouseZoom(int, int y) {
  if (KeyDown[122]) zoom = (float)(zoom + (-0.004) * (y - ymouseold));
  zoom_spinner->set_float_val(zoom);
  ymouseold = y;
}

// Once installed, the passive handler stays for the rest of the run.
void zoomKeyStep() {
  if (KeyDown[122]) {
    glutSetCursor(GLUT_CURSOR_UP_DOWN);
    ui::master.set_glutPassiveMotionFunc(mouseZoom);
    zkeydown = 1;
  } else if (zkeydown == 1) {
    zkeydown = 0;
    glutSetCursor(GLUT_CURSOR_LEFT_ARROW);
  }
}

// ======== Keys ========================================================================
namespace {

// The current attractor's parameters plus their increments, each through
// its spinner, so that no limit is passed.
void stepParameters() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (const Model *m = drawnModel(attype)) {
    for (const Parameter &q : m->params) *q.value = *q.value + *q.inc;
    for (const Parameter &q : m->params) (*q.spinner)->set_float_val(*q.value);
  }
  glutPostRedisplay();
}

// Both trajectories start again where the main curve ended, 1e-9 apart,
// with the window opening at time 0.
void reseed() {
  if (second == 1) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    tmin = 0;
    x2sec = x + 1e-9, y2sec = y + 1e-9, z2sec = z + 1e-9;
    xsec = x, ysec = y, zsec = z;
    if (dynamic != 2) tmax = 0;
    tmin_spinner->set_float_val(0);
  }
  glutPostRedisplay();
}

// The pan as the modelview matrix holds it, every drag added in single
// precision, so that a picture rendered from it is the very same; a Reset
// not yet drawn takes it out.
void printSettings() {
  Settings s = viewerSettings();
  float m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  if (reseta != 1) s.panX = m[12], s.panY = m[13];
  std::fputs(settingsText(s).c_str(), stdout);
  std::fflush(stdout);
}

} // namespace

// p prints the settings as a file the batch program reads, so that a view
// found by hand can be rendered or exported there.
void myKeyboardFunc(unsigned char key, int, int) {
  KeyDown[key] = 1;
  if (key == ' ') stepParameters();
  if (key == 's') reseed();
  if (key == 'p') printSettings();
}

void keyboardUp(unsigned char key, int, int) {
  KeyDown[key] = 0;
}
