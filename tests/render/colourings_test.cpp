// The colouring table: each scheme's colour for numbers whose colour is
// known, the ghost width along the curve, and the listbox built from it.
#include <gtest/gtest.h>

#include "render/colourings.h"
#include "sim/models.h"
#include "support/startup.h"
#include "ui/layer.h"

namespace {
const Model *lorenz = &models[0], *roessler = &models[1];
}

TEST(Colourings, EverySchemeGivesTheColourItsNameSays) {
  const struct Case {
    const char *what;
    int id;
    ColourInputs in;
    double want[3];
    double tolerance;
  } cases[] = {
      {"quasiperiodic at t 0", 1, {0, 200, 0, {}, 0, lorenz}, {0.475, 0.95, 0.475}, 1e-12},
      {"speed at a fixed point is pure red", 2, {50, 200, 0, {0, 0, 0}, 0, lorenz}, {1, 0, 0}, 0},
      {"Lorenz speed 200 is yellow", 2, {50, 200, 0, {0, 120, 160}, 0, lorenz}, {1, 1, 0}, 1e-12},
      {"Roessler speed 50 is yellow", 2, {50, 200, 0, {0, 30, 40}, 0, roessler}, {1, 1, 0}, 1e-12},
      {"red ghost head", 3, {200, 200, 0, {}, 0, lorenz}, {1, 0.95, 0}, 1e-12},
      {"red ghost at age log10 20", 3, {200 - 1.30103, 200, 0, {}, 0, lorenz}, {1, 0, 0}, 1e-4},
      {"red/green/blue at x 0", 4, {0, 200, 0, {}, 0, lorenz}, {0.530, 1, 0.019}, 1e-3},
      {"red/green/blue at x 20", 4, {0, 200, 20, {}, 0, lorenz}, {0.0796, 0.0183, 1}, 1e-3},
      {"black/white on black", 5, {0, 200, 0, {}, 0, lorenz}, {1, 1, 1}, 0},
      {"black/white on white", 5, {0, 200, 0, {}, 1, lorenz}, {0, 0, 0}, 0},
      {"grey ghost head", 6, {200, 200, 0, {}, 0, lorenz}, {1.2, 1.2, 1.2}, 1e-12},
      {"green-blue at t 0", 7, {0, 200, 0, {}, 0, lorenz}, {0, 0.95, 0.475}, 1e-12},
  };
  for (const Case &c : cases) {
    const Colouring *scheme = colouringFor(c.id);
    ASSERT_NE(scheme, nullptr) << c.what;
    double got[3] = {-9, -9, -9};
    ASSERT_TRUE(scheme->colour(c.in, got)) << c.what;
    for (int k = 0; k < 3; k++) EXPECT_NEAR(got[k], c.want[k], c.tolerance) << c.what;
  }
}

TEST(Colourings, SpeedOfAnUnknownAttractorAndUnlistedIdsSetNoColour) {
  double c[3];
  EXPECT_FALSE(colouringFor(2)->colour({0, 200, 0, {1, 1, 1}, 0, nullptr}, c));
  EXPECT_EQ(colouringFor(0), nullptr);
  EXPECT_EQ(colouringFor(8), nullptr);
}

// About 5.714 px at the head, 1.5 at an age of 0.581, 0.5 at 1.058, and 0
// in single precision from an age of about 46 on.
TEST(Colourings, GhostWidthTapersWithAge) {
  EXPECT_NEAR(ghostWidth(200, 200), 5.714, 1e-3);
  EXPECT_NEAR(ghostWidth(200 - 0.581, 200), 1.5, 1e-2);
  EXPECT_NEAR(ghostWidth(200 - 1.058, 200), 0.5, 1e-2);
  EXPECT_GT((float)ghostWidth(200 - 45, 200), 0.0f);
  EXPECT_EQ((float)ghostWidth(200 - 47, 200), 0.0f);
  EXPECT_TRUE(colouringFor(3)->ghost && colouringFor(6)->ghost); // "Red ghost", "Grey ghost"
  EXPECT_FALSE(colouringFor(1)->ghost || colouringFor(5)->ghost);
}
