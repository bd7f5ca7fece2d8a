// One frame of the display callback, step by step, and the drawing of one
// step of the replay. Nothing is cached between frames.
#include "app/frame.h"

#include <GL/freeglut.h>

#include <chrono>

#include "render/overlays.h"
#include "render/reference.h"
#include "render/scene.h"
#include "render/strokes.h"
#include "render/widths.h"
#include "sim/replay.h"
#include "state/state.h"
#include "ui/input.h"
#include "ui/layer.h"

// ======== One step inside the window ==============================================
// The maximum map replaces everything else; any other map value draws nothing.
void drawStep(bool last) {
  if (map == 1) {
    drawMaxMap(last);
  } else if (map == 0) {
    drawStrokes();
    if (second == 1) drawMarker(last);
    drawTracer();
    // Mesa keeps every primitive until a flush, so its memory would grow
    // with tmax/dt: hand it what it holds every 16384 steps.
    if ((n & 0x3fff) == 0 && !literalCalls) glFlush();
  }
}

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

// ======== The frame =================================================================
void draw() {
  frameStart = std::chrono::steady_clock::now();
  ui::master.beginFrame(); // the panels take their input before the scene reads it
  reanchorPan();
  clearScene();
  forgetWidths();
  glPushMatrix();
  glutPostRedisplay(); // the next frame follows without any input
  glTranslatef(0, 0, -10);
  loadStartStates();
  rotateView();
  drawReference(); // at the scale the previous frame's last step left
  replay(drawStep, overdue);
  zoomKeyStep();
  glPopMatrix();
  glFlush();
  ui::master.renderFrame(); // the panels, over the scene
  glutSwapBuffers();
}
