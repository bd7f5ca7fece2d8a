// One frame of the display callback, step by step, and the drawing of one
// step of the replay. Nothing is cached between frames.
#include "app/frame.h"

#include <GL/freeglut.h>

#include "app/state.h"
#include "render/overlays.h"
#include "render/reference.h"
#include "render/scene.h"
#include "render/strokes.h"
#include "render/widths.h"
#include "sim/replay.h"
#include "ui/input.h"
#include "ui/layer.h"

// ======== One step inside the window ==============================================
// The maximum map replaces everything else; any other map value draws nothing.
void drawStep() {
  if (map == 1) {
    drawMaxMap();
  } else if (map == 0) {
    drawStrokes();
    if (second == 1) drawMarker();
    drawTracer();
    // Mesa keeps every primitive until a flush, so its memory would grow
    // with tmax/dt: hand it what it holds every 16384 steps.
    if ((n & 0x3fff) == 0 && !literalCalls) glFlush();
  }
}

// ======== The frame =================================================================
void draw() {
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
  replay(drawStep);
  zoomKeyStep();
  glPopMatrix();
  glFlush();
  ui::master.renderFrame(); // the panels, over the scene
  glutSwapBuffers();
}
