// Puts the process-wide state back to its start-up values between tests,
// with the panels built once so that their handles exist.
#include "support/startup.h"

#include <algorithm>
#include <iterator>

#include "app/state.h"
#include "support/fake_gl.h"
#include "ui/layer.h"
#include "ui/panels.h"

void restoreStartup() {
  sigma = 10, ro = 28, beta = 8.0f / 3.0f, aa = 0.2f, bb = 0.2f, cc = 5.7f;
  dsigma = 0, dro = 0.1f, dbeta = 0, daa = 0.01f, dbb = 0, dcc = 0;
  attype = 0, dt = 0.005f, tmin = 50, tmax = 200, tmaxstatic = 200, dynamic = 2, second = 0;
  map = 0, xygrid = 1, box = 0, axes = 0, tracer = 0, coloring = 3, bg = 0, thickness = 1;
  zoom = 1, stretcher = 1, literalCalls = 1;
  x = y = x2 = y2 = 5, z = z2 = 1;
  xsec = ysec = 5, zsec = 1;
  x2sec = 5 + 1e-5, y2sec = 5 + 1e-5, z2sec = 1 + 1e-5;
  xold = yold = zold = xoldt = x2old = y2old = z2old = 0;
  k1x = k2x = k3x = k4x = k1y = k2y = k3y = k4y = k1z = k2z = k3z = k4z = 0;
  t = 0, n = 0, xmaxold = 0;
  t1 = t2 = 0, xtranslate = ytranslate = xtranslatemp = ytranslatemp = 0, reseta = 0;
  std::fill(std::begin(KeyDown), std::end(KeyDown), 0);
  zkeydown = 0, xmouseold = ymouseold = 400;

  static bool built = false;
  if (!built) {
    buildPanels(ui::master.create_subwindow(1, ui::SUBWINDOW_RIGHT),
                ui::master.create_subwindow(1, ui::SUBWINDOW_BOTTOM));
    built = true;
  }
  ui::master.set_glutMotionFunc(nullptr);
  ui::master.set_glutPassiveMotionFunc(nullptr);
  clearGl();
}
