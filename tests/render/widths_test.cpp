// Widths sent only when the drawn width changes (the real-GL pixel test
// checks that the picture stays the same), and the flushes of a long replay.
#include <gtest/gtest.h>

#include "app/frame.h"
#include "render/widths.h"
#include "state/state.h"
#include "support/fake_gl.h"
#include "support/startup.h"

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
