// One frame's replay and the playback between frames.
#include <gtest/gtest.h>

#include <tuple>

#include "render/picture.h"
#include "sim/playback.h"

static std::vector<int> drawn, lasts; // steps handed to the drawing, and as a frame's last
static void keep(void *ctx, bool last) {
  drawn.push_back(static_cast<Trajectory *>(ctx)->n);
  if (last) lasts.push_back(drawn.back());
}

// A frame cut on the yesAt-th asking, if any.
static void frame(const Settings &set, Picture &pic, int yesAt = 0) {
  drawn.clear(), lasts.clear();
  loadStart(pic.run);
  int asking[2] = {0, yesAt};
  const Cut cut = {[](void *c) { return ++static_cast<int *>(c)[0] == static_cast<int *>(c)[1]; },
                   asking};
  replaySteps(replaySettings(set, pic.tmax), pic.run, keep, &pic.run, cut);
}

// Only Segment moves it, in frames that reach step ten, by the steps the
// core takes (their bits pinned in core_test); the twin's start stays
// while the twin is off.
TEST(Replay, SegmentModeMovesStartTenStepsPerFrame) {
  auto stepped = [](int steps) {
    std::vector<double> s = {5, 5, 1, 5 + 1e-5};
    const ReplaySettings r = replaySettings(startUpSettings(), 1);
    for (Slopes k; steps > 0; steps--) rk4(*r.model, r.p, r.dt, s[0], s[1], s[2], k);
    return s;
  };
  for (auto [mode, tmax, stepsPerFrame] :
       {std::tuple{0, 1.0f, 0}, {1, 1.0f, 0}, {2, 1.0f, 10}, {2, 0.05f, 0}}) {
    Settings set = startUpSettings();
    set.dynamic = mode, set.tmaxstatic = tmax;
    Picture pic = startUpPicture(set);
    for (int f = 1; f <= 3; f++) {
      frame(set, pic);
      EXPECT_EQ((std::vector<double>{pic.run.xsec, pic.run.ysec, pic.run.zsec, pic.run.x2sec}),
                stepped(f * stepsPerFrame))
          << "mode " << mode << " tmax " << tmax << " frame " << f;
    }
  }
}

// Steps past tmin, step 10000, are drawn; asked every 256 steps, a yes
// ends the frame on the step just taken, drawn as the last.
TEST(Replay, LongFrameCutEndsTheReplayOnTheStepAsked) {
  for (auto [yes, lastStep] : {std::pair{40, 10239}, {41, 10495}, {0, 39999}}) {
    Settings set = startUpSettings();
    Picture pic = startUpPicture(set);
    frame(set, pic, yes);
    ASSERT_FALSE(drawn.empty()) << yes;
    EXPECT_EQ((std::vector<int>{drawn.front(), drawn.back(), (int)drawn.size(), pic.run.n}),
              (std::vector<int>{10001, lastStep, lastStep - 10000, lastStep + 1}))
        << yes;
    EXPECT_EQ(lasts, std::vector<int>{lastStep}) << yes;
  }
}

// Dynamic's second frame from tmin 50: 50.1f and a tenth added in double, the float below 50.2f.
static const float grown = 50.199997f;

// Dynamic grows tmax by a tenth and falls back to tmin once past the end;
// Static ends on the user's end; Segment holds it but falls back when the
// user lowers the end below it.
TEST(Replay, PlaybackGrowsDynamicByATenthAndFallsBackToTmin) {
  const struct {
    int mode;
    float tmax, tmaxstatic, want;
  } cases[] = {{1, 50, 200, 50.1f}, {1, 50.1f, 200, grown}, {1, 199.95f, 200, 50},
               {0, 3, 200, 200},    {0, 500, 200, 200},     {2, 200, 200, 200},
               {2, 200, 100, 50},   {2, 50, 100, 50}};
  for (const auto &c : cases) {
    float tmax = c.tmax;
    advancePlayback(c.mode, 50, c.tmaxstatic, tmax);
    EXPECT_EQ(tmax, c.want) << "mode " << c.mode << " from " << c.tmax << " to " << c.tmaxstatic;
  }
}

// A picture kept from the viewer names the frame render --frame draws:
// Dynamic's k-th frame ends k tenths past tmin (as the floats add up),
// Segment's window ends at tmax from its first frame on, and an end that
// no frame reaches (tmin moved while Dynamic grew) names none.
TEST(Replay, PlaybackFrameNamesTheFrameThatEndsAtTmax) {
  const struct {
    int mode;
    float tmax;
    int frame;
  } cases[] = {{1, 50.1f, 1}, {1, grown, 2}, {1, 50.15f, 0}, {2, 200, 1}, {2, 150, 0}};
  for (const auto &c : cases)
    EXPECT_EQ(playbackFrame(c.mode, 50, 200, c.tmax), c.frame)
        << "mode " << c.mode << " " << c.tmax;
}
