// The divergence marker's points, held back and drawn as one batch while
// nothing drawn after them can reach their pixels. Every marker point has
// size 1 and the foreground colour, as have the marker's lines and the
// tracer, so their order among themselves never shows; only a stroke drawn
// over one would. Mesa joins consecutive batches of one kind into a single
// draw, so points and lines that alternate every step cost a draw each; a
// run of held points costs one. The screen test is conservative: a stroke
// whose padded bounding box touches the held points' box releases them.
#include "render/heldpoints.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

// Widest stroke: 6 px (ghost head 5.71, Thicker 5), half of it plus rounding
// of the rasteriser and of our own projection, with room to spare.
const double PAD_PX = 8;

void readTransform(double *clip, double *view) {
  double mv[16], pr[16];
  int vp[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, mv);
  glGetDoublev(GL_PROJECTION_MATRIX, pr);
  glGetIntegerv(GL_VIEWPORT, vp);
  for (int c = 0; c < 4; c++)
    for (int r = 0; r < 4; r++) {
      double s = 0;
      for (int k = 0; k < 4; k++) s += pr[k * 4 + r] * mv[c * 4 + k];
      clip[c * 4 + r] = s;
    }
  for (int k = 0; k < 4; k++) view[k] = vp[k];
}

// Window pixel of a scene vertex; false where the projection is not
// trustworthy (at or behind the eye, or not finite).
bool project(const HeldPoints &h, const float *v, double *px, double *py) {
  const double *clip = h.clip, *view = h.view;
  double c[4];
  for (int r = 0; r < 4; r++)
    c[r] = clip[r] * v[0] + clip[4 + r] * v[1] + clip[8 + r] * v[2] + clip[12 + r];
  if (!(c[3] > 1e-6)) return false;
  *px = view[0] + (c[0] / c[3] + 1) * view[2] / 2;
  *py = view[1] + (c[1] / c[3] + 1) * view[3] / 2;
  return std::isfinite(*px) && std::isfinite(*py);
}

} // namespace

void PixelBox::add(double x, double y) {
  x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
}

bool PixelBox::meets(const PixelBox &b) const {
  return x0 <= b.x1 && b.x0 <= x1 && y0 <= b.y1 && b.y0 <= y1;
}

void holdPoint(HeldPoints &h, Widths &w, int bg, float x, float y, float z) {
  if (h.held.empty()) readTransform(h.clip, h.view);
  const float v[3] = {x, y, z};
  double px, py;
  bool known = project(h, v, &px, &py);
  h.held.insert(h.held.end(), v, v + 3);
  if (!known) {
    releasePoints(h, w, bg);
    return;
  }
  h.heldBox.add(px - 1, py - 1);
  h.heldBox.add(px + 1, py + 1);
}

void beforeStroke(HeldPoints &h, Widths &w, int bg, const float (*v)[3], int count) {
  if (h.held.empty()) return;
  PixelBox b;
  for (int k = 0; k < count; k++) {
    double px, py;
    if (!project(h, v[k], &px, &py)) {
      releasePoints(h, w, bg);
      return;
    }
    b.add(px - PAD_PX, py - PAD_PX);
    b.add(px + PAD_PX, py + PAD_PX);
  }
  if (b.meets(h.heldBox)) releasePoints(h, w, bg);
}

// The points keep the size and colour each had; the colour is left as
// the marker left it.
void releasePoints(HeldPoints &h, Widths &w, int bg) {
  if (h.held.empty()) return;
  pointSize(w, 1);
  float f = 1 - bg;
  glColor3f(f, f, f);
  glBegin(GL_POINTS);
  for (size_t k = 0; k < h.held.size(); k += 3) glVertex3f(h.held[k], h.held[k + 1], h.held[k + 2]);
  glEnd();
  h.held.clear();
  h.heldBox = PixelBox();
}
