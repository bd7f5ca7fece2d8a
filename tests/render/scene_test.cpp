// A scene drawn in parts, and the clear after a change of background.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/picture.h"
#include "render/scene.h"
#include "sim/playback.h"
#include "support/fake_gl.h"

// A page that must not block draws a frame over many animation frames: the
// GL calls of all the parts are those of one scene, for the curve with the
// twin and for the maximum map, in every playback mode.
struct Asking {
  int asked = 0, pauses = 0;
};
static bool everyThirdAsking(void *context) {
  Asking &a = *static_cast<Asking *>(context);
  a.asked = a.asked + 1;
  if (a.asked % 3 != 0) return false;
  a.pauses++;
  return true;
}

TEST(Scene, SceneDrawnInPartsSendsTheCallsOfOneScene) {
  for (auto [map, mode] : {std::pair{0, 0}, {0, 2}, {1, 1}}) {
    Settings set = startUpSettings();
    set.second = 1, set.map = map, set.dynamic = mode, set.tracer = 1, set.tmaxstatic = 20;
    Asking asking;
    auto calls = [&](bool inParts) {
      Picture pic = pictureOf(set, 950, 717, 1);
      clearGl();
      for (int frame = 0; frame < 3; frame++) {
        if (!inParts) {
          nextFrame(set, pic);
          continue;
        }
        advancePlayback(set.dynamic, set.tmin, set.tmaxstatic, pic.tmax);
        beginScene(set, pic);
        while (!continueScene(set, pic, {everyThirdAsking, &asking})) {}
      }
      std::vector<std::pair<std::string, std::vector<double>>> out(glCalls.size());
      std::transform(glCalls.begin(), glCalls.end(), out.begin(), [](const GlCall &c) {
        return std::pair{std::string(c.fn), std::vector<double>(c.a, c.a + 6)};
      });
      return out;
    };
    auto whole = calls(false), parts = calls(true);
    EXPECT_GT(asking.pauses, 0) << map << mode;
    EXPECT_EQ(whole.size(), parts.size()) << map << mode;
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
