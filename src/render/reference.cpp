// The reference figures: the x-y grid, the box and the axes, drawn before
// the replay, so at the scale the previous frame's last step left.
#include "render/reference.h"

#include <GL/gl.h>

#include "render/scene.h"

namespace {

// ======== x-y grid: lines every unit over a 100 x 100 square at z = 0 ========
void drawGrid(const SceneScale &k, Widths &w) {
  lineWidth(w, 1.0f);
  glBegin(GL_LINES);
  glColor3f(0.5f, 0.5f, 0.5f);
  for (int i = -50; i <= 50; i++) {
    sceneVertex(k, -50, i, 0);
    sceneVertex(k, 50, i, 0);
    sceneVertex(k, i, -50, 0);
    sceneVertex(k, i, 50, 0);
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

void drawBox(const SceneScale &k, Widths &w, int bg) {
  lineWidth(w, 2.0f);
  glBegin(GL_LINES);
  float f = 1 - bg;
  glColor3f(f, f, f);
  for (const auto &e : boxEdges) {
    sceneVertex(k, e[0], e[1], e[2]);
    sceneVertex(k, e[3], e[4], e[5]);
  }
  glEnd();
}

// ======== Axes: x to 30, z to 60, y to 30 =======================================
void drawAxes(const SceneScale &k, Widths &w, int bg) {
  lineWidth(w, 3.0f);
  glBegin(GL_LINES);
  float f = 1 - bg;
  glColor3f(f, f, f);
  sceneVertex(k, 0, 0, 0);
  sceneVertex(k, 30, 0, 0);
  sceneVertex(k, 0, 0, 0);
  sceneVertex(k, 0, 0, 60);
  sceneVertex(k, 0, 0, 0);
  sceneVertex(k, 0, 30, 0);
  glEnd();
}

} // namespace

void drawReference(const Settings &set, const SceneScale &k, Widths &w) {
  if (set.xygrid == 1 && set.map == 0) drawGrid(k, w);
  if (set.box == 1 && set.map == 0) drawBox(k, w, set.bg);
  if (set.axes == 1 && set.map == 0) drawAxes(k, w, set.bg);
}
