// Puts the viewer's record back to its start-up values between tests, with
// the panels and the scene's handlers installed over it.
#include "support/startup.h"

#include "app/frame.h"
#include "support/fake_gl.h"
#include "ui/input.h"
#include "ui/layer.h"

void restoreStartup() {
  viewer = Viewer();
  showPanels();
  installInput(viewer.set, viewer.pic, viewer.input);
  ui::master.passive = nullptr;
  clearGl();
}
