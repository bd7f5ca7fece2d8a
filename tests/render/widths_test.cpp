// Widths sent only when the drawn width changes: the same segments, colours
// and vertices as the literal calls, with far fewer width changes.
#include <gtest/gtest.h>

#include <cstring>

#include "app/frame.h"
#include "render/widths.h"
#include "state/state.h"
#include "support/fake_gl.h"
#include "support/startup.h"

namespace {
// Every call but the width ones, in order.
std::vector<GlCall> withoutWidths() {
  std::vector<GlCall> out;
  for (auto &c : glCalls)
    if (std::strcmp(c.fn, "glLineWidth") != 0 && std::strcmp(c.fn, "glPointSize") != 0)
      out.push_back(c);
  return out;
}

bool same(const std::vector<GlCall> &a, const std::vector<GlCall> &b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); k++)
    for (int j = 0; j < 6; j++)
      if (std::strcmp(a[k].fn, b[k].fn) != 0 || a[k].a[j] != b[k].a[j]) return false;
  return true;
}
} // namespace

class Widths : public ::testing::Test {
protected:
  void SetUp() override {
    restoreStartup();
    literalCalls = 0;
    forgetWidths();
  }
};

TEST_F(Widths, RefusedAndSamePixelWidthsAreNotSent) {
  lineWidth(1.0f);
  lineWidth(0.0f);  // GL would refuse it
  lineWidth(1.49f); // still one pixel
  lineWidth(0.2f);
  lineWidth(1.5f); // two pixels
  lineWidth(2.4f);
  ASSERT_EQ(callsOf("glLineWidth").size(), 2u);
  EXPECT_FLOAT_EQ(callsOf("glLineWidth")[1].a[0], 1.5f);
  pointSize(10);
  pointSize(10);
  pointSize(1);
  EXPECT_EQ(callsOf("glPointSize").size(), 2u);
}

TEST_F(Widths, AFrameStartsFromAnUnknownWidth) {
  lineWidth(1);
  forgetWidths();
  lineWidth(1);
  EXPECT_EQ(callsOf("glLineWidth").size(), 2u);
}

// With thick lines the old part keeps the thickness where the ghost width
// is 0, then thins, then widens towards the head.
TEST_F(Widths, GhostFrameWithThickerLinesChangesWidthAHandfulOfTimes) {
  thickness = 5, dynamic = 1, tracer = 1;
  draw();
  auto w = callsOf("glLineWidth");
  EXPECT_LE(w.size(), 20u);
  EXPECT_EQ(w[0].a[0], 1.0);     // the grid
  EXPECT_EQ(w[1].a[0], 5.0);     // old segments, ghost width 0
  EXPECT_GE(w.back().a[0], 5.5); // six pixels at the head
}

// (With the twin on the frame also leaves out overdrawn copies of the
// marker's lines: the real-GL pixel test checks that.)
TEST_F(Widths, EveryOtherCallIsTheSameAsTheLiteralFrame) {
  const int schemes[] = {1, 2, 3, 4, 5, 6, 7};
  for (int s : schemes) {
    restoreStartup();
    literalCalls = 1, coloring = s, dynamic = 0, tracer = 1, tmax = 60, box = 1, axes = 1;
    draw();
    auto literal = withoutWidths();
    clearGl();
    literalCalls = 0;
    draw();
    EXPECT_TRUE(same(literal, withoutWidths())) << "scheme " << s;
  }
}

// Mesa holds every primitive until a flush: a long replay hands them over
// every 16384 steps so that memory does not grow with the number of steps.
TEST_F(Widths, LongReplayFlushesEvery16384Steps) {
  tmin = 0, tmax = tmaxstatic = 500, dynamic = 0, xygrid = 0; // 100000 steps
  draw();
  EXPECT_EQ(callsOf("glFlush").size(), 6u + 1u); // 16384 .. 98304, then the frame's own
  restoreStartup();
  literalCalls = 1, tmin = 0, tmax = tmaxstatic = 500, dynamic = 0, xygrid = 0;
  draw();
  EXPECT_EQ(callsOf("glFlush").size(), 1u); // the calls exactly as the figures ask
}
