// What the scene's gestures, keys and buttons do to the settings and the
// picture. Nothing here draws or asks for a frame: the front end does. The
// pan alone reaches GL: it lives in the modelview matrix between frames,
// and each frame's own transform goes on top of it.
#include "interact/actions.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <cstring>

void rotateBy(Settings &set, double dx, double dy) {
  if (std::fabs(dx) < 200) set.t2 = set.t2 + 0.5 * dx;
  if (std::fabs(dy) < 200) set.t1 = set.t1 + 0.5 * dy;
}

// Applied outside the frame's push and pop, so it stays and acts in
// screen directions whatever the rotation.
void panBy(Settings &set, double dx, double dy) {
  glTranslatef(0, (float)(-0.01 * dy), 0);
  glTranslatef((float)(0.01 * dx), 0, 0);
  set.ytranslate = set.ytranslate + (-0.01 * dy);
  set.xtranslate = set.xtranslate + 0.01 * dx;
}

void zoomBy(Settings &set, double change) {
  set.zoom = (float)(set.zoom + change);
  setWithin(settingRow("zoom"), set, set.zoom);
}

void wheelZoom(Settings &set, int notches) {
  // Counted in whole notches and divided once, so that the float shows the
  // nearest multiple of a notch ("0.7", not 0.7 less three roundings).
  const double perNotch = std::round(1 / WHEEL_ZOOM);
  const double notchesFromZero = std::round((double)set.zoom * perNotch) + notches;
  set.zoom = (float)(notchesFromZero / perNotch);
  setWithin(settingRow("zoom"), set, set.zoom);
}

void stepParameters(Settings &set) {
  if (!drawnModel(set.attype)) return;
  float *p = set.params[set.attype];
  const float *d = set.incs[set.attype];
  for (int k = 0; k < 3; k++) p[k] = p[k] + d[k];
  for (int k = 0; k < 3; k++) setWithin(parameterRow(set.attype, k), set, p[k]);
}

bool reseed(Settings &set, Picture &pic) {
  if (set.second != 1) return false;
  set.tmin = 0;
  Trajectory &r = pic.run;
  r.x2sec = r.x + 1e-9, r.y2sec = r.y + 1e-9, r.z2sec = r.z + 1e-9;
  r.xsec = r.x, r.ysec = r.y, r.zsec = r.z;
  if (set.dynamic != 2) pic.tmax = 0;
  return true;
}

// ======== Reset ===================================================================
void reset(Settings &set, Picture &pic) {
  const Settings &s = startUpSettings();
  Settings kept = set;
  set = s;
  set.attype = kept.attype;
  std::memcpy(set.incs, kept.incs, sizeof set.incs);
  set.xtranslate = kept.xtranslate, set.ytranslate = kept.ytranslate;
  Trajectory &r = pic.run;
  r.xsec = s.start[0], r.ysec = s.start[1], r.zsec = s.start[2];
  pic.tmax = s.tmaxstatic;
  pic.pan.reseta = 1;
}

// ======== Random Initial Condition ==================================================
// x and y uniform over [-20, 20], z over [10, 20].
void initial(Picture &pic) {
  Trajectory &r = pic.run;
  double r1 = unseededRand(), r2 = unseededRand(), r3 = unseededRand();
  r.xsec = r1 * 40.0 / 2147483647.0 - 20.0;
  r.ysec = r2 * 40.0 / 2147483647.0 - 20.0;
  r.zsec = r3 * 10.0 / 2147483647.0 + 10.0;
  r.x2sec = r.xsec + 1e-9, r.y2sec = r.ysec + 1e-9, r.z2sec = r.zsec + 1e-9;
}

// glibc's additive feedback generator from seed 1: r[0] = 1, r[1..30]
// by the Lehmer step 16807 mod 2^31 - 1, r[31..33] = r[0..2], then
// r[i] = r[i-31] + r[i-3] mod 2^32; the first 310 of those are dropped and
// each result is one shifted right by a bit. A ring keeps the last 34.
namespace {

struct Feedback {
  uint32_t r[34];
  long i = 34; // the index of the next value
  uint32_t next() {
    uint32_t v = r[(i + 3) % 34] + r[(i + 31) % 34];
    r[i % 34] = v, i++;
    return v;
  }
};

Feedback primed() {
  Feedback f;
  f.r[0] = 1;
  for (int k = 1; k < 31; k++) f.r[k] = (uint32_t)((int64_t)16807 * f.r[k - 1] % 2147483647);
  for (int k = 31; k < 34; k++) f.r[k] = f.r[k - 31];
  for (int k = 0; k < 310; k++) f.next();
  return f;
}

} // namespace

int unseededRand() {
  static Feedback f = primed();
  return (int)(f.next() >> 1);
}
