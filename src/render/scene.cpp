// Where a model point lands on screen: viewport and projection, the camera
// at the start of a frame, and the model-to-scene mapping.
#include "render/scene.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>

namespace {
const int nx = 1, ny = 1; // the mapping's divisors, never changed
} // namespace

// ======== Viewport and projection =============================================
// The frustum stays square whatever the viewport's shape. The camera sits 10 in front of the scene,
// which spans about 5 either way.
void setViewportAndFrustum(int x, int y, int width, int height) {
  glViewport(x, y, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-1, 1, -1, 1, 5, 15);
  glMatrixMode(GL_MODELVIEW);
}

// GL packs each row to 4 bytes and reads from the bottom row up.
std::vector<unsigned char> readRgb(int x, int y, int width, int height) {
  const size_t row = (size_t)width * 3, packed = (row + 3) & ~(size_t)3;
  std::vector<unsigned char> up(packed * height), rgb(row * height);
  glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, up.data());
  for (int r = 0; r < height; r++)
    std::copy_n(up.begin() + (std::ptrdiff_t)(packed * r), row,
                rgb.begin() + (std::ptrdiff_t)(row * (height - 1 - r)));
  return rgb;
}

// ======== Camera ==============================================================
// The pan lives in the modelview matrix between frames; only the first frame
// after Reset (reseta 1) moves it, back to the last anchor.
void reanchorPan(double xtranslate, double ytranslate, Anchor &a) {
  double r = a.reseta;
  glTranslatef(-(xtranslate - a.xtranslatemp) * r, 0, 0);
  glTranslatef(0, -(ytranslate - a.ytranslatemp) * r, 0);
  if (a.reseta == 1) {
    a.xtranslatemp = xtranslate;
    a.ytranslatemp = ytranslate;
  }
  a.reseta = 0;
}

// The clear colour is set after the clear, for the next frame's clear. A
// frame that finds another colour in force (the background has just
// changed) sets its own before the clear as well: a frame can take minutes,
// and one cleared with the old colour would show the old background all
// that time.
void clearScene(int bg, int &clearColour) {
  float c = bg;
  if (bg != clearColour) glClearColor(c, c, c, c);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glClearColor(c, c, c, c);
  clearColour = bg;
}

// A vertex turns about y by t2 first, then about x by t1.
void rotateView(double t1, double t2) {
  glRotatef((float)t1, 1, 0, 0);
  glRotatef((float)t2, 0, 1, 0);
}

// ======== Model to scene ======================================================
// Model z is the scene's height and model y its depth, each axis with its own
// scale. Products are formed left to right, in double, then narrowed.
void scenePoint(const SceneScale &k, double x, double y, double z, float out[3]) {
  double fx = nx, fy = ny, s = k.stretcher, zm = k.zoom;
  double X = ((fx / 20) * s * zm) * x + fx * 0.5 - 1;
  double Y = ((fy / 15) * s * zm) * z + fy * 0.5 - 2;
  double Z = ((fy / 25) * s * zm) * y + fy * 0.5;
  out[0] = (float)X, out[1] = (float)Y, out[2] = (float)Z;
}

void sceneVertex(const SceneScale &k, double x, double y, double z) {
  float v[3];
  scenePoint(k, x, y, z, v);
  glVertex3f(v[0], v[1], v[2]);
}
