// The scene's mouse and keyboard: turning, panning, zooming within the
// limits, the space bar and re-seeding.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <vector>

#include "support/fake_gl.h"
#include "support/startup.h"
#include "ui/layer.h"

static Settings &set = viewer.set;
static Picture &pic = viewer.pic;
static const auto press = [](unsigned char key) { myKeyboardFunc(set, pic, viewer.input, key); };

// Left: 0.5 degree a pixel (200 at once is a warp); right: 0.01 a pixel, in the matrix too; z held
// (u: let go): 0.4 a 100 pixels up, within 0.1 to 300. Row: how, dx, dy; t1, t2; pan x, y; zoom.
TEST(InputHandlers, DragsRotatePanAndZoomWithinTheLimits) {
  const double cases[][8] = {{GLUT_LEFT_BUTTON, 20, -10, -5, 10, 0, 0, 1},
                             {GLUT_LEFT_BUTTON, 300, 10, 5, 0, 0, 0, 1},
                             {GLUT_RIGHT_BUTTON, 100, -50, 0, 0, 1, 0.5, 1},
                             {'z', 0, -100, 0, 0, 0, 0, 1.4f},
                             {'z', 0, 1e5, 0, 0, 0, 0, 0.1f},
                             {'z', 0, -1e5, 0, 0, 0, 0, 300},
                             {'u', 0, -100, 0, 0, 0, 0, 1}};
  for (const auto &c : cases) {
    restoreStartup();
    press('z'), zoomKeyStep(set, viewer.input); // the zoom's handler stays installed from now on
    if (c[0] != 'z') keyboardUp(viewer.input, 'z');
    if (c[0] < 'a') MouseDown(set, viewer.input, (int)c[0], GLUT_DOWN, 400, 400);
    (c[0] < 'a' ? ui::master.motion : ui::master.passive)(400 + (int)c[1], 400 + (int)c[2]);
    std::vector<double> got = {set.t1, set.t2, set.xtranslate, set.ytranslate, set.zoom, 0, 0};
    for (const GlCall &g : callsOf("glTranslatef")) got[5] += g.a[0], got[6] += g.a[1];
    EXPECT_EQ(got, std::vector<double>({c[3], c[4], c[5], c[6], c[7], c[5], c[6]})) << c[1];
  }
}

// At start-up the increments are 0.1 to ro and 0.01 to a, none elsewhere.
TEST(InputHandlers, SpaceAddsTheShownAttractorsIncrementsWithinTheLimits) {
  const float cases[][3] = {{0, 28, 28.1f}, {0, 299.95f, 300}, {1, 0.2f, 0.21f}};
  for (const auto &c : cases) {
    restoreStartup();
    set.attype = (int)c[0], set.params[set.attype][0] = c[1];
    press(' ');
    EXPECT_FLOAT_EQ(set.params[set.attype][0], c[2]) << "attractor " << c[0];
  }
}

// Both start again where the main curve ended, the twin 1e-9 further.
TEST(InputHandlers, SReseedsBothStartsANanoApartOnlyWithTheTwinOn) {
  for (int twin : {0, 1}) {
    restoreStartup();
    set.second = twin, pic.run.x = 1, pic.run.z = 3;
    press('s');
    EXPECT_EQ(pic.run.xsec, twin ? 1 : 5);
    EXPECT_EQ(pic.run.z2sec, twin ? 3 + 1e-9 : 1 + 1e-5); // else the start-up twin start
  }
}
