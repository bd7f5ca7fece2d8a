// Reset and Random Initial Condition.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/frame.h"
#include "app/state.h"
#include "support/fake_gl.h"
#include "support/startup.h"
#include "ui/input.h"
#include "ui/reset.h"

class Reset : public ::testing::Test {
protected:
  void SetUp() override { restoreStartup(); }
};

TEST_F(Reset, BringsBackTheStartUpSettingsButNotTheAttractorIncrementsOrTwin) {
  mouseTranslation(500, 350);
  t1 = 30, t2 = -20, zoom = 4, ro = 99, sigma = 3, beta = 7, aa = 1, bb = 2, cc = 3;
  tmin = 10, tmax = 77, tmaxstatic = 300, dt = 0.01f, dynamic = 0, second = 1;
  map = 1, tracer = 1, box = 1, axes = 1, xygrid = 0, coloring = 6, bg = 1, thickness = 5;
  xsec = -3, attype = 1, dro = 0.5f, x2sec = 8, xmaxold = 12;
  reset();
  EXPECT_EQ(t1, 0.0);
  EXPECT_EQ(zoom, 1.0f);
  EXPECT_EQ(ro, 28.0f);
  EXPECT_EQ(beta, 8.0f / 3.0f);
  EXPECT_EQ(cc, 5.7f);
  EXPECT_EQ(tmin, 50.0f);
  EXPECT_EQ(tmax, 200.0f);
  EXPECT_EQ(tmaxstatic, 200.0f);
  EXPECT_EQ(dt, 0.005f);
  EXPECT_EQ(dynamic, 2);
  EXPECT_EQ(second + map + tracer + box + axes + bg, 0);
  EXPECT_EQ(xygrid, 1);
  EXPECT_EQ(coloring, 3);
  EXPECT_EQ(thickness, 1);
  EXPECT_EQ(xsec, 5.0);
  EXPECT_EQ(zsec, 1.0);
  EXPECT_EQ(attype, 1);
  EXPECT_EQ(dro, 0.5f);
  EXPECT_EQ(x2sec, 8.0);
  EXPECT_EQ(xmaxold, 12.0);
  EXPECT_EQ(reseta, 1);
  EXPECT_EQ(glCalls.back().fn, std::string("glutPostRedisplay"));
}

TEST_F(Reset, NextFrameTakesThePanOutAndTheOneAfterMovesNothing) {
  mouseTranslation(500, 350);
  reset();
  tmax = 0;
  clearGl();
  draw();
  auto tr = callsOf("glTranslatef");
  EXPECT_FLOAT_EQ(tr[0].a[0], -1.0f);
  EXPECT_FLOAT_EQ(tr[1].a[1], -0.5f);
  clearGl();
  reset();
  tmax = 0;
  draw();
  EXPECT_EQ(callsOf("glTranslatef")[0].a[0], 0.0);
  EXPECT_DOUBLE_EQ(xtranslate, 1.0); // the total of all drags stays
}

// The generator is never seeded: the first start of every run is the one
// the default seed (1) gives.
TEST_F(Reset, RandomStartUsesTheUnseededGeneratorAndPutsTheTwin1e9Away) {
  std::srand(1);
  double r1 = std::rand(), r2 = std::rand(), r3 = std::rand();
  std::srand(1);
  tmin = 12, tmax = 34;
  initial();
  EXPECT_EQ(xsec, r1 * 40.0 / 2147483647.0 - 20.0);
  EXPECT_EQ(ysec, r2 * 40.0 / 2147483647.0 - 20.0);
  EXPECT_EQ(zsec, r3 * 10.0 / 2147483647.0 + 10.0);
  EXPECT_EQ(x2sec, xsec + 1e-9);
  EXPECT_EQ(z2sec, zsec + 1e-9);
  EXPECT_EQ(tmin, 12.0f);
  EXPECT_EQ(tmax, 34.0f);
  for (int k = 0; k < 200; k++) {
    initial();
    ASSERT_TRUE(xsec >= -20 && xsec <= 20 && ysec >= -20 && ysec <= 20);
    ASSERT_TRUE(zsec >= 10 && zsec <= 20);
  }
}
