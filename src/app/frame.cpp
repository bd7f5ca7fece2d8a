// The display callback, step by step (the panels' input, the scene, the
// panels over it), the reshape callback, and the idle callback between
// frames; and the one instance of the viewer's state.
#include "app/frame.h"

#include <GL/freeglut.h>

#include "app/keep.h"
#include "app/viewer.h"
#include "render/picture.h"
#include "render/scene.h"
#include "sim/playback.h"
#include "ui/input.h"
#include "ui/layer.h"

Viewer viewer;

// ======== Input during a long frame ==================================================
// A frame at the panels' limits (1e8 steps) takes tens of seconds. Once it
// has run 0.1 s, waiting input ends it early, and so does input the panels
// took at its start, whose effect shows only when the frame ends.
namespace {
const double OVERDUE_S = 0.1; // no shorter frame is ever cut

bool inputWaiting(void *panels) {
  return static_cast<const ui::Master *>(panels)->inputWaiting();
}

Deadline frameDeadline(const Viewer &v, ui::Master &panels) {
  return {v.frameStart, OVERDUE_S, inputWaiting, &panels};
}
} // namespace

// ======== The panels ================================================================
void showPanels() {
  Viewer &v = viewer;
  ui::master.right.contents = [&v] { layoutPanel(panelLayout().right, v.set, v.pic, v.panels); };
  ui::master.bottom.contents = [&v] { layoutPanel(panelLayout().bottom, v.set, v.pic, v.panels); };
}

// ======== Viewport ==================================================================
// The width and height are the window's; the scene gets what the panels
// leave uncovered.
void reshape(int, int) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  int vx, vy, vw, vh;
  ui::master.get_viewport_area(&vx, &vy, &vw, &vh);
  setViewportAndFrustum(vx, vy, vw, vh);
}

// ======== Between frames ===========================================================
void idle() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  const Settings &s = viewer.set;
  advancePlayback(s.dynamic, s.tmin, s.tmaxstatic, viewer.pic.tmax);
  glutPostRedisplay();
}

// ======== Ctrl+S ====================================================================
// The scene as this frame drew it, with the settings from before it (in
// Segment playback the frame moves the start), into the pictures folder.
// Only a frame drawn whole is kept: one cut short by input (the key's own
// release, on a slow machine) leaves the request to the next.
void keepScene(const Settings &viewed) {
  viewer.input.keepAsked = false;
  int x, y, w, h;
  ui::master.get_viewport_area(&x, &y, &w, &h);
  const int frame = viewed.dynamic == 0 ? 0
                                        : playbackFrame(viewed.dynamic, viewed.tmin,
                                                        viewed.tmaxstatic, viewer.pic.tmax);
  std::string said = keepPicture(picturesFolder(), readRgb(x, y, w, h), w, h, viewed, frame);
  viewer.notice = {said, std::chrono::steady_clock::now() + std::chrono::seconds(5)};
}

// ======== The frame =================================================================
void draw() {
  viewer.frameStart = std::chrono::steady_clock::now();
  ui::master.beginFrame(); // the panels take their input before the scene reads it
  glutPostRedisplay();     // the next frame follows without any input
  const bool keep = viewer.input.keepAsked;
  const Settings viewed = keep ? viewedSettings(viewer.set, viewer.pic) : Settings{};
  Deadline deadline = frameDeadline(viewer, ui::master);
  drawScene(viewer.set, viewer.pic, cutAt(deadline));
  viewer.frameCut = deadline.stopped;
  zoomKeyStep(viewer.set, viewer.input);
  if (keep && !viewer.frameCut) keepScene(viewed); // before anything covers the scene
  const Viewer &v = viewer;
  const std::string over = layoutOverScene(textOverScene(v.set, v.pic, v.input, v.times, v.notice));
  ui::master.renderFrame(over); // the panels and the boxes over the scene
  glutSwapBuffers();
  timeFrame(viewer.times, viewer.frameStart);
}
