// Puts the viewer's record back to its start-up values between tests: the
// panels bind to its fields, whose addresses an assignment keeps.
#include "support/startup.h"

#include "support/fake_gl.h"
#include "ui/input.h"
#include "ui/layer.h"
#include "ui/panels.h"

void restoreStartup() {
  viewer = Viewer();
  static bool built = false;
  if (!built) {
    buildPanels(ui::master.create_subwindow(1, ui::SUBWINDOW_RIGHT),
                ui::master.create_subwindow(1, ui::SUBWINDOW_BOTTOM), viewer.set, viewer.pic,
                viewer.rollouts);
    built = true;
  }
  installInput(viewer.set, viewer.pic, viewer.input);
  ui::master.set_glutPassiveMotionFunc(nullptr);
  clearGl();
}
