// One picture of the scene, from the clear to the flush: what the viewer's
// frame draws under its panels and what the batch program renders.
#include "render/picture.h"

#include <GL/gl.h>

#include "render/overlays.h"
#include "render/reference.h"
#include "render/scene.h"
#include "render/strokes.h"
#include "render/widths.h"
#include "sim/replay.h"
#include "state/state.h"

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

// ======== The scene ===================================================================
// The pan stays in the modelview matrix between pictures; the camera, the
// rotation and the curve are pushed over it.
void drawScene(bool (*cut)()) {
  reanchorPan();
  clearScene();
  forgetWidths();
  glPushMatrix();
  glTranslatef(0, 0, -10);
  loadStartStates();
  rotateView();
  drawReference(); // at the scale the previous picture's last step left
  replay(drawStep, cut);
  glPopMatrix();
  glFlush();
}
