// The trajectory strokes: width, twin colour and scheme colour of one drawn
// step. Colours are computed in double and narrowed for glColor3f; channels
// outside 0..1 are passed on for the pipeline to clamp.
#include "render/strokes.h"

#include <GL/gl.h>

#include <cmath>

#include "sim/colourings.h"

namespace {

// The ghost schemes' width replaces the thickness, except where GL refuses
// it (0 in single precision, far from the head).
void strokeWidth(const Colouring *scheme, int thickness, double t, float tmax, Widths &w) {
  bool ghost = scheme && scheme->ghost;
  if (w.literalCalls) {
    glLineWidth((float)thickness);
    if (ghost) glLineWidth((float)ghostWidth(t, tmax));
    return;
  }
  float g = ghost ? (float)ghostWidth(t, tmax) : 0;
  lineWidth(w, g > 0 ? g : (float)thickness);
}

// The main segment's colour under the scheme; false where it sets none.
bool schemeColour(const Colouring *scheme, const Settings &set, const Picture &pic, double c[3]) {
  const Trajectory &r = pic.run;
  const Vec3 &k1 = r.k.k1;
  ColourInputs in{r.t, pic.tmax, r.x, {k1.x, k1.y, k1.z}, set.bg, drawnModel(set.attype)};
  return scheme && scheme->colour(in, c);
}

} // namespace

// ======== One drawn step ======================================================
// The marker points held back go first if these segments may cover one.
void drawStrokes(const Settings &set, Picture &pic) {
  const Trajectory &r = pic.run;
  const SceneScale k{r.stretcher, set.zoom};
  const int second = set.second;
  float v[4][3];
  scenePoint(k, r.xold, r.yold, r.zold, v[0]);
  scenePoint(k, r.x, r.y, r.z, v[1]);
  if (second == 1)
    scenePoint(k, r.x2old, r.y2old, r.z2old, v[2]), scenePoint(k, r.x2, r.y2, r.z2, v[3]);
  beforeStroke(pic.held, pic.widths, set.bg, v, second == 1 ? 4 : 2);

  const Colouring *scheme = colouringFor(set.coloring);
  strokeWidth(scheme, set.thickness, r.t, pic.tmax, pic.widths);
  glBegin(GL_LINES);
  if (second == 1) {
    double p = std::pow(10, pic.tmax - r.t);
    glColor3f(0, (float)(1 - p / 20), (float)(p / 20));
    glVertex3f(v[2][0], v[2][1], v[2][2]);
    glVertex3f(v[3][0], v[3][1], v[3][2]);
  }
  double c[3];
  if (schemeColour(scheme, set, pic, c)) glColor3f((float)c[0], (float)c[1], (float)c[2]);
  glVertex3f(v[0][0], v[0][1], v[0][2]);
  glVertex3f(v[1][0], v[1][1], v[1][2]);
  glEnd();
}
