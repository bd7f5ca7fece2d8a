// The tracer, drawn over the curve.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "render/overlays.h"
#include "support/fake_gl.h"

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
