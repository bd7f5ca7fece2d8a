// Under Xvfb with Mesa: the frame drawn with widths sent only when they
// change and overdrawn reference lines drawn once gives the same
// framebuffer, pixel for pixel, as the frame that sends every call as the
// figures ask.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cstdio>
#include <vector>

#include "app/frame.h"
#include "render/scene.h"
#include "state/state.h"
#include "support/startup.h"
#include "ui/layer.h"

// Nothing is recorded here: the calls go to the real GL.
void clearGl() {}

namespace {

std::vector<unsigned char> render(int literal) {
  double keptMax = xmaxold;
  literalCalls = literal;
  draw();
  xmaxold = keptMax; // the maximum map's memory, as the other way found it
  std::vector<unsigned char> px(size_t{1200} * 750 * 3);
  glReadBuffer(GL_BACK); // still holds the frame: Mesa copies it to the window on a swap
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 1200, 750, GL_RGB, GL_UNSIGNED_BYTE, px.data());
  return px;
}

long differing(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b) {
  long d = 0;
  for (size_t k = 0; k < a.size(); k += 3)
    d += a[k] != b[k] || a[k + 1] != b[k + 1] || a[k + 2] != b[k + 2];
  return d;
}

// Dynamic playback keeps the start still and, with no idle between frames,
// tmax too, so both frames replay the same steps, and it draws the tracer
// over the last step; tmin 0 reaches ages where the ghost width is 0. A
// first frame lets the clear colour and the reference figures' scale
// catch up.
void still(int attractor, float from) {
  restoreStartup();
  attype = attractor, dynamic = 1, tmin = from, tmax = tmaxstatic = 100;
  tracer = 1, box = 1, axes = 1;
}

void expectSamePixels(const char *what) {
  render(1);
  auto literal = render(1);
  ASSERT_GT(differing(literal, std::vector<unsigned char>(literal.size())), 10000) << what;
  EXPECT_EQ(differing(literal, render(0)), 0) << what;
}

} // namespace

// The turned view lays the marker's graph across the curve, so that held
// marker points meet strokes drawn after them.
TEST(PixelsGl, EverySchemeThicknessAndTwinDrawsTheSamePixels) {
  char what[128];
  for (int attractor : {0, 1})
    for (float from : {0.0f, 50.0f})
      for (int scheme = 1; scheme <= 7; scheme++)
        for (int thick : {1, 5})
          for (int twin : {0, 1})
            for (double turn : {0.0, 75.0}) {
              if (turn != 0 && !twin) continue;
              still(attractor, from);
              coloring = scheme, thickness = thick, second = twin, t1 = turn / 2, t2 = 1.2 * turn;
              std::snprintf(what, sizeof what,
                            "attractor %d tmin %g scheme %d thickness %d twin %d turn %g",
                            attractor, (double)from, scheme, thick, twin, turn);
              expectSamePixels(what);
            }
}

TEST(PixelsGl, MaximumMapAndWhiteBackgroundDrawTheSamePixels) {
  char what[64];
  for (int attractor : {0, 1})
    for (float from : {0.0f, 50.0f})
      for (int twin : {0, 1}) {
        still(attractor, from);
        map = 1, bg = 1, second = twin;
        std::snprintf(what, sizeof what, "map, attractor %d tmin %g twin %d", attractor,
                      (double)from, twin);
        expectSamePixels(what);
      }
}

// The window draws only once the server has mapped it.
bool exposed = false;
void onExpose() {
  exposed = true;
}

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE);
  glutInitWindowSize(1200, 750);
  glutCreateWindow("Tresolva pixels");
  glutDisplayFunc(onExpose);
  while (!exposed) glutMainLoopEvent();
  glLoadIdentity();
  ui::master.winW = 1200, ui::master.winH = 750;
  reshape(1200, 750);
  return RUN_ALL_TESTS();
}
