// One picture of the scene, from the clear to the flush: what the viewer's
// frame draws under its panels and what the batch program renders, each
// from a record of its own.
#pragma once

#include <chrono>
#include <cmath>

#include "render/heldpoints.h"
#include "render/scene.h"
#include "render/widths.h"
#include "sim/core.h"
#include "state/settings.h"

// What a replay came to, for the viewer's readout. With the twin, ln d is
// fitted by least squares against t over the drawn steps from the first to
// the one where it first reaches 0 (beyond it the distance saturates): its
// slope estimates the largest Lyapunov exponent over that finite time.
struct FrameNumbers {
  long steps = 0;                                 // drawn this frame
  double lnd = NAN;                               // ln d at the latest step
  double n = 0, st = 0, sl = 0, stt = 0, stl = 0; // the fit's sums, t counted from t0
  double t0 = NAN, t1 = NAN;                      // the fit's first and last step
  bool saturated = false;                         // ln d has reached 0: the fit is closed
  double leftFiniteAt = NAN; // replay time the main trajectory left the finite numbers
};
// Notes the twin's distance after the latest step of r, and adds it to the
// fit until the fit is closed.
void noteSeparation(const Trajectory &r, FrameNumbers &f);
// The fitted slope; NaN under two points.
double lndSlope(const FrameNumbers &f);

// What a picture is drawn from besides the settings, and what it leaves
// for the next one.
struct Picture {
  float tmax;                 // end of this frame's replay, moved by the playback
  Trajectory run;             // both trajectories: states, start states, history, slopes
  double xmaxold = 0;         // previous maximum of the maximum map, never cleared
  Anchor pan;                 // xtranslatemp, ytranslatemp, reseta
  int clearColour = 0;        // the background the clear colour stands for (GL starts black)
  Widths widths;              // the widths in force, and literalCalls
  HeldPoints held;            // marker points not drawn yet
  bool mapPointDrawn = false; // this frame has drawn a maximum-map point
  FrameNumbers numbers;       // of the latest replay
  Trajectory began{};         // the trajectory as the scene being drawn found it
  double leftAtBefore = NAN;  // the previous scene's leftFiniteAt
};

// The picture the viewer starts with under s: both trajectories at the
// main start, the twin to start from its own; the scale at 1.
Picture startUpPicture(const Settings &s);

// The picture of a settings record in a width x height framebuffer, as if
// the settings had been in force for a while: the background already
// cleared with, the model's scale already left by a step, the pan in the
// modelview matrix as the viewer keeps it; lines and points widthScale
// times as wide as on the screen. Its first frame comes after one step of
// the playback (advancePlayback), as in the viewer.
Picture pictureOf(const Settings &s, int width, int height, float widthScale);

// The next frame of such a picture: the playback moves tmax, as the
// viewer's idle callback does between frames, then the scene is drawn.
void nextFrame(const Settings &s, Picture &pic, Cut cut = {});

// The settings that draw this picture again: the start states as the
// trajectory holds them, and the pan as the modelview matrix holds it
// (every drag added in single precision); a Reset not yet drawn takes the
// pan out.
Settings viewedSettings(const Settings &set, const Picture &pic);

// The drawing of one step inside the time window; last: the frame's final step.
void drawStep(const Settings &set, Picture &pic, bool last);
// The scene for the settings; cut, asked every 256 steps, may end the
// replay early (the viewer's frame does so when input waits).
void drawScene(const Settings &set, Picture &pic, Cut cut = {});

// The same scene drawn in parts, for a page that must never block:
// beginScene, then continueScene until it returns true (pause, asked every
// 256 steps, ends a part); abandonScene drops a scene begun and not ended.
void beginScene(const Settings &set, Picture &pic);
bool continueScene(const Settings &set, Picture &pic, Cut pause);
void abandonScene(Picture &pic);

// How long a frame, or a part of one, may run before it gives way: once
// seconds have passed since began, the scene stops at the next question,
// if the context's waiting says so (input waits), or at once without it.
// The viewer cuts a frame after 0.1 s when input waits; the page pauses a
// part after 10 ms.
struct Deadline {
  std::chrono::steady_clock::time_point began;
  double seconds;
  bool (*waiting)(void *context) = nullptr;
  void *context = nullptr;
  bool stopped = false; // the scene stopped here
};
// The question a scene asks of the deadline.
Cut cutAt(Deadline &d);
