// Line width and point size, sent to GL only when what they draw changes.
// Every real change makes the GL implementation flush its vertices, and a
// frame may ask for two widths per segment; most of them draw no
// differently, so the picture is the same with far fewer changes.
#include "render/widths.h"

#include <GL/gl.h>

#include <cmath>

namespace {

// Lines without antialiasing are drawn at the width rounded to a whole
// pixel, halves up, and at least one pixel wide.
int wholePixels(float w) {
  if (w >= 1e6f) return 1000000;
  long p = std::lround(w);
  return p < 1 ? 1 : (int)p;
}

} // namespace

// GL refuses a width of 0 or less (and NaN) and keeps the one in force.
void lineWidth(Widths &k, float asked) {
  const float w = asked * k.scale;
  if (k.literalCalls) {
    glLineWidth(w);
    return;
  }
  if (!(w > 0)) return;
  int p = wholePixels(w);
  if (p == k.drawnLine) return;
  glLineWidth(w);
  if (k.alsoLineWidth) k.alsoLineWidth(w);
  k.drawnLine = p;
}

// The program's point sizes are whole pixels already.
void pointSize(Widths &k, float asked) {
  const float s = asked * k.scale;
  if (k.literalCalls) {
    glPointSize(s);
    return;
  }
  if (s == k.drawnPoint) return;
  glPointSize(s);
  if (k.alsoPointSize) k.alsoPointSize(s);
  k.drawnPoint = s;
}

void forgetWidths(Widths &k) {
  k.drawnLine = 0;
  k.drawnPoint = 0;
}
