// A scene drawn in parts, and the clear after a change of background.
#include <gtest/gtest.h>

#include <string>

#include "render/picture.h"
#include "render/scene.h"
#include "sim/playback.h"
#include "support/fake_gl.h"

// A page that must not block draws a frame over many animation frames: the
// GL calls of all the parts are those of one scene, for the curve with the
// twin and for the maximum map, in every playback mode.
static bool everyThirdAsking(void *asked) {
  return ++*static_cast<int *>(asked) % 3 == 0;
}

TEST(Scene, SceneDrawnInPartsSendsTheCallsOfOneScene) {
  for (auto [map, mode] : {std::pair{0, 0}, {0, 2}, {1, 1}}) {
    Settings set = startUpSettings();
    set.second = 1, set.map = map, set.dynamic = mode, set.tracer = 1, set.tmaxstatic = 20;
    int asked = 0;
    auto calls = [&](bool inParts) {
      Picture pic = pictureOf(set, 950, 717, 1);
      clearGl();
      for (int frame = 0; frame < 3; frame++) {
        if (inParts) {
          advancePlayback(set.dynamic, set.tmin, set.tmaxstatic, pic.tmax);
          beginScene(set, pic);
          while (!continueScene(set, pic, {everyThirdAsking, &asked})) {}
        } else nextFrame(set, pic);
      }
      return glCalls;
    };
    auto whole = calls(false), parts = calls(true);
    EXPECT_GE(asked, 3) << map << mode; // paused at least once
    EXPECT_TRUE(whole == parts) << map << mode;
  }
}

// A frame can take minutes: the first one after a change of background
// clears with the new colour, and every other frame clears with the colour
// its predecessor set, setting its own after the clear.
TEST(Scene, FrameAfterABackgroundChangeClearsWithTheNewColour) {
  Settings set = startUpSettings();
  set.tmaxstatic = 1, set.tmin = 0;
  Picture pic = pictureOf(set, 950, 717, 1);
  auto clears = [&] {
    clearGl();
    nextFrame(set, pic);
    std::string out;
    for (const GlCall &c : glCalls) {
      if (std::string(c.fn) == "glClear") out += "clear ";
      if (std::string(c.fn) == "glClearColor") out += "colour " + std::to_string((int)c.a[0]) + " ";
    }
    return out;
  };
  EXPECT_EQ(clears(), "clear colour 0 ");
  set.bg = 1;
  EXPECT_EQ(clears(), "colour 1 clear colour 1 ");
  EXPECT_EQ(clears(), "clear colour 1 ");
}
