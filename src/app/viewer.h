// The viewer's whole state: one record, one instance for the run, owned
// here at the top. GLUT's callbacks reach it here; everything below takes
// the parts it reads or writes as arguments.
#pragma once

#include <chrono>

#include "app/screen.h"
#include "render/picture.h"
#include "state/settings.h"
#include "ui/input.h"
#include "ui/panels.h"

struct Viewer {
  Settings set = startUpSettings();                 // what the panels show and edit
  Picture pic = startUpPicture(set);                // trajectories, playback, what frames leave
  Input input;                                      // keys held, zoom cursor, last pointer
  PanelMemory panels;                               // rollouts open, numbers being edited
  std::chrono::steady_clock::time_point frameStart; // when the frame being drawn began
  bool frameCut = false;                            // input ended this frame early
  FrameTimes times;                                 // of the frames drawn, for the readout
  Notice notice;                                    // a line over the scene for a while
};

extern Viewer viewer;
