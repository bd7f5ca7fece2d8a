// The per-frame replay, the Segment anchoring and the playback of idle.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "app/frame.h"
#include "sim/replay.h"
#include "sim/rk4.h"
#include "state/state.h"
#include "support/fake_gl.h"
#include "support/startup.h"

namespace {
std::vector<int> drawn;
void record(bool) {
  drawn.push_back(n);
}

void frame() {
  drawn.clear();
  loadStartStates();
  replay(record);
}
} // namespace

class Replay : public ::testing::Test {
protected:
  void SetUp() override { restoreStartup(); }
};

TEST_F(Replay, FirstFrameTakes40000StepsAndDrawsSteps10001To39999) {
  frame();
  EXPECT_EQ(n, 40000);
  ASSERT_EQ(drawn.size(), 29999u);
  EXPECT_EQ(drawn.front(), 10001);
  EXPECT_EQ(drawn.back(), 39999);
}

TEST_F(Replay, FirstLorenzFrameEndsOnTheReferenceStateBitForBit) {
  frame();
  EXPECT_EQ(t, 199.99999552965164);
  EXPECT_EQ(x, -1.4112439470743039);
  EXPECT_EQ(y, -2.6143778244816493);
  EXPECT_EQ(z, 18.182988280243318);
  // Segment playback: the second frame starts ten steps on.
  EXPECT_EQ(xsec, 6.404571238805627);
  EXPECT_EQ(ysec, 11.740851626794319);
  EXPECT_EQ(zsec, 3.0657707180487375);
}

TEST_F(Replay, FirstRoesslerFrameEndsOnTheReferenceStateBitForBit) {
  attype = 1;
  frame();
  EXPECT_EQ(x, -4.6374465665436535);
  EXPECT_EQ(y, 6.834623745866297);
  EXPECT_EQ(z, 0.02151768165181831);
}

TEST_F(Replay, SegmentStartAfterKFramesIsTheStateAfter10KStepsBitForBit) {
  double a = xsec, b = ysec, c = zsec;
  for (int k = 0; k < 30; k++) rk4Step(a, b, c);
  tmax = 1; // 200 steps a frame keeps the test quick
  for (int f = 0; f < 3; f++) frame();
  EXPECT_EQ(xsec, a);
  EXPECT_EQ(ysec, b);
  EXPECT_EQ(zsec, c);
}

TEST_F(Replay, TenStepsOrFewerNeverMoveTheSegmentStart) {
  tmax = 10 * dt;
  frame();
  EXPECT_EQ(n, 10);
  EXPECT_EQ(xsec, 5.0);
  EXPECT_EQ(zsec, 1.0);
}

TEST_F(Replay, ZeroTmaxTakesNoStepAndKeepsHistoryAndScale) {
  tmax = 0;
  xold = 3, stretcher = 1.5;
  frame();
  EXPECT_EQ(n, 0);
  EXPECT_TRUE(drawn.empty());
  EXPECT_EQ(xold, 3.0);
  EXPECT_EQ(stretcher, 1.5);
  EXPECT_EQ(x, 5.0);
}

TEST_F(Replay, TwinOffKeepsTwinStartWhileSegmentMovesTheMainOne) {
  tmax = 1;
  frame();
  EXPECT_NE(xsec, 5.0);
  EXPECT_EQ(x2sec, 5 + 1e-5);
}

TEST_F(Replay, TwinOnLeavesTheMainTrajectorysSlopes) {
  second = 1;
  tmax = 11 * dt;
  frame();
  double k1 = k1y;
  double a = xold, b = yold, c = zold;
  rk4Step(a, b, c);
  EXPECT_EQ(k1, k1y);
  EXPECT_NE(x2, x);
}

// A diverging run (large dt) must not carry infinities into the next frame,
// so that setting dt back brings the curve back.
TEST_F(Replay, DivergedStatesAreNeverAnchoredAndTheCurveReturns) {
  dt = 1, ro = 300;
  tmax = 200;
  for (int f = 0; f < 3; f++) frame();
  EXPECT_FALSE(std::isfinite(x));
  EXPECT_TRUE(std::isfinite(xsec) && std::isfinite(ysec) && std::isfinite(zsec));
  EXPECT_TRUE(std::isfinite(x2sec) && std::isfinite(y2sec) && std::isfinite(z2sec));
  dt = 0.005f, ro = 28;
  frame();
  EXPECT_TRUE(std::isfinite(x) && std::isfinite(y) && std::isfinite(z));
}

// ---- idle ----------------------------------------------------------------------

// What one idle call makes of tmax: Dynamic grows it by a tenth in single
// precision and falls back to tmin past the end; Static always ends on the
// user's tmax; Segment holds it but falls back when the user lowers the end.
TEST_F(Replay, IdleMovesTmaxAsThePlaybackModeSays) {
  const struct {
    const char *what;
    int mode;
    float tmax, tmaxstatic, want;
  } cases[] = {
      {"Dynamic grows", 1, 50, 200, 50.1f},
      {"Dynamic grows in single precision", 1, 50.1f, 200, (float)((double)50.1f + 0.1)},
      {"Dynamic falls back in the call that passes the end", 1, 199.95f, 200, 50},
      {"Static from below", 0, 3, 200, 200},
      {"Static from above", 0, 500, 200, 200},
      {"Segment holds", 2, 200, 200, 200},
      {"Segment falls back when the end is lowered", 2, 200, 100, 50},
      {"Segment then stays", 2, 50, 100, 50},
  };
  for (const auto &c : cases) {
    restoreStartup();
    dynamic = c.mode, tmax = c.tmax, tmaxstatic = c.tmaxstatic;
    idle();
    EXPECT_EQ(tmax, c.want) << c.what;
    EXPECT_EQ(callNames(), "glClear glutPostRedisplay") << c.what;
  }
}

// A window whose start is at or past its end steps through it, drawing nothing.
TEST_F(Replay, TmaxAtOrBelowTminStepsButDrawsNothing) {
  const struct {
    float tmax;
    int steps;
  } cases[] = {{50, 10000}, {20, 4000}};
  for (const auto &c : cases) {
    tmax = c.tmax;
    frame();
    EXPECT_EQ(n, c.steps) << "tmax " << c.tmax;
    EXPECT_TRUE(drawn.empty()) << "tmax " << c.tmax;
  }
}

// Switching playback carries tmax over: Dynamic grows it from where
// Segment held it, Segment holds it and moves the start instead.
TEST_F(Replay, SwitchingBetweenDynamicAndSegmentCarriesTmaxOver) {
  tmax = 100;
  const struct {
    int mode;
    float tmax;
    bool startMoves;
  } turns[] = {{1, 100.1f, false}, {2, 100.1f, true}, {2, 100.1f, true}, {1, 100.2f, false}};
  for (const auto &turn : turns) {
    dynamic = turn.mode;
    double before = xsec;
    idle();
    frame();
    EXPECT_FLOAT_EQ(tmax, turn.tmax) << "mode " << turn.mode;
    EXPECT_EQ(xsec != before, turn.startMoves) << "mode " << turn.mode;
  }
}
