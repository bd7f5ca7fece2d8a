// One Runge-Kutta step of each model: slopes, scale, and the model choice.
#include <gtest/gtest.h>

#include "app/state.h"
#include "sim/rk4.h"
#include "support/startup.h"

class Rk4 : public ::testing::Test {
protected:
  void SetUp() override { restoreStartup(); }
};

TEST_F(Rk4, LorenzFirstSlopeFromStartPointIsZero130And25MinusFloatBeta) {
  double a = 5, b = 5, c = 1;
  rk4Step(a, b, c);
  EXPECT_EQ(k1x, 0.0);
  EXPECT_EQ(k1y, 130.0);
  EXPECT_EQ(k1z, 22.333333253860474); // 25 - (double)(float)(8/3)
  EXPECT_EQ(stretcher, 1.0);
}

TEST_F(Rk4, RoesslerFirstSlopeUsesFloatParametersAndScalesByOneAndAHalf) {
  attype = 1;
  double a = 5, b = 5, c = 1;
  rk4Step(a, b, c);
  EXPECT_EQ(k1x, -6.0);
  EXPECT_EQ(k1y, 5 + 5 * (double)0.2f);
  EXPECT_EQ(k1z, (double)0.2f + (5 - (double)5.7f));
  EXPECT_EQ(stretcher, 1.5);
}

TEST_F(Rk4, UnknownModelNumberIntegratesLorenz) {
  attype = 7;
  stretcher = 1.5;
  double a = 5, b = 5, c = 1;
  rk4Step(a, b, c);
  EXPECT_EQ(k1y, 130.0);
  EXPECT_EQ(stretcher, 1.0);
}

// Stage points are formed from the step's start, and the update is
// c + (S dt) / 6 with S summed k1 + 2 k2, + 2 k3, + k4.
TEST_F(Rk4, StepCombinesStagesInTheClassicalOrder) {
  double a = 5, b = 5, c = 1;
  rk4Step(a, b, c);
  double D = (double)0.005f;
  double S = k1z + 2 * k2z;
  S = S + 2 * k3z;
  S = S + k4z;
  EXPECT_EQ(c, 1 + (S * D) / 6);
  double h = D * 0.5;
  EXPECT_EQ(k2x, 10.0 * ((5 + h * k1y) - (5 + h * k1x)));
}
