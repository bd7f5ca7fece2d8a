// Pictures for a settings file, drawn by the viewer's own drawing code into
// a headless canvas: frames of playback as RGB, PNG, or vectors.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "state/settings.h"

// Frames count from 1, each drawn after the playback's step between frames,
// with the settings already in force (background and scale). Static shows
// the same picture from its second frame on (the maximum map then carries
// the previous frame's last maximum, as it does in the viewer), so its
// frame is always the second; Dynamic grows the window from tmin by 0.1 a
// frame and Segment moves its start ten steps a frame.
int shownFrame(const Settings &s, int frame);
// Why a frame asked for by number (option names it) picks nothing: "" for
// Dynamic and Segment, whose frames differ.
std::string frameRefusal(const Settings &s, const std::string &option);

// The viewer's scene at start-up: its 1200 x 750 window less the panels.
const int SCENE_WIDTH = 950, SCENE_HEIGHT = 717;

// The picture's size. Its lines and points are as thick against its height
// as the viewer's against its scene's start-up height, or as many pixels
// with pixelWidths. With samples > 1 each pixel is the mean of that
// many samples (vector pictures have no pixels and ignore it).
struct Look {
  int width = SCENE_WIDTH, height = SCENE_HEIGHT;
  bool pixelWidths = false;
  int samples = 0;
};

// take(k, rgb) for each frame k from first to last, rgb top row first;
// take returns false to stop. On a failure, error says why.
using TakeFrame = std::function<bool(int k, const std::vector<unsigned char> &rgb)>;
bool drawFrames(const Settings &s, const Look &look, int first, int last, const TakeFrame &take,
                std::string &error);

// One frame as vectors: format "svg", "pdf" or "eps".
bool vectorPicture(const Settings &s, const Look &look, int frame, const std::string &format,
                   std::string &out, std::string &error);
