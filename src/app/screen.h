// What the viewer writes over its scene: the help, the readout of the
// numbers behind the picture, and notices (a picture saved, a run that
// left the finite numbers); and the frames' times the readout shows.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "render/picture.h"
#include "ui/input.h"
#include "ui/layer.h"

using Clock = std::chrono::steady_clock;

struct FrameTimes {
  double last = 0;           // seconds the latest frame took to draw
  double perSecond = 0;      // frames a second, over the latest second or more
  int frames = 0;            // since counting began
  Clock::time_point counted; // when counting began
};
// Notes a frame that began at start and ends now.
void timeFrame(FrameTimes &f, Clock::time_point start);

// A line shown over the scene until a moment.
struct Notice {
  std::string text;
  Clock::time_point until;
};

// The readout's lines for the latest frame.
std::vector<std::string> readoutLines(const Settings &set, const Picture &pic,
                                      const FrameTimes &times);
// The boxes over the scene: the readout and the help when asked, the
// notices while they last.
std::vector<ui::TextBox> textOverScene(const Settings &set, const Picture &pic, const Input &in,
                                       const FrameTimes &times, const Notice &notice);
