// The per-frame replay of the trajectory and the playback of idle. Step
// counts and the time window are decided in single precision.
#include "sim/replay.h"

#include <GL/freeglut.h>

#include <cmath>

#include "app/state.h"
#include "sim/rk4.h"

namespace {

void shiftHistory() {
  xoldt = xold;
  xold = x, yold = y, zold = z;
  x2old = x2, y2old = y2, z2old = z2;
}

bool allFinite() {
  return std::isfinite(x) && std::isfinite(y) && std::isfinite(z) && std::isfinite(x2) &&
         std::isfinite(y2) && std::isfinite(z2);
}

// Segment playback: the next frame starts ten steps further on. A run that
// has blown up is not carried over, so bringing dt back brings the curve back.
void anchorSegment() {
  if (dynamic != 2 || n != 10 || !allFinite()) return;
  xsec = x, ysec = y, zsec = z;
  x2sec = x2, y2sec = y2, z2sec = z2;
}

} // namespace

// ======== Load ==================================================================
// The history is not reset: the first steps of the loop refill it.
void loadStartStates() {
  x = xsec, y = ysec, z = zsec;
  x2 = x2sec, y2 = y2sec, z2 = z2sec;
  t = 0;
}

// ======== Replay ================================================================
// The twin is stepped before the main trajectory, so the slopes left for
// the drawing are the main one's. A frame that overdue() cuts short ends
// on the step it was asked at, which is then its last; the anchoring at
// step 10 comes before the first question.
void replay(DrawStep drawStep, bool (*overdue)()) {
  for (n = 0; (float)n < tmax / dt; n = n + 1) {
    shiftHistory();
    anchorSegment();
    if (second == 1) rk4Step(x2, y2, z2);
    rk4Step(x, y, z);
    t = t + (double)dt;
    bool cut = overdue && (n & 255) == 255 && overdue();
    bool last = cut || !((float)(n + 1) < tmax / dt);
    if ((float)n > tmin / dt) drawStep(last);
    if (cut) {
      n = n + 1;
      return;
    }
  }
}

// ======== Playback ==============================================================
// Dynamic grows tmax before the fall-back test; Static then overrides both.
void idle() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  int d = dynamic;
  if (d == 1) tmax = (float)((double)tmax + 0.1);
  if (tmax > tmaxstatic) tmax = tmin;
  if (d == 0) tmax = tmaxstatic;
  glutPostRedisplay();
}
