// Where model points land in the scene.
#include <gtest/gtest.h>

#include "render/scene.h"
#include "support/fake_gl.h"

// The origin lands at (-0.5, -1.5, 0.5) and the centre of rotation
// (10, -12.5, 22.5) on the scene's origin; zoom scales about the origin's
// image, and Roessler's stretcher of 1.5 brings its own centre there.
TEST(Scene, ModelPointsLandAboutTheCentreOfRotation) {
  const struct {
    double p[3];
    SceneScale k;
    float want[3];
  } cases[] = {{{0, 0, 0}, {1, 1}, {-0.5f, -1.5f, 0.5f}},
               {{10, -12.5, 22.5}, {1, 1}, {0, 0, 0}},
               {{20.0 / 3, -25.0 / 3, 15}, {1.5, 1}, {0, 0, 0}},
               {{10, 0, 0}, {1, 2}, {0.5f, -1.5f, 0.5f}}};
  for (const auto &c : cases) {
    clearGl();
    sceneVertex(c.k, c.p[0], c.p[1], c.p[2]);
    for (int i = 0; i < 3; i++)
      EXPECT_NEAR(glCalls.at(0).a[i], c.want[i], 1e-6) << c.p[0] << " " << i;
  }
}
