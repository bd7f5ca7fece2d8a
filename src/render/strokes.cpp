// The trajectory strokes: width, twin colour and scheme colour of one drawn
// step. Colours are computed in double and narrowed for glColor3f; channels
// outside 0..1 are passed on for the pipeline to clamp.
#include "render/strokes.h"

#include <GL/gl.h>

#include <cmath>

#include "app/state.h"
#include "render/heldpoints.h"
#include "render/scene.h"
#include "render/widths.h"

namespace {

// ---- The seven schemes, by panel number ----------------------------------
void quasiperiodic(double c[3]) {
  c[0] = 0.95 * (0.5 + 0.5 * std::sin(t / 10));
  c[1] = 0.95 * (0.5 + 0.5 * std::cos(t / 3.13));
  c[2] = 0.95 * (0.5 + 0.5 * std::sin(t / 5));
}

void speed(double c[3], double gain) {
  double k = std::sqrt(k1x * k1x + k1y * k1y + k1z * k1z);
  c[0] = 1, c[1] = gain * k, c[2] = 0;
}

// Three bells along x with base 2.7; the red one is the widest.
void redGreenBlue(double c[3]) {
  c[0] = std::pow(2.7, -((x + 20) * (x + 20)) / 625);
  c[1] = std::pow(2.7, -(x * x) / 100);
  c[2] = std::pow(2.7, -((x - 20) * (x - 20)) / 100);
}

void blackWhite(double c[3]) {
  c[0] = c[1] = c[2] = 1 - bg;
}

void greyGhost(double c[3]) {
  c[0] = c[1] = c[2] = std::pow(10, (t - tmax) * 0.5) + 0.2;
}

void greenBlue(double c[3]) {
  c[0] = 0;
  c[1] = 0.95 * (0.5 + 0.5 * std::cos(t / 3.13));
  c[2] = 0.95 * (0.5 + 0.5 * std::sin(t));
}

void redGhost(double c[3]) {
  double p = std::pow(10, tmax - t);
  c[0] = 1, c[1] = 1 - p / 20, c[2] = 0;
}

} // namespace

// ======== Width of the ghost schemes ==========================================
// About 5.714 px at the head, tapering with age; 0 in single precision past
// an age of about 46, which GL refuses, keeping the thickness width.
double ghostWidth() {
  return 4 * std::pow(10, t - tmax) / 0.7;
}

// ======== Colour of the main segment ==========================================
// The schemes are tested in the order 1, 2, 4, 5, 6, 7, 3; at most one matches.
bool schemeColour(double c[3]) {
  bool set = true;
  if (coloring == 1) quasiperiodic(c);
  else if (coloring == 2 && attype == 0) speed(c, 0.005);
  else if (coloring == 2 && attype == 1) speed(c, 0.02);
  else if (coloring == 4) redGreenBlue(c);
  else if (coloring == 5) blackWhite(c);
  else if (coloring == 6) greyGhost(c);
  else if (coloring == 7) greenBlue(c);
  else if (coloring == 3) redGhost(c);
  else set = false;
  return set;
}

// ======== One drawn step ======================================================
namespace {

// The ghost schemes' width replaces the thickness, except where GL refuses
// it (0 in single precision, far from the head).
void strokeWidth() {
  bool ghost = coloring == 3 || coloring == 6;
  if (literalCalls) {
    glLineWidth((float)thickness);
    if (ghost) glLineWidth((float)ghostWidth());
    return;
  }
  float g = ghost ? (float)ghostWidth() : 0;
  lineWidth(g > 0 ? g : (float)thickness);
}

} // namespace

// The marker points held back go first if these segments may cover one.
void drawStrokes() {
  float v[4][3];
  scenePoint(xold, yold, zold, v[0]);
  scenePoint(x, y, z, v[1]);
  if (second == 1) scenePoint(x2old, y2old, z2old, v[2]), scenePoint(x2, y2, z2, v[3]);
  beforeStroke(v, second == 1 ? 4 : 2);

  strokeWidth();
  glBegin(GL_LINES);
  if (second == 1) {
    double p = std::pow(10, tmax - t);
    glColor3f(0, (float)(1 - p / 20), (float)(p / 20));
    glVertex3f(v[2][0], v[2][1], v[2][2]);
    glVertex3f(v[3][0], v[3][1], v[3][2]);
  }
  double c[3];
  if (schemeColour(c)) glColor3f((float)c[0], (float)c[1], (float)c[2]);
  glVertex3f(v[0][0], v[0][1], v[0][2]);
  glVertex3f(v[1][0], v[1][1], v[1][2]);
  glEnd();
}
