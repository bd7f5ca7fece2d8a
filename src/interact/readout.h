// The readout of the numbers behind the picture (the time and head
// reached, the steps drawn, the frames' times, the twin's ln d and its
// fitted slope), the same lines on the desktop and in the page.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "render/picture.h"

using Clock = std::chrono::steady_clock;

struct FrameTimes {
  double last = 0;           // seconds the latest frame took to draw
  double perSecond = 0;      // frames a second, over the latest second or more
  int frames = 0;            // since counting began
  Clock::time_point counted; // when counting began
};
// Notes a frame that began at start and ends now.
void timeFrame(FrameTimes &f, Clock::time_point start);

// The readout's lines for the latest frame.
std::vector<std::string> readoutLines(const Settings &set, const Picture &pic,
                                      const FrameTimes &times);

// What the scene says over itself when its picture means nothing: the run
// left the finite numbers, the time window holds no step, or the view
// turns or moves the scene by no finite amount; each line says what to do.
std::vector<std::string> sceneNotices(const Settings &set, const Picture &pic);

// printf into a string, for lines of text.
template <typename... Numbers> std::string format(const char *f, Numbers... v) {
  char text[160];
  std::snprintf(text, sizeof text, f, v...);
  return text;
}
