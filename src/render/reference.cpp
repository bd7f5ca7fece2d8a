// The reference figures: the x-y grid, the box and the axes, drawn before
// the replay, so at the scale the previous frame's last step left.
#include "render/reference.h"

#include <GL/gl.h>

#include "render/scene.h"
#include "render/widths.h"
#include "state/state.h"

namespace {

// ======== x-y grid: lines every unit over a 100 x 100 square at z = 0 ========
void drawGrid() {
  lineWidth(1.0f);
  glBegin(GL_LINES);
  glColor3f(0.5f, 0.5f, 0.5f);
  for (i = -50; i <= 50; i++) {
    sceneVertex(-50, i, 0);
    sceneVertex(50, i, 0);
    sceneVertex(i, -50, 0);
    sceneVertex(i, 50, 0);
  }
  glEnd();
}

// ======== Box: -30..30 in x and y, 0..60 in z ==================================
// Twelve edges, three from each of four corners.
const double boxEdges[12][6] = {
    {-30, -30, 0, 30, -30, 0},   {-30, -30, 0, -30, 30, 0},   {-30, -30, 0, -30, -30, 60},
    {30, 30, 0, 30, -30, 0},     {30, 30, 0, -30, 30, 0},     {30, 30, 0, 30, 30, 60},
    {30, -30, 60, 30, 30, 60},   {30, -30, 60, -30, -30, 60}, {30, -30, 60, 30, -30, 0},
    {-30, 30, 60, -30, -30, 60}, {-30, 30, 60, 30, 30, 60},   {-30, 30, 60, -30, 30, 0},
};

void drawBox() {
  lineWidth(2.0f);
  glBegin(GL_LINES);
  float f = 1 - bg;
  glColor3f(f, f, f);
  for (const auto &e : boxEdges) {
    sceneVertex(e[0], e[1], e[2]);
    sceneVertex(e[3], e[4], e[5]);
  }
  glEnd();
}

// ======== Axes: x to 30, z to 60, y to 30 =======================================
void drawAxes() {
  lineWidth(3.0f);
  glBegin(GL_LINES);
  float f = 1 - bg;
  glColor3f(f, f, f);
  sceneVertex(0, 0, 0);
  sceneVertex(30, 0, 0);
  sceneVertex(0, 0, 0);
  sceneVertex(0, 0, 60);
  sceneVertex(0, 0, 0);
  sceneVertex(0, 30, 0);
  glEnd();
}

} // namespace

void drawReference() {
  if (xygrid == 1 && map == 0) drawGrid();
  if (box == 1 && map == 0) drawBox();
  if (axes == 1 && map == 0) drawAxes();
}
