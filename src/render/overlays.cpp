// The per-step overlays: the maximum map, the twin divergence marker and the
// tracer. Each is one batch with its own size, colour 1 - bg, and no restore.
#include "render/overlays.h"

#include <GL/gl.h>

#include <cmath>

namespace {

void foreground(int bg) {
  float f = 1 - bg;
  glColor3f(f, f, f);
}

void mapLines(Widths &w) {
  lineWidth(w, 2);
  glBegin(GL_LINES);
  glVertex2f(-2, -2);
  glVertex2f(2, 2);
  glVertex2f(-2, -2);
  glVertex2f(2, -2);
  glEnd();
}

void markerLines(const SceneScale &k, Widths &w) {
  lineWidth(w, 1);
  glBegin(GL_LINES);
  sceneVertex(k, 28, -40, 0);
  sceneVertex(k, 28, 40, 0);
  sceneVertex(k, 25, 40, 0);
  sceneVertex(k, 48, 40, 0);
  glEnd();
}

} // namespace

// ======== Maximum map ============================================================
// A strict local maximum of |x| at the step's start is plotted against the
// previous one; an attractor may keep only those followed by a positive x. Nothing
// else is drawn after a point in this view, so the lines of the frame's
// last point can wait for its last step.
void drawMaxMap(const Settings &set, Picture &pic, bool last) {
  const Model *model = drawnModel(set.attype);
  Widths &w = pic.widths;
  double top, shown;
  if (!model || !mapMaximum(*model, pic.run, set.dt, top, shown)) {
    if (last && pic.mapPointDrawn && !w.literalCalls) mapLines(w);
    if (last) pic.mapPointDrawn = false;
    return;
  }

  double zm = set.zoom, div = model->mapDivisor;
  double h = zm * pic.xmaxold / div - 2;
  double v = zm * shown / div - 2;
  pointSize(w, 2);
  glBegin(GL_POINTS);
  foreground(set.bg);
  glVertex2f((float)h, (float)v);
  glEnd();
  pic.mapPointDrawn = !last;
  if (last || w.literalCalls) mapLines(w);
  pic.xmaxold = top;
}

// ======== Twin divergence marker =================================================
// Model x is 28 - ln d (28 is distance 1), model y runs down from 40 with t;
// ln d is the step's, as drawStep noted it. A distance of 0 or a non-finite logarithm gives no
// point; the lines stay.
void drawMarker(const Settings &set, Picture &pic, bool last) {
  const Trajectory &r = pic.run;
  const SceneScale k{r.stretcher, set.zoom};
  Widths &w = pic.widths;
  double l = pic.numbers.lnd;
  const Model *model = drawnModel(set.attype);
  bool point = std::isfinite(l) && model;
  double rate = model ? model->markerRate : 0;
  if (w.literalCalls) {
    pointSize(w, 1);
    foreground(set.bg);
    glBegin(GL_POINTS);
    if (point) sceneVertex(k, 28 - l, 40 - rate * r.t, 0);
    glEnd();
    markerLines(k, w);
    return;
  }
  if (point) {
    float v[3];
    scenePoint(k, 28 - l, 40 - rate * r.t, 0, v);
    holdPoint(pic.held, w, set.bg, v[0], v[1], v[2]);
  }
  if (!last) return;
  releasePoints(pic.held, w, set.bg);
  markerLines(k, w);
}

// ======== Tracer ===================================================================
// Drawn on the frame's last step (and the one before it when tmax/dt has a
// fraction below one half), in Dynamic and Segment playback only.
void drawTracer(const Settings &set, Picture &pic) {
  const Trajectory &r = pic.run;
  const SceneScale k{r.stretcher, set.zoom};
  float q = pic.tmax / set.dt;
  if (!(std::fabs(r.n - (double)q) < 1.5)) return;
  if (!(set.dynamic == 1 || set.dynamic == 2)) return;
  if (set.tracer != 1) return;
  glPushMatrix();
  pointSize(pic.widths, 10);
  foreground(set.bg);
  glBegin(GL_POINTS);
  sceneVertex(k, r.x, r.y, r.z);
  if (set.second == 1) sceneVertex(k, r.x2, r.y2, r.z2);
  glEnd();
  glPopMatrix();
}
