// The per-step overlays: the maximum map, the twin divergence marker and the
// tracer. Each is one batch with its own size, colour 1 - bg, and no restore.
#include "render/overlays.h"

#include <GL/gl.h>

#include <cmath>

#include "render/heldpoints.h"
#include "render/scene.h"
#include "render/widths.h"
#include "sim/core.h"
#include "sim/models.h"
#include "state/state.h"

namespace {

void foreground() {
  float f = 1 - bg;
  glColor3f(f, f, f);
}

bool mapPointDrawn = false; // this frame has drawn a maximum-map point

void mapLines() {
  lineWidth(2);
  glBegin(GL_LINES);
  glVertex2f(-2, -2);
  glVertex2f(2, 2);
  glVertex2f(-2, -2);
  glVertex2f(2, -2);
  glEnd();
}

void markerLines() {
  lineWidth(1);
  glBegin(GL_LINES);
  sceneVertex(28, -40, 0);
  sceneVertex(28, 40, 0);
  sceneVertex(25, 40, 0);
  sceneVertex(48, 40, 0);
  glEnd();
}

} // namespace

// ======== Maximum map ============================================================
// A strict local maximum of |x| at the step's start is plotted against the
// previous one; an attractor may keep only those followed by a positive x. Nothing
// else is drawn after a point in this view, so the lines of the frame's
// last point can wait for its last step.
void drawMaxMap(bool last) {
  const Model *model = drawnModel(attype);
  double top, shown;
  if (!model || !mapMaximum(*model, run, dt, top, shown)) {
    if (last && mapPointDrawn && !literalCalls) mapLines();
    if (last) mapPointDrawn = false;
    return;
  }

  double zm = zoom, div = model->mapDivisor;
  double h = zm * xmaxold / div - 2;
  double v = zm * shown / div - 2;
  pointSize(2);
  glBegin(GL_POINTS);
  foreground();
  glVertex2f((float)h, (float)v);
  glEnd();
  mapPointDrawn = !last;
  if (last || literalCalls) mapLines();
  xmaxold = top;
}

// ======== Twin divergence marker =================================================
// Model x is 28 - ln d (28 is distance 1), model y runs down from 40 with t.
// A distance of 0 or a non-finite logarithm gives no point; the lines stay.
void drawMarker(bool last) {
  double dx = x - x2, dy = y - y2, dz = z - z2;
  double d = std::sqrt(dx * dx + dy * dy + dz * dz);
  double l = std::log(d);
  const Model *model = drawnModel(attype);
  bool point = std::isfinite(l) && model;
  double rate = model ? model->markerRate : 0;
  if (literalCalls) {
    pointSize(1);
    foreground();
    glBegin(GL_POINTS);
    if (point) sceneVertex(28 - l, 40 - rate * t, 0);
    glEnd();
    markerLines();
    return;
  }
  if (point) {
    float v[3];
    scenePoint(28 - l, 40 - rate * t, 0, v);
    holdPoint(v[0], v[1], v[2]);
  }
  if (!last) return;
  releasePoints();
  markerLines();
}

// ======== Tracer ===================================================================
// Drawn on the frame's last step (and the one before it when tmax/dt has a
// fraction below one half), in Dynamic and Segment playback only.
void drawTracer() {
  float q = tmax / dt;
  if (!(std::fabs(n - (double)q) < 1.5)) return;
  if (!(dynamic == 1 || dynamic == 2)) return;
  if (tracer != 1) return;
  glPushMatrix();
  pointSize(10);
  foreground();
  glBegin(GL_POINTS);
  sceneVertex(x, y, z);
  if (second == 1) sceneVertex(x2, y2, z2);
  glEnd();
  glPopMatrix();
}
