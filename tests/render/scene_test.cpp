// Viewport, projection, the camera prologue and the model-to-scene mapping.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "render/scene.h"
#include "state/state.h"
#include "support/fake_gl.h"
#include "support/startup.h"
#include "ui/layer.h"

class Scene : public ::testing::Test {
protected:
  void SetUp() override { restoreStartup(); }
  void TearDown() override {
    ui::master.right->width = ui::master.right->height = 0;
    ui::master.bottom->width = ui::master.bottom->height = 0;
  }
};

TEST_F(Scene, ModelOriginLandsAtMinusHalfMinusOneAndAHalfPlusHalf) {
  sceneVertex(0, 0, 0);
  EXPECT_FLOAT_EQ(glCalls[0].a[0], -0.5f);
  EXPECT_FLOAT_EQ(glCalls[0].a[1], -1.5f);
  EXPECT_FLOAT_EQ(glCalls[0].a[2], 0.5f);
}

TEST_F(Scene, CentreOfRotationIsModelPoint10Minus12Point5And22Point5) {
  sceneVertex(10, -12.5, 22.5);
  EXPECT_NEAR(glCalls[0].a[0], 0, 1e-7);
  EXPECT_NEAR(glCalls[0].a[1], 0, 1e-7);
  EXPECT_NEAR(glCalls[0].a[2], 0, 1e-7);
  stretcher = 1.5;
  sceneVertex(20.0 / 3, -25.0 / 3, 15);
  EXPECT_NEAR(glCalls[1].a[0], 0, 1e-7);
  EXPECT_NEAR(glCalls[1].a[2], 0, 1e-7);
}

TEST_F(Scene, ZoomScalesAboutTheImageOfTheModelOrigin) {
  zoom = 2;
  sceneVertex(10, 0, 0);
  EXPECT_FLOAT_EQ(glCalls[0].a[0], 0.5f); // 0.05 * 2 * 10 - 0.5
}

// The camera sits 10 in front of the scene, which spans about 5 either way:
// the near and far planes at 5 and 15 hold all of it.
TEST_F(Scene, ReshapeGivesTheUncoveredAreaAndASquareFrustumFrom5To15) {
  ui::master.winW = 1200, ui::master.winH = 750;
  ui::master.right->width = 250;
  ui::master.bottom->height = 40;
  reshape(1200, 750);
  EXPECT_EQ(callNames(), "glClear glViewport glMatrixMode glLoadIdentity glFrustum glMatrixMode");
  auto v = callsOf("glViewport")[0];
  EXPECT_EQ(v.a[0], 0);
  EXPECT_EQ(v.a[1], 40);
  EXPECT_EQ(v.a[2], 950);
  EXPECT_EQ(v.a[3], 710);
  auto f = callsOf("glFrustum")[0];
  EXPECT_EQ(f.a[0], -1);
  EXPECT_EQ(f.a[3], 1);
  EXPECT_EQ(f.a[4], 5);
  EXPECT_EQ(f.a[5], 15);
  EXPECT_EQ(glCalls.back().a[0], GL_MODELVIEW);
}

TEST_F(Scene, WindowSmallerThanThePanelsGetsAnEmptyViewportNotANegativeOne) {
  ui::master.winW = 100, ui::master.winH = 30;
  ui::master.right->width = 250;
  ui::master.bottom->height = 40;
  reshape(100, 30);
  auto v = callsOf("glViewport")[0];
  EXPECT_EQ(v.a[2], 0);
  EXPECT_EQ(v.a[3], 0);
}

TEST_F(Scene, ResetTakesOutThePanSinceTheLastAnchorOnce) {
  xtranslate = 1.0, ytranslate = 0.5, reseta = 1;
  reanchorPan();
  auto tr = callsOf("glTranslatef");
  EXPECT_FLOAT_EQ(tr[0].a[0], -1.0f);
  EXPECT_FLOAT_EQ(tr[1].a[1], -0.5f);
  EXPECT_EQ(xtranslatemp, 1.0);
  EXPECT_EQ(reseta, 0);
  clearGl();
  reanchorPan(); // nothing more to take out
  EXPECT_EQ(callsOf("glTranslatef")[0].a[0], 0.0);
  EXPECT_EQ(callsOf("glTranslatef")[1].a[1], 0.0);
}

TEST_F(Scene, ClearColourIsSetAfterTheClearSoItShowsNextFrame) {
  bg = 1;
  clearScene();
  EXPECT_EQ(callNames(), "glClear glClearColor");
  EXPECT_EQ(glCalls[0].a[0], GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  EXPECT_EQ(glCalls[1].a[3], 1.0);
}
