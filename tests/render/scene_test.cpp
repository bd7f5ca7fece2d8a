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

// Model points and where they land in the scene: the origin at
// (-0.5, -1.5, 0.5), the centre of rotation (10, -12.5, 22.5) on the scene's
// origin, zoom scaling about the origin's image; Roessler's stretcher 1.5.
TEST_F(Scene, ModelPointsLandAboutTheCentreOfRotation) {
  const struct {
    double p[3], stretcher;
    float zoom, want[3];
  } cases[] = {
      {{0, 0, 0}, 1, 1, {-0.5f, -1.5f, 0.5f}},
      {{10, -12.5, 22.5}, 1, 1, {0, 0, 0}},
      {{20.0 / 3, -25.0 / 3, 15}, 1.5, 1, {0, 0, 0}},
      {{10, 0, 0}, 1, 2, {0.5f, -1.5f, 0.5f}},
  };
  for (const auto &c : cases) {
    clearGl();
    stretcher = c.stretcher, zoom = c.zoom;
    sceneVertex(c.p[0], c.p[1], c.p[2]);
    for (int k = 0; k < 3; k++) EXPECT_NEAR(glCalls[0].a[k], c.want[k], 1e-6) << c.p[0];
  }
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
