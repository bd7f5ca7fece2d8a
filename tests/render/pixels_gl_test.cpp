// Under Xvfb with Mesa: widths sent only when they change and overdrawn
// reference lines drawn once give the very same framebuffer as every call
// sent as the figures ask it, and no width GL refuses is sent.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cstring>

#include "render/picture.h"

static const int W = 1200, H = 750;

// The maximum map's memory is put back, so both ways start from the same.
static std::vector<unsigned char> render(const Settings &set, Picture &pic, int literal) {
  double keptMax = pic.xmaxold;
  pic.widths.literalCalls = literal;
  drawScene(set, pic);
  pic.xmaxold = keptMax;
  std::vector<unsigned char> px(size_t{W} * H * 3); // read from the back buffer: no swap yet
  glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, px.data());
  return px;
}

static long differing(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b) {
  long d = 0;
  for (size_t k = 0; k < a.size(); k += 3) d += std::memcmp(&a[k], &b[k], 3) != 0;
  return d;
}

// Dynamic replays the same steps each picture and draws the tracer; tmin 0
// reaches ghost widths of 0; looks 0..6 are the schemes, thin and thick in
// turn, 7 the maximum map on white, 8..14 the schemes at the other
// thickness in a view turned to lay the marker's graph across the curve,
// where held marker points meet later strokes.
TEST(PixelsGl, CachedWidthsDrawTheSamePixelsAsLiteralCalls) {
  for (int attractor : {0, 1})
    for (float from : {0.0f, 50.0f})
      for (int twin : {0, 1})
        for (int look = 0; look < (twin ? 15 : 8); look++) {
          SCOPED_TRACE(testing::Message() << "attractor " << attractor << " tmin " << from
                                          << " twin " << twin << " look " << look);
          Settings set = startUpSettings();
          set.attype = attractor, set.dynamic = 1, set.tmin = from, set.tmaxstatic = 100;
          set.tracer = set.box = set.axes = 1, set.second = twin;
          const int scheme = look % 8, turned = look > 7;
          set.coloring = scheme % 7 + 1, set.thickness = (scheme % 2 != turned) ? 5 : 1;
          set.map = set.bg = look == 7;
          set.t1 = turned ? 37.5 : 0, set.t2 = turned ? 90 : 0;
          Picture pic = startUpPicture(set);
          render(set, pic, 1); // the clear colour and the figures' scale catch up
          auto literal = render(set, pic, 1);
          while (glGetError() != GL_NO_ERROR) {} // literally, a width of 0 is sent and refused
          ASSERT_GT(differing(literal, std::vector<unsigned char>(literal.size())), 10000);
          EXPECT_EQ(differing(literal, render(set, pic, 0)), 0);
          EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
        }
}

static bool exposed = false; // the window draws only once the server has mapped it

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE);
  glutInitWindowSize(W, H);
  glutCreateWindow("Tresolva pixels");
  glutDisplayFunc([] { exposed = true; });
  while (!exposed) glutMainLoopEvent();
  setViewportAndFrustum(0, 0, W, H);
  return RUN_ALL_TESTS();
}
