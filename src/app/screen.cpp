// What the viewer writes over its scene: the help, the readout of the
// numbers behind the picture, and notices; and the frames' times.
#include "app/screen.h"

#include <cmath>
#include <cstdio>

namespace {

const double LONG_FRAME_S = 0.5; // from here on, the readout says frames are slow

template <typename... Numbers> std::string format(const char *f, Numbers... v) {
  char text[160];
  std::snprintf(text, sizeof text, f, v...);
  return text;
}

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

std::vector<ui::TextBox> textOverScene(const Settings &set, const Picture &pic, const Input &in,
                                       const FrameTimes &times, const Notice &notice) {
  std::vector<ui::TextBox> boxes;
  if (in.readout) boxes.push_back({ui::TextBox::TOP_LEFT, readoutLines(set, pic, times)});
  if (in.help) boxes.push_back({ui::TextBox::CENTRE, helpLines(), true});
  std::vector<std::string> notes;
  if (!std::isnan(pic.numbers.leftFiniteAt))
    notes.push_back(format("The trajectory left the finite numbers at t = %.6g: "
                           "use a smaller dt, or press Reset",
                           pic.numbers.leftFiniteAt));
  if (Clock::now() < notice.until) notes.push_back(notice.text);
  if (!notes.empty()) boxes.push_back({ui::TextBox::BOTTOM_LEFT, notes});
  return boxes;
}
