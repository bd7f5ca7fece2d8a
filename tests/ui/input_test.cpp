// Mouse and keyboard of the scene: rotate, pan, zoom, space bar, re-seed.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include "state/state.h"
#include "support/fake_gl.h"
#include "support/startup.h"
#include "ui/input.h"
#include "ui/layer.h"

class Input : public ::testing::Test {
protected:
  void SetUp() override { restoreStartup(); }
};

TEST_F(Input, LeftPressInstallsRotationWithTheInfoCursor) {
  MouseDown(GLUT_LEFT_BUTTON, GLUT_DOWN, 10, 20);
  EXPECT_EQ(ui::master.motion, mouseMotion);
  EXPECT_EQ(callsOf("glutSetCursor")[0].a[0], GLUT_CURSOR_INFO);
  EXPECT_EQ(xmouseold, 10);
  EXPECT_EQ(ymouseold, 20);
  MouseDown(GLUT_LEFT_BUTTON, GLUT_UP, 11, 21);
  EXPECT_EQ(ui::master.motion, mouseMotion); // survives the release
  EXPECT_EQ(callsOf("glutSetCursor")[1].a[0], GLUT_CURSOR_LEFT_ARROW);
}

TEST_F(Input, JumpOf250RightAnd10DownTurnsOnlyAboutX) {
  mouseMotion(400 + 250, 400 + 10);
  EXPECT_EQ(t1, 5.0);
  EXPECT_EQ(t2, 0.0);
  EXPECT_EQ(xmouseold, 650);
  mouseMotion(650 + 200, 410); // exactly 200 is dropped too
  EXPECT_EQ(t2, 0.0);
  mouseMotion(851, 410);
  EXPECT_EQ(t2, 0.5);
}

TEST_F(Input, MiddleDragUsesTheHandlerOfTheLastRightPress) {
  MouseDown(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 0, 0);
  EXPECT_EQ(ui::master.motion, nullptr);
  MouseDown(GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0);
  MouseDown(GLUT_RIGHT_BUTTON, GLUT_UP, 0, 0);
  MouseDown(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 100, 100);
  EXPECT_EQ(ui::master.motion, mouseTranslation);
  EXPECT_EQ(xmouseold, 100); // the press moved the pointer memory
  EXPECT_EQ(callsOf("glutSetCursor")[0].a[0], GLUT_CURSOR_CROSSHAIR);
}

TEST_F(Input, PanOf100RightAnd50UpMovesTheSceneByOneAndAHalf) {
  mouseTranslation(500, 350);
  EXPECT_EQ(callNames(), "glTranslatef glTranslatef");
  EXPECT_FLOAT_EQ(glCalls[0].a[1], 0.5f);
  EXPECT_FLOAT_EQ(glCalls[1].a[0], 1.0f);
  EXPECT_DOUBLE_EQ(xtranslate, 1.0);
  EXPECT_DOUBLE_EQ(ytranslate, 0.5);
}

TEST_F(Input, ZoomWithZHeldGains0Point4Per100PixelsUpAndClamps) {
  KeyDown['z'] = 1;
  mouseZoom(0, 300);
  EXPECT_FLOAT_EQ(zoom, 1.4f);
  mouseZoom(0, 100000);
  EXPECT_EQ(zoom, 0.1f);
  ymouseold = 0;
  mouseZoom(0, -100000);
  EXPECT_EQ(zoom, 300.0f);
}

TEST_F(Input, PassiveMotionWithoutZOnlyMovesTheVerticalMemory) {
  mouseZoom(50, 300);
  EXPECT_EQ(zoom, 1.0f);
  EXPECT_EQ(xmouseold, 400);
  EXPECT_EQ(ymouseold, 300);
}

TEST_F(Input, ZoomKeyStepShowsUpDownWhileHeldAndTheArrowOnceAfter) {
  KeyDown['z'] = 1;
  zoomKeyStep();
  EXPECT_EQ(ui::master.passive, mouseZoom);
  EXPECT_EQ(zkeydown, 1);
  KeyDown['z'] = 0;
  zoomKeyStep();
  zoomKeyStep();
  auto c = callsOf("glutSetCursor");
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].a[0], GLUT_CURSOR_UP_DOWN);
  EXPECT_EQ(c[1].a[0], GLUT_CURSOR_LEFT_ARROW);
  EXPECT_EQ(ui::master.passive, mouseZoom); // never removed
}

// The space bar adds the current attractor's increments (dro 0.1, da 0.01
// at start-up) through the spinners, which stop at the limits.
TEST_F(Input, SpaceStepsTheCurrentAttractorsParametersWithinTheirLimits) {
  const struct {
    int attype;
    float *var, from, want;
    float *untouched;
  } cases[] = {
      {0, &ro, 28, 28.1f, &aa},
      {0, &ro, 299.95f, 300, &sigma},
      {1, &aa, 0.2f, 0.2f + 0.01f, &ro},
      {2, &ro, 28, 28, &aa}, // no such attractor: nothing steps
  };
  for (const auto &c : cases) {
    restoreStartup();
    attype = c.attype, *c.var = c.from;
    float other = *c.untouched;
    myKeyboardFunc(' ', 0, 0);
    EXPECT_EQ(*c.var, c.want) << "attype " << c.attype;
    EXPECT_EQ(*c.untouched, other) << "attype " << c.attype;
    EXPECT_EQ(callNames(), "glClear glutPostRedisplay");
  }
}

TEST_F(Input, SWithTheTwinOffOnlyAsksForARedisplay) {
  x = 1, y = 2, z = 3;
  myKeyboardFunc('s', 0, 0);
  EXPECT_EQ(callNames(), "glutPostRedisplay");
  EXPECT_EQ(xsec, 5.0);
  EXPECT_EQ(KeyDown['s'], 1);
}

TEST_F(Input, SWithTheTwinOnReseedsFromTheEndOfTheCurve) {
  second = 1, x = 1, y = 2, z = 3;
  myKeyboardFunc('s', 0, 0);
  EXPECT_EQ(xsec, 1.0);
  EXPECT_EQ(z2sec, 3 + 1e-9);
  EXPECT_EQ(tmin, 0.0f);
  EXPECT_EQ(tmax, 200.0f); // Segment keeps tmax
  dynamic = 0;
  myKeyboardFunc('s', 0, 0);
  EXPECT_EQ(tmax, 0.0f);
  tmax = 5, dynamic = 1;
  myKeyboardFunc('s', 0, 0);
  EXPECT_EQ(tmax, 0.0f);
}

TEST_F(Input, CapitalLettersAndReleasesOnlyRecordTheKey) {
  myKeyboardFunc('S', 0, 0);
  myKeyboardFunc('Z', 0, 0);
  EXPECT_TRUE(glCalls.empty());
  EXPECT_EQ(KeyDown['Z'], 1);
  keyboardUp('Z', 0, 0);
  EXPECT_EQ(KeyDown['Z'], 0);
}
