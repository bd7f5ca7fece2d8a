// The order of one frame, and what a frame takes over from the one before.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "app/frame.h"
#include "sim/replay.h"
#include "state/state.h"
#include "support/fake_gl.h"
#include "support/startup.h"

class Frame : public ::testing::Test {
protected:
  void SetUp() override { restoreStartup(); }
};

TEST_F(Frame, GridAfterSwitchingAttractorKeepsThePreviousScaleForOneFrame) {
  tmax = 1;
  draw();
  attype = 1;
  clearGl();
  draw();
  EXPECT_FLOAT_EQ(callsOf("glVertex3f")[0].a[0], -3.0f); // (-50, -50, 0) at stretcher 1
  clearGl();
  draw();
  EXPECT_FLOAT_EQ(callsOf("glVertex3f")[0].a[0], -4.25f); // at stretcher 1.5
}

TEST_F(Frame, OnlyMapValuesZeroAndOneDrawSteps) {
  xygrid = 0;
  map = 2;
  draw();
  EXPECT_TRUE(callsOf("glBegin").empty());
}

// A run that blows up (dt 1, rho 300; Roessler with c 50) keeps drawing in
// every mode and figure, and the curve comes back once dt is set back.
TEST_F(Frame, DivergedRunKeepsDrawingAndRecoversInEveryMode) {
  for (int mode : {0, 1, 2})
    for (int model : {0, 1}) {
      restoreStartup();
      literalCalls = 0, dynamic = mode, attype = model;
      second = 1, tracer = 1, box = 1, axes = 1, dt = 1, ro = 300, cc = 50;
      for (int scheme = 1; scheme <= 7; scheme++) {
        coloring = scheme;
        idle();
        draw();
      }
      map = 1;
      draw();
      map = 0, dt = 0.005f, ro = 28, cc = 5.7f;
      tmax = 150; // Dynamic grows from here; Static goes to 200
      idle();
      clearGl();
      draw();
      EXPECT_GT(callsOf("glBegin").size(), 1000u) << "mode " << mode << " model " << model;
      for (const auto &v : callsOf("glVertex3f")) ASSERT_TRUE(std::isfinite(v.a[0]));
    }
}
