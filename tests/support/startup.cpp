// Puts the viewer's record back to its start-up values between tests: the
// panels bind to its fields, whose addresses an assignment keeps.
#include "support/startup.h"

#include "app/frame.h"
#include "support/fake_gl.h"
#include "ui/input.h"
#include "ui/layer.h"

void restoreStartup() {
  viewer = Viewer();
  static bool built = false;
  if (!built) {
    showPanels();
    built = true;
  }
  installInput(viewer.set, viewer.pic, viewer.input);
  ui::master.passive = nullptr;
  clearGl();
}
