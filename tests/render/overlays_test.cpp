// The twin divergence marker and the tracer, drawn over the curve.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "render/overlays.h"
#include "support/fake_gl.h"

// Model x is 28 - ln d, so the start-up twin, 1e-5 off in each coordinate,
// starts near 38.96; model y falls from 40 by 0.5 a time unit for Lorenz,
// ten times slower for Roessler.
TEST(Overlays, MarkerStartsAtTheLogOfTheStartingDistanceAndFallsWithTime) {
  const struct {
    int attype;
    double offset, t, x, y;
  } cases[] = {{0, 1e-5, 0, 38.96, 40},
               {0, 1e-9, 0, 48.17, 40},
               {0, 1, 100, 27.45, -10},
               {1, 1, 100, 27.45, 35},
               {1, 1, 1600, 27.45, -40}};
  for (const auto &c : cases) {
    Settings set = startUpSettings();
    set.attype = c.attype, set.second = 1;
    for (int k = 0; k < 3; k++) set.twinStart[k] = set.start[k] + c.offset;
    Picture pic = startUpPicture(set);
    pic.widths.literalCalls = 1; // the point is then the fourth call, after size, colour, begin
    loadStart(pic.run);
    pic.run.t = c.t;
    clearGl();
    noteSeparation(pic.run, pic.numbers);
    drawMarker(set, pic, true);
    EXPECT_NEAR((glCalls.at(3).a[0] + 0.5) * 20, c.x, 0.01) << c.offset << " t " << c.t;
    EXPECT_NEAR((glCalls.at(3).a[2] - 0.5) * 25, c.y, 1e-4) << c.offset << " t " << c.t;
  }
}

// One dot a frame for each curve drawn, in Dynamic and Segment playback only.
TEST(Overlays, TracerMarksTheHeadsOnlyInMovingPlayback) {
  for (auto [mode, twin, dots] :
       {std::tuple{1, 0, 1}, {2, 0, 1}, {0, 0, 0}, {2, 1, 2}, {0, 1, 0}}) {
    Settings set = startUpSettings();
    set.tracer = 1, set.dynamic = mode, set.second = twin;
    Picture pic = startUpPicture(set);
    clearGl();
    drawScene(set, pic);
    int drawn = 0, size = 0; // the points drawn at the tracer's size
    for (const GlCall &g : glCalls) {
      if (!std::strcmp(g.fn, "glPointSize")) size = (int)g.a[0];
      drawn += size == 10 && !std::strcmp(g.fn, "glVertex3f");
    }
    EXPECT_EQ(drawn, dots) << "mode " << mode << " twin " << twin;
  }
}
