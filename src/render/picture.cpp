// One picture of the scene, from the clear to the flush: what the viewer's
// frame draws under its panels and what the batch program renders.
#include "render/picture.h"

#include <GL/gl.h>

#include "render/overlays.h"
#include "render/reference.h"
#include "render/strokes.h"

Picture startUpPicture(const Settings &s) {
  Picture pic;
  pic.tmax = s.tmaxstatic;
  Trajectory &r = pic.run;
  r = Trajectory{};
  r.x = r.x2 = s.start[0], r.y = r.y2 = s.start[1], r.z = r.z2 = s.start[2];
  r.xsec = s.start[0], r.ysec = s.start[1], r.zsec = s.start[2];
  r.x2sec = s.twinStart[0], r.y2sec = s.twinStart[1], r.z2sec = s.twinStart[2];
  r.stretcher = 1.0;
  return pic;
}

// ======== One step inside the window ==============================================
// The maximum map replaces everything else; any other map value draws nothing.
void drawStep(const Settings &set, Picture &pic, bool last) {
  if (set.map == 1) {
    drawMaxMap(set, pic, last);
  } else if (set.map == 0) {
    drawStrokes(set, pic);
    if (set.second == 1) drawMarker(set, pic, last);
    drawTracer(set, pic);
    // Mesa keeps every primitive until a flush, so its memory would grow
    // with tmax/dt: hand it what it holds every 16384 steps.
    if ((pic.run.n & 0x3fff) == 0 && !pic.widths.literalCalls) glFlush();
  }
}

namespace {

struct StepContext {
  const Settings *set;
  Picture *pic;
};

void drawThrough(void *ctx, bool last) {
  const StepContext &c = *static_cast<StepContext *>(ctx);
  drawStep(*c.set, *c.pic, last);
}

} // namespace

// ======== The scene ===================================================================
// The pan stays in the modelview matrix between pictures; the camera, the
// rotation and the curve are pushed over it.
void drawScene(const Settings &set, Picture &pic, bool (*cut)()) {
  reanchorPan(set.xtranslate, set.ytranslate, pic.pan);
  clearScene(set.bg);
  forgetWidths(pic.widths);
  glPushMatrix();
  glTranslatef(0, 0, -10);
  loadStart(pic.run);
  rotateView(set.t1, set.t2);
  // at the scale the previous picture's last step left
  drawReference(set, {pic.run.stretcher, set.zoom}, pic.widths);
  StepContext ctx{&set, &pic};
  replaySteps(replaySettings(set, pic.tmax), pic.run, drawThrough, &ctx, cut);
  glPopMatrix();
  glFlush();
}
