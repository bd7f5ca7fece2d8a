// Colours, widths and the call sequence of one drawn step.
#include <gtest/gtest.h>

#include <cmath>

#include <GL/gl.h>

#include "app/state.h"
#include "render/strokes.h"
#include "support/fake_gl.h"
#include "support/startup.h"

class Strokes : public ::testing::Test {
protected:
  void SetUp() override {
    restoreStartup();
    t = tmax; // the head of the curve
  }
  void colour(double c[3]) { ASSERT_TRUE(schemeColour(c)); }
};

TEST_F(Strokes, RedGhostHeadIsYellowAndFiveAndTwoSeventhsWide) {
  double c[3];
  colour(c);
  EXPECT_DOUBLE_EQ(c[0], 1);
  EXPECT_DOUBLE_EQ(c[1], 0.95);
  EXPECT_DOUBLE_EQ(c[2], 0);
  EXPECT_NEAR(ghostWidth(), 5.714, 1e-3);
  t = tmax - 1.301; // green reaches 0 at an age of log10(20)
  colour(c);
  EXPECT_NEAR(c[1], 0, 1e-3);
}

TEST_F(Strokes, GhostWidthTapersWithAgeToZeroInSinglePrecision) {
  t = tmax - 0.581;
  EXPECT_NEAR(ghostWidth(), 1.5, 1e-2);
  t = tmax - 1.058;
  EXPECT_NEAR(ghostWidth(), 0.5, 1e-2);
  t = tmax - 47;
  EXPECT_EQ((float)ghostWidth(), 0.0f);
}

TEST_F(Strokes, RedGreenBlueBellsAtXZero) {
  coloring = 4;
  x = 0;
  double c[3];
  colour(c);
  EXPECT_NEAR(c[0], 0.530, 1e-3);
  EXPECT_DOUBLE_EQ(c[1], 1);
  EXPECT_NEAR(c[2], 0.019, 1e-3);
  EXPECT_DOUBLE_EQ(c[0], std::pow(2.7, -0.64));
}

TEST_F(Strokes, SpeedSaturatesAt200ForLorenzAnd50ForRoessler) {
  coloring = 2;
  k1x = 0, k1y = 120, k1z = 160; // |k1| = 200
  double c[3];
  colour(c);
  EXPECT_DOUBLE_EQ(c[1], 1);
  attype = 1;
  colour(c);
  EXPECT_DOUBLE_EQ(c[1], 4);
  attype = 2;
  EXPECT_FALSE(schemeColour(c));
}

TEST_F(Strokes, TimeSchemesUseDivisorsTenPointThreeThirteenAndFive) {
  t = 10;
  coloring = 1;
  double c[3];
  colour(c);
  EXPECT_DOUBLE_EQ(c[0], 0.95 * (0.5 + 0.5 * std::sin(1.0)));
  EXPECT_DOUBLE_EQ(c[1], 0.95 * (0.5 + 0.5 * std::cos(10 / 3.13)));
  EXPECT_DOUBLE_EQ(c[2], 0.95 * (0.5 + 0.5 * std::sin(2.0)));
  coloring = 7;
  colour(c);
  EXPECT_DOUBLE_EQ(c[0], 0);
  EXPECT_DOUBLE_EQ(c[2], 0.95 * (0.5 + 0.5 * std::sin(10.0)));
}

TEST_F(Strokes, GreyGhostIsBrighterThanWhiteAtTheHead) {
  coloring = 6;
  double c[3];
  colour(c);
  EXPECT_DOUBLE_EQ(c[0], 1.2);
  bg = 1, coloring = 5;
  colour(c);
  EXPECT_DOUBLE_EQ(c[0], 0);
  EXPECT_FALSE((coloring = 9, schemeColour(c)));
}

TEST_F(Strokes, OneStepSetsThicknessThenGhostWidthThenMainSegment) {
  xold = 0, yold = 0, zold = 0, x = 20, y = 25, z = 15;
  drawStrokes();
  EXPECT_EQ(callNames(), "glLineWidth glLineWidth glBegin glColor3f glVertex3f glVertex3f glEnd");
  EXPECT_EQ(glCalls[0].a[0], 1.0);
  EXPECT_FLOAT_EQ(glCalls[1].a[0], 5.7142857f);
  EXPECT_EQ(glCalls[2].a[0], GL_LINES);
  auto v = callsOf("glVertex3f");
  EXPECT_FLOAT_EQ(v[0].a[0], -0.5f); // model origin
  EXPECT_FLOAT_EQ(v[0].a[1], -1.5f);
  EXPECT_FLOAT_EQ(v[0].a[2], 0.5f);
  EXPECT_FLOAT_EQ(v[1].a[0], 0.5f); // (20, 25, 15)
  EXPECT_FLOAT_EQ(v[1].a[1], -0.5f);
  EXPECT_FLOAT_EQ(v[1].a[2], 1.5f);
}

TEST_F(Strokes, TwinSegmentComesFirstInGreenBlueThenTheMainOne) {
  second = 1, coloring = 5, thickness = 5;
  drawStrokes();
  EXPECT_EQ(
      callNames(),
      "glLineWidth glBegin glColor3f glVertex3f glVertex3f glColor3f glVertex3f glVertex3f glEnd");
  EXPECT_EQ(glCalls[0].a[0], 5.0);
  auto c = callsOf("glColor3f");
  EXPECT_FLOAT_EQ(c[0].a[1], 0.95f);
  EXPECT_FLOAT_EQ(c[0].a[2], 0.05f);
  EXPECT_FLOAT_EQ(c[1].a[0], 1.0f);
}

TEST_F(Strokes, UnknownSchemeSetsNoColourForTheMainSegment) {
  coloring = 0;
  drawStrokes();
  EXPECT_EQ(callNames(), "glLineWidth glBegin glVertex3f glVertex3f glEnd");
}
