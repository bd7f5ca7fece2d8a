// Start-up: the window, the panels, the callbacks, and the event loop.
// From glutMainLoop on, everything happens in callbacks.
#include <GL/freeglut.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/frame.h"
#include "app/viewer.h"
#include "app/window.h"
#include "ui/input.h"
#include "ui/layer.h"
#include "ui/panels.h"

#ifdef TRESOLVA_CHECK_GL
// Test build: every frame ends by reporting any GL error it raised.
static void drawChecked() {
  draw();
  for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError())
    std::fprintf(stderr, "GL error 0x%04x\n", e);
}
static void (*const display)() = drawChecked;
#else
static void (*const display)() = draw;
#endif

// ======== The screen's density ========================================================
// The panels' text and sizes scale with the screen's resolution, in quarter
// steps from 96 dots an inch (1) up; TRESOLVA_SCALE overrides it.
static float screenScale() {
  if (const char *asked = std::getenv("TRESOLVA_SCALE")) {
    char *end = nullptr;
    double v = std::strtod(asked, &end);
    if (end != asked && *end == '\0' && v >= 0.5 && v <= 4) return (float)v;
    std::fprintf(stderr,
                 "tresolva: TRESOLVA_SCALE=%s is not a scale from 0.5 to 4; "
                 "the screen's own is used\n",
                 asked);
  }
  int pixels = glutGet(GLUT_SCREEN_HEIGHT), mm = glutGet(GLUT_SCREEN_HEIGHT_MM);
  if (pixels <= 0 || mm <= 0) return 1;
  double quarters = std::round(pixels * 25.4 / mm / 96 * 4);
  return quarters > 4 ? (float)(quarters / 4) : 1;
}

static const char *const FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

int main(int argc, char **argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE);
  const float scale = screenScale();
  const int sw = glutGet(GLUT_SCREEN_WIDTH), sh = glutGet(GLUT_SCREEN_HEIGHT);
  glutInitWindowSize(std::min((int)(1200 * scale), sw > 0 ? sw : 1200),
                     std::min((int)(750 * scale), sh > 0 ? sh : 750));
  glutCreateWindow("Tresolva");
  if (scale != 1 && access(FONT, R_OK) != 0)
    std::fprintf(stderr,
                 "tresolva: %s is missing (Debian's fonts-dejavu-core): the panels' "
                 "text is scaled as a bitmap\n",
                 FONT);
  attachToWindow(scale, FONT);

  // The only time the modelview matrix is loaded: the pan lives in it.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();

  installInput(viewer.set, viewer.pic, viewer.input);
  showPanels();

  glutDisplayFunc(display);

  glutIdleFunc(idle);
  ui::master.reshape = reshape;

  glutMainLoop();
  return 0;
}
