// The playback between frames: where the next frame's replay ends.
#include "sim/playback.h"

// Dynamic grows tmax before the fall-back test; Static then overrides both.
void advancePlayback(int dynamic, float tmin, float tmaxstatic, float &tmax) {
  int d = dynamic;
  if (d == 1) tmax = (float)((double)tmax + 0.1);
  if (tmax > tmaxstatic) tmax = tmin;
  if (d == 0) tmax = tmaxstatic;
}

int playbackFrame(int dynamic, float tmin, float tmaxstatic, float tmax) {
  float t = dynamic == 1 ? tmin : tmaxstatic;
  double cycle = ((double)tmaxstatic - tmin) / 0.1 + 2;
  const int most = cycle < 1e7 ? (int)cycle : 10000000;
  for (int k = 1; k <= most; k++) {
    advancePlayback(dynamic, tmin, tmaxstatic, t);
    if (t == tmax) return k;
  }
  return 0;
}
