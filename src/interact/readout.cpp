// The readout of the numbers behind the picture, for the desktop and the page.
#include "interact/readout.h"

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

std::string divergenceNotice(const Picture &pic) {
  return format("The trajectory left the finite numbers at t = %.6g: "
                "use a smaller dt, or press Reset",
                pic.numbers.leftFiniteAt);
}
