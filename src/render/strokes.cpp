// The trajectory strokes: width, twin colour and scheme colour of one drawn
// step. Colours are computed in double and narrowed for glColor3f; channels
// outside 0..1 are passed on for the pipeline to clamp.
#include "render/strokes.h"

#include <GL/gl.h>

#include <cmath>

#include "render/colourings.h"
#include "render/heldpoints.h"
#include "render/scene.h"
#include "render/widths.h"
#include "sim/models.h"
#include "state/state.h"

namespace {

// The ghost schemes' width replaces the thickness, except where GL refuses
// it (0 in single precision, far from the head).
void strokeWidth(const Colouring *scheme) {
  bool ghost = scheme && scheme->ghost;
  if (literalCalls) {
    glLineWidth((float)thickness);
    if (ghost) glLineWidth((float)ghostWidth(t, tmax));
    return;
  }
  float g = ghost ? (float)ghostWidth(t, tmax) : 0;
  lineWidth(g > 0 ? g : (float)thickness);
}

// The main segment's colour under the scheme; false where it sets none.
bool schemeColour(const Colouring *scheme, double c[3]) {
  ColourInputs in{t, tmax, x, {k1x, k1y, k1z}, bg, drawnModel(attype)};
  return scheme && scheme->colour(in, c);
}

} // namespace

// ======== One drawn step ======================================================
// The marker points held back go first if these segments may cover one.
void drawStrokes() {
  float v[4][3];
  scenePoint(xold, yold, zold, v[0]);
  scenePoint(x, y, z, v[1]);
  if (second == 1) scenePoint(x2old, y2old, z2old, v[2]), scenePoint(x2, y2, z2, v[3]);
  beforeStroke(v, second == 1 ? 4 : 2);

  const Colouring *scheme = colouringFor(coloring);
  strokeWidth(scheme);
  glBegin(GL_LINES);
  if (second == 1) {
    double p = std::pow(10, tmax - t);
    glColor3f(0, (float)(1 - p / 20), (float)(p / 20));
    glVertex3f(v[2][0], v[2][1], v[2][2]);
    glVertex3f(v[3][0], v[3][1], v[3][2]);
  }
  double c[3];
  if (schemeColour(scheme, c)) glColor3f((float)c[0], (float)c[1], (float)c[2]);
  glVertex3f(v[0][0], v[0][1], v[0][2]);
  glVertex3f(v[1][0], v[1][1], v[1][2]);
  glEnd();
}
