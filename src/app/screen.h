// What the viewer writes over its scene: the help, the readout of the
// numbers behind the picture, and notices (a picture saved, a run that
// left the finite numbers).
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "interact/readout.h"
#include "render/picture.h"
#include "ui/input.h"
#include "ui/layer.h"

// A line shown over the scene until a moment.
struct Notice {
  std::string text;
  Clock::time_point until;
};

// The boxes over the scene: the readout and the help when asked, the
// notices while they last.
std::vector<ui::TextBox> textOverScene(const Settings &set, const Picture &pic, const Input &in,
                                       const FrameTimes &times, const Notice &notice);
