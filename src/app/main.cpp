// Start-up: the window, the panels, the callbacks, and the event loop.
// From glutMainLoop on, everything happens in callbacks.
#include <GL/freeglut.h>

#include "app/frame.h"
#include "app/viewer.h"
#include "ui/input.h"
#include "ui/layer.h"
#include "ui/layer_glut.h"
#include "ui/panels.h"

#ifdef TRESOLVA_CHECK_GL
#include <cstdio>

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

int main(int argc, char **argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE);
  glutInitWindowSize(1200, 750);
  int window = glutCreateWindow("Tresolva");
  ui::attachToWindow();

  // The only time the modelview matrix is loaded: the pan lives in it.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();

  installInput(viewer.set, viewer.pic, viewer.input);
  ui::Subwindow *right = ui::master.create_subwindow(window, ui::SUBWINDOW_RIGHT);
  ui::Subwindow *bottom = ui::master.create_subwindow(window, ui::SUBWINDOW_BOTTOM);
  buildPanels(right, bottom, viewer.set, viewer.pic, viewer.rollouts);

  glutDisplayFunc(display);

  glutIdleFunc(idle);
  ui::master.set_glutReshapeFunc(reshape);

  glutMainLoop();
  return 0;
}
