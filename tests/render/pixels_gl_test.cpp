// Under Xvfb with Mesa: the frame drawn with widths sent only when they
// change gives the same framebuffer, pixel for pixel, as the frame that
// sends every width as asked.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <vector>

#include "app/frame.h"
#include "app/state.h"
#include "render/scene.h"
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

// Static playback keeps the start still, so both frames replay the same
// steps; tmin 0 reaches ages where the ghost width is 0.
void still() {
  restoreStartup();
  dynamic = 0, tmin = 0, tmax = tmaxstatic = 100, tracer = 1, box = 1, axes = 1;
  glClearColor(0, 0, 0, 0);
}

} // namespace

TEST(PixelsGl, EverySchemeThicknessAndTwinDrawsTheSamePixels) {
  for (int scheme = 1; scheme <= 7; scheme++)
    for (int thick : {1, 3, 5})
      for (int twin : {0, 1}) {
        still();
        coloring = scheme, thickness = thick, second = twin;
        auto literal = render(1);
        ASSERT_GT(differing(literal, std::vector<unsigned char>(literal.size())), 10000);
        EXPECT_EQ(differing(literal, render(0)), 0)
            << "scheme " << scheme << " thickness " << thick << " twin " << twin;
      }
}

TEST(PixelsGl, MaximumMapAndWhiteBackgroundDrawTheSamePixels) {
  for (int attractor : {0, 1}) {
    still();
    map = 1, attype = attractor, bg = 1;
    render(1); // the clear colour follows one frame late
    auto literal = render(1);
    ASSERT_GT(differing(literal, std::vector<unsigned char>(literal.size())), 10000);
    EXPECT_EQ(differing(literal, render(0)), 0) << "attractor " << attractor;
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
