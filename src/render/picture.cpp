// One picture of the scene, from the clear to the flush: what the viewer's
// frame draws under its panels and what the batch program renders.
#include "render/picture.h"

#include <GL/gl.h>

#include <cmath>

#include "render/overlays.h"
#include "render/reference.h"
#include "render/strokes.h"
#include "sim/playback.h"

Picture startUpPicture(const Settings &s) {
  Picture pic;
  pic.tmax = s.tmaxstatic;
  pic.run = startTrajectory(s);
  return pic;
}

Picture pictureOf(const Settings &s, int width, int height, float widthScale) {
  Picture pic = startUpPicture(s);
  pic.widths.scale = widthScale;
  loadStart(pic.run);
  pic.run.stretcher = models[s.attype].stretcher;
  pic.tmax = s.dynamic == 1 ? s.tmin : s.tmaxstatic;

  setViewportAndFrustum(0, 0, width, height);
  glLoadIdentity();
  glTranslatef((float)s.xtranslate, (float)s.ytranslate, 0);
  float b = (float)s.bg;
  glClearColor(b, b, b, b);
  pic.clearColour = s.bg;
  return pic;
}

void nextFrame(const Settings &s, Picture &pic, Cut cut) {
  advancePlayback(s.dynamic, s.tmin, s.tmaxstatic, pic.tmax);
  drawScene(s, pic, cut);
}

Settings viewedSettings(const Settings &set, const Picture &pic) {
  Settings s = set;
  const Trajectory &r = pic.run;
  s.start[0] = r.xsec, s.start[1] = r.ysec, s.start[2] = r.zsec;
  s.twinStart[0] = r.x2sec, s.twinStart[1] = r.y2sec, s.twinStart[2] = r.z2sec;
  float m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  s.xtranslate = s.ytranslate = 0;
  if (pic.pan.reseta != 1) s.xtranslate = m[12], s.ytranslate = m[13];
  return s;
}

// ======== The readout's numbers ====================================================
double lndSlope(const FrameNumbers &f) {
  double den = f.n * f.stt - f.st * f.st;
  if (f.n < 2 || !(den > 0)) return NAN;
  return (f.n * f.stl - f.st * f.sl) / den;
}

void noteSeparation(const Trajectory &r, FrameNumbers &f) {
  f.lnd = lnSeparation(r);
  if (f.saturated || !std::isfinite(f.lnd)) return;
  if (std::isnan(f.t0)) f.t0 = r.t;
  double t = r.t - f.t0;
  f.n += 1, f.st += t, f.sl += f.lnd, f.stt += t * t, f.stl += t * f.lnd;
  f.t1 = r.t;
  f.saturated = f.lnd >= 0;
}

// ======== One step inside the window ==============================================
// The maximum map replaces everything else; any other map value draws nothing.
void drawStep(const Settings &set, Picture &pic, bool last) {
  pic.numbers.steps++;
  if (set.second == 1) noteSeparation(pic.run, pic.numbers);
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
void beginScene(const Settings &set, Picture &pic) {
  reanchorPan(set.xtranslate, set.ytranslate, pic.pan);
  clearScene(set.bg, pic.clearColour);
  forgetWidths(pic.widths);
  glPushMatrix();
  glTranslatef(0, 0, -10);
  loadStart(pic.run);
  rotateView(set.t1, set.t2);
  // at the scale the previous picture's last step left
  drawReference(set, {pic.run.stretcher, set.zoom}, pic.widths);
  pic.began = pic.run;
  pic.leftAtBefore = pic.numbers.leftFiniteAt;
  pic.numbers = FrameNumbers{};
  pic.run.n = 0;
}

namespace {

void endScene(const ReplaySettings &replay, Picture &pic) {
  if (!mainFinite(pic.run))
    pic.numbers.leftFiniteAt =
        std::isnan(pic.leftAtBefore) ? leftFiniteAt(replay, pic.began) : pic.leftAtBefore;
  glPopMatrix();
  glFlush();
}

} // namespace

void drawScene(const Settings &set, Picture &pic, Cut cut) {
  beginScene(set, pic);
  StepContext ctx{&set, &pic};
  const ReplaySettings replay = replaySettings(set, pic.tmax);
  replaySteps(replay, pic.run, drawThrough, &ctx, cut);
  endScene(replay, pic);
}

bool continueScene(const Settings &set, Picture &pic, Cut pause) {
  StepContext ctx{&set, &pic};
  const ReplaySettings replay = replaySettings(set, pic.tmax);
  if (!continueSteps(replay, pic.run, drawThrough, &ctx, pause)) return false;
  endScene(replay, pic);
  return true;
}

void abandonScene(Picture &pic) {
  pic.numbers.leftFiniteAt = pic.leftAtBefore;
  glPopMatrix();
}

// ======== Giving way ================================================================
Cut cutAt(Deadline &d) {
  auto ask = [](void *context) {
    Deadline &d = *static_cast<Deadline *>(context);
    std::chrono::duration<double> ran = std::chrono::steady_clock::now() - d.began;
    bool stop = ran.count() > d.seconds && (!d.waiting || d.waiting(d.context));
    d.stopped = d.stopped || stop;
    return stop;
  };
  return {ask, &d};
}
