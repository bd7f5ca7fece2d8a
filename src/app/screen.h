// What the viewer writes over its scene: the help, the readout of the
// numbers behind the picture, and notices (a picture saved, a run that
// left the finite numbers), each a box of lines laid out over the scene.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "interact/readout.h"
#include "render/picture.h"
#include "ui/input.h"

// A line shown over the scene until a moment.
struct Notice {
  std::string text;
  Clock::time_point until;
};

// A box of lines over the scene, which takes no input. In a table, each
// line's text before a tab is its first column.
struct TextBox {
  enum Place { TOP_LEFT, CENTRE, BOTTOM_LEFT } place;
  std::vector<std::string> lines;
  bool table = false;
};

// The boxes over the scene: the readout and the help when asked, the
// notices while they last.
std::vector<TextBox> textOverScene(const Settings &set, const Picture &pic, const Input &in,
                                   const FrameTimes &times, const Notice &notice);
// Lays the boxes out in this frame of the panels, each inside the scene's
// part of the window a margin from its edges; returns their text, a line each.
std::string layoutOverScene(const std::vector<TextBox> &boxes);
