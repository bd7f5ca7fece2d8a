// The readout of the numbers behind the picture, for the desktop and the page.
#include "interact/readout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const double LONG_FRAME_S = 0.5; // from here on, the readout says frames are slow

void twinLines(const FrameNumbers &n, std::vector<std::string> &lines) {
  lines.push_back(format("ln d = %.4f (the twin's distance, now)", n.lnd));
  double slope = lndSlope(n);
  if (std::isnan(slope) && n.saturated)
    lines.push_back("no slope of ln d: it had reached 0 by the first step drawn "
                    "(a lower tmin shows its rise)");
  if (std::isnan(slope)) return;
  lines.push_back(format("slope of ln d = %.4f, fitted from t = %.6g to %.6g:", slope, n.t0, n.t1));
  lines.push_back("  a finite-time estimate of the largest Lyapunov exponent");
}

} // namespace

void timeFrame(FrameTimes &f, Clock::time_point start) {
  Clock::time_point now = Clock::now();
  f.last = std::chrono::duration<double>(now - start).count();
  if (f.frames == 0) f.counted = start;
  f.frames++;
  double span = std::chrono::duration<double>(now - f.counted).count();
  if (span < 1) return;
  f.perSecond = f.frames / span;
  f.frames = 0;
}

std::vector<std::string> readoutLines(const Settings &set, const Picture &pic,
                                      const FrameTimes &times) {
  const Trajectory &r = pic.run;
  const FrameNumbers &n = pic.numbers;
  std::vector<std::string> lines = {
      format("t = %.6g (the time reached)", r.t),
      format("x = %.6g, y = %.6g, z = %.6g (the head)", r.x, r.y, r.z),
      format("%.0f steps drawn", (double)n.steps)};
  lines.push_back(times.perSecond > 0 ? format("frame: %.1f ms, %.1f frames a second",
                                               times.last * 1000, times.perSecond)
                                      : format("frame: %.1f ms", times.last * 1000));
  if (times.last > LONG_FRAME_S)
    lines.push_back(format("Each frame takes %.1f s: the picture changes as one ends", times.last));
  if (set.second == 1) twinLines(n, lines);
  return lines;
}

std::vector<std::string> sceneNotices(const Settings &set, const Picture &pic) {
  std::vector<std::string> lines;
  if (!std::isnan(pic.numbers.leftFiniteAt))
    lines.push_back(format("The trajectory left the finite numbers at t = %.6g: "
                           "use a smaller dt, or press Reset",
                           pic.numbers.leftFiniteAt));
  if (!(set.tmin < set.tmaxstatic))
    lines.push_back(format("Nothing to draw: tmin (%.6g) is not below tmax (%.6g); "
                           "lower tmin or raise tmax",
                           (double)set.tmin, (double)set.tmaxstatic));
  // GL takes the view in single precision.
  const float view[4] = {(float)set.t1, (float)set.t2, (float)set.xtranslate,
                         (float)set.ytranslate};
  if (!std::all_of(view, view + 4, [](float v) { return std::isfinite(v); }))
    lines.push_back("The view turns or moves the scene by no finite amount: press Reset");
  return lines;
}
