// One picture of the scene, from the clear to the flush: what the viewer's
// frame draws under its panels and what the batch program renders, each
// from a record of its own.
#pragma once

#include "render/heldpoints.h"
#include "render/scene.h"
#include "render/widths.h"
#include "sim/core.h"
#include "state/settings.h"

// What a picture is drawn from besides the settings, and what it leaves
// for the next one.
struct Picture {
  float tmax;                 // end of this frame's replay, moved by the playback
  Trajectory run;             // both trajectories: states, start states, history, slopes
  double xmaxold = 0;         // previous maximum of the maximum map, never cleared
  Anchor pan;                 // xtranslatemp, ytranslatemp, reseta
  Widths widths;              // the widths in force, and literalCalls
  HeldPoints held;            // marker points not drawn yet
  bool mapPointDrawn = false; // this frame has drawn a maximum-map point
};

// The picture the viewer starts with under s: both trajectories at the
// main start, the twin to start from its own; the scale at 1.
Picture startUpPicture(const Settings &s);

// The drawing of one step inside the time window; last: the frame's final step.
void drawStep(const Settings &set, Picture &pic, bool last);
// The scene for the settings; cut, asked every 256 steps, may end the
// replay early (the viewer's frame does so when input waits).
void drawScene(const Settings &set, Picture &pic, bool (*cut)() = nullptr);
