// The playback between frames: where the next frame's replay ends.
#include "sim/playback.h"

// Dynamic grows tmax before the fall-back test; Static then overrides both.
void advancePlayback(int dynamic, float tmin, float tmaxstatic, float &tmax) {
  int d = dynamic;
  if (d == 1) tmax = (float)((double)tmax + 0.1);
  if (tmax > tmaxstatic) tmax = tmin;
  if (d == 0) tmax = tmaxstatic;
}
