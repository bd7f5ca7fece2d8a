// The display callback, step by step (the panels' input, the scene, the
// panels over it), and the idle callback between frames.
#include "app/frame.h"

#include <GL/freeglut.h>

#include <chrono>

#include "render/picture.h"
#include "sim/replay.h"
#include "ui/input.h"
#include "ui/layer.h"

// ======== Input during a long frame ==================================================
// A frame at the panels' limits (1e8 steps) takes tens of seconds. Once it
// has run 0.1 s, waiting input ends it early, and so does input the panels
// took at its start, whose effect shows only when the frame ends.
namespace {
const double OVERDUE_S = 0.1; // no shorter frame is ever cut
std::chrono::steady_clock::time_point frameStart;
} // namespace

bool overdue() {
  std::chrono::duration<double> ran = std::chrono::steady_clock::now() - frameStart;
  return ran.count() > OVERDUE_S && ui::master.inputWaiting();
}

// ======== Between frames ===========================================================
void idle() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  advancePlayback();
  glutPostRedisplay();
}

// ======== The frame =================================================================
void draw() {
  frameStart = std::chrono::steady_clock::now();
  ui::master.beginFrame(); // the panels take their input before the scene reads it
  glutPostRedisplay();     // the next frame follows without any input
  drawScene(overdue);
  zoomKeyStep();
  ui::master.renderFrame(); // the panels, over the scene
  glutSwapBuffers();
}
