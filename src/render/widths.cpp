// Line width and point size, sent to GL only when what they draw changes.
// Every real change makes the GL implementation flush its vertices, and a
// frame may ask for two widths per segment; most of them draw no
// differently, so the picture is the same with far fewer changes.
#include "render/widths.h"

#include <GL/gl.h>

#include <cmath>

#include "state/state.h"

namespace {

int drawnLine = 0;    // whole pixels of the width in force, 0 = not known
float drawnPoint = 0; // the point size in force, 0 = not known

// Lines without antialiasing are drawn at the width rounded to a whole
// pixel, halves up, and at least one pixel wide.
int wholePixels(float w) {
  if (w >= 1e6f) return 1000000;
  long p = std::lround(w);
  return p < 1 ? 1 : (int)p;
}

} // namespace

void (*alsoLineWidth)(float) = nullptr;
void (*alsoPointSize)(float) = nullptr;

// GL refuses a width of 0 or less (and NaN) and keeps the one in force.
void lineWidth(float w) {
  if (literalCalls) {
    glLineWidth(w);
    return;
  }
  if (!(w > 0)) return;
  int p = wholePixels(w);
  if (p == drawnLine) return;
  glLineWidth(w);
  if (alsoLineWidth) alsoLineWidth(w);
  drawnLine = p;
}

// The program's point sizes are whole pixels already.
void pointSize(float s) {
  if (literalCalls) {
    glPointSize(s);
    return;
  }
  if (s == drawnPoint) return;
  glPointSize(s);
  if (alsoPointSize) alsoPointSize(s);
  drawnPoint = s;
}

void forgetWidths() {
  drawnLine = 0;
  drawnPoint = 0;
}
