// Reset and Random Initial Condition.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/frame.h"
#include "state/state.h"
#include "support/fake_gl.h"
#include "support/startup.h"
#include "ui/input.h"
#include "ui/reset.h"

class Reset : public ::testing::Test {
protected:
  void SetUp() override { restoreStartup(); }
};

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
