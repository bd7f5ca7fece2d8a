// The divergence marker's points, held back and drawn as one batch while
// nothing drawn after them can reach their pixels.
#pragma once

#include <cmath>
#include <vector>

#include "render/widths.h"

// A rectangle of window pixels.
struct PixelBox {
  double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
  void add(double x, double y);
  bool meets(const PixelBox &b) const;
};

struct HeldPoints {
  std::vector<float> held; // x, y, z of each held point
  PixelBox heldBox;        // their window pixels
  double clip[16] = {};    // projection times modelview, column-major, read at the first hold
  double view[4] = {};     // viewport x, y, w, h
};

// A marker point, as glVertex3f would take it; bg is the background.
void holdPoint(HeldPoints &h, Widths &w, int bg, float x, float y, float z);
// Before a stroke with these scene vertices (count of them): draws the held
// points first if the stroke may cover one of them.
void beforeStroke(HeldPoints &h, Widths &w, int bg, const float (*v)[3], int count);
void releasePoints(HeldPoints &h, Widths &w, int bg); // draws every held point now
