// Puts the viewer's record back to its start-up values between tests, with
// the panels and the scene's handlers installed once over it.
#pragma once

#include "app/frame.h"
#include "app/viewer.h"
#include "support/fake_gl.h"
#include "ui/input.h"
#include "ui/layer.h"

inline void restoreStartup() {
  viewer = Viewer();
  showPanels();
  installInput(viewer.set, viewer.pic, viewer.input);
  ui::master.passive = nullptr;
  clearGl();
}
