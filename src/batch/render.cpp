// Pictures for a settings file, drawn by the viewer's own drawing code into
// a headless canvas: frames of playback as RGB, PNG, or vectors.
#include "batch/render.h"

#include <GL/gl.h>
#include <gl2ps.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "batch/headless.h"
#include "batch/output.h"
#include "render/picture.h"
#include "render/scene.h"
#include "sim/playback.h"

namespace {

// ======== The picture for a settings file ===========================================
Picture prepare(const Settings &s, const Canvas &c, const Look &look) {
  return pictureOf(s, c.width, c.height, look.pixelWidths ? 1 : (float)look.height / SCENE_HEIGHT);
}

// ======== Vectors ===================================================================
void gl2psWidth(float w) {
  gl2psLineWidth(w);
}
void gl2psSize(float s) {
  gl2psPointSize(s);
}

// Feedback room for the frame: a line with colours takes 15 floats, and a
// step draws at most two lines, a point and a width change or two.
int feedbackFloats(const Settings &s) {
  double steps = (double)s.tmaxstatic / s.dt + 1;
  double floats = 64 * steps + (1 << 20);
  return floats > 1 << 30 ? 1 << 30 : (int)floats;
}

// A frame whose trajectory left the finite numbers shows none of it.
bool diverged(const Picture &pic, std::string &error) {
  if (std::isnan(pic.numbers.leftFiniteAt)) return false;
  error = divergedAt(pic.numbers.leftFiniteAt);
  return true;
}

// ======== Straight to a frame =========================================================
// The first and last step a frame's replay draws, as it counts them.
void drawnSteps(const ReplaySettings &r, long &first, long &last) {
  first = stepsUpTo(r.tmin / r.dt);
  last = std::max(first, stepsBelow(r.tmax / r.dt) - 1);
}

// The last maximum the map accepts in the replay ending at tmax; false if none.
bool lastMaximum(const Settings &s, const Picture &pic, float tmax, double &top) {
  Trajectory tr = pic.run;
  loadStart(tr);
  std::vector<MapPoint> found = replayMaxima(replaySettings(s, tmax), tr, untilSignal());
  if (!found.empty()) top = found.back().top;
  return !found.empty();
}

// Segment playback: frame j (from 0) draws steps 10 j + first to 10 j + last
// of the run. Whether step g falls in one of the frames 0 to frames - 1.
bool inSomeFrame(long g, long first, long last, long frames) {
  const long m = g - first;
  if (m < 0 || frames < 1) return false;
  const long latest = std::min(m / 10, frames - 1),
             earliest = std::max(0L, (m - (last - first) + 9) / 10);
  return earliest <= latest;
}

// Segment's start after `frames` frames, each moving it ten steps on, and the
// last maximum those frames' maps accepted, from one run of the main (and
// the stepped twin's) trajectory: each frame's replay from its start makes
// the very steps of the run, its history too from its first drawn step on.
bool segmentStart(const Settings &s, Picture &pic, long frames) {
  const ReplaySettings r = replaySettings(s, pic.tmax);
  long first = 0, last = 0;
  drawnSteps(r, first, last);
  const long moved = (float)10 < r.tmax / r.dt ? 10 * frames : 0;
  const long end = std::max(moved, s.map == 1 ? 10 * (frames - 1) + last + 1 : 0);
  Trajectory tr = pic.run, start;
  loadStart(tr);
  Slopes twin;
  for (long g = 0; g < end && !interrupted(); g++) {
    if (g == moved) start = tr;
    tr.xoldt = tr.xold, tr.xold = tr.x;
    if (r.second == 1 && g < moved) rk4(*r.model, r.p, r.dt, tr.x2, tr.y2, tr.z2, twin);
    rk4(*r.model, r.p, r.dt, tr.x, tr.y, tr.z, tr.k);
    double top, shown;
    if (s.map == 1 && inSomeFrame(g, first, last, frames) &&
        mapMaximum(*r.model, tr, r.dt, top, shown))
      pic.xmaxold = top;
  }
  if (end == moved) start = tr;
  Trajectory &p = pic.run;
  p.xsec = start.x, p.ysec = start.y, p.zsec = start.z;
  p.x2sec = start.x2, p.y2sec = start.y2, p.z2sec = start.z2;
  return std::isfinite(p.xsec) && std::isfinite(p.ysec) && std::isfinite(p.zsec) &&
         std::isfinite(p.x2sec) && std::isfinite(p.y2sec) && std::isfinite(p.z2sec);
}

// The picture as frame `frame` - 1 of Dynamic or Segment playback leaves
// it for the next, without drawing the frames before: the playback's end
// time, Segment's start, and the map's previous maximum. Nothing else the
// next frame draws comes from them (its replay writes the history anew
// before its first drawn step). False where the start has left the finite
// numbers: the frames are then drawn one by one.
bool skipTo(const Settings &s, Picture &pic, int frame) {
  float widest = pic.tmax;
  for (int k = 1; k < frame; k++) {
    advancePlayback(s.dynamic, s.tmin, s.tmaxstatic, pic.tmax);
    widest = std::max(widest, pic.tmax);
  }
  if (s.dynamic == 2) return segmentStart(s, pic, frame - 1);
  // Dynamic's windows grow from tmin, back to it after tmaxstatic: an
  // earlier frame with a maximum is the latest, or the widest before it.
  double top;
  if (s.map == 1 && frame > 1 &&
      (lastMaximum(s, pic, pic.tmax, top) || lastMaximum(s, pic, widest, top)))
    pic.xmaxold = top;
  return true;
}

int formatOf(const std::string &f) {
  if (f == "pdf") return GL2PS_PDF;
  if (f == "eps") return GL2PS_EPS;
  return GL2PS_SVG;
}

} // namespace

int shownFrame(const Settings &s, int frame) {
  return s.dynamic == 0 ? 2 : frame;
}

std::string frameRefusal(const Settings &s, const std::string &option) {
  if (s.dynamic != 0) return "";
  return option + " picks a frame of Dynamic or Segment playback; these settings have Static, " +
         "whose every frame is the same";
}

// ======== Frames ======================================================================
bool drawFrames(const Settings &s, const Look &look, int first, int last, const TakeFrame &take,
                std::string &error) {
  Canvas c;
  if (!openCanvas(c, look.width, look.height, look.samples, error)) return false;
  Picture pic = prepare(s, c, look);
  bool going = true, finite = true;
  const Picture fresh = pic;
  const int from = first > 1 && s.dynamic != 0 && skipTo(s, pic, first) ? first : 1;
  if (from == 1) pic = fresh;
  for (int k = from; k <= last && going && finite && !interrupted(); k++) {
    nextFrame(s, pic, untilSignal());
    finite = k < first || !diverged(pic, error);
    if (k >= first && finite) going = take(k, readCanvas(c));
  }
  closeCanvas(c);
  return finite;
}

// The frames before go to pixels; the frame itself to GL's feedback, which
// gl2ps dates the file by the clock, as ctime() writes it (SVG, EPS) or
// as "D:YYYYMMDDhhmmss" (PDF). With SOURCE_DATE_EPOCH set, that date is
// replaced by the one it gives, in UTC, so that a build gives the same bytes
// every time.
static void reproducibleDate(std::string &file, const std::string &format) {
  const char *epoch = std::getenv("SOURCE_DATE_EPOCH");
  char *end = nullptr;
  long long secs = epoch ? std::strtoll(epoch, &end, 10) : 0;
  if (!epoch || end == epoch || *end != '\0' || secs < 0) return;
  std::time_t when = (std::time_t)secs;
  std::tm utc{};
  gmtime_r(&when, &utc);
  const bool pdf = format == "pdf";
  const std::string key = pdf ? "/CreationDate (" : "CreationDate: ";
  size_t at = file.find(key);
  if (at == std::string::npos) return;
  at += key.size();
  size_t stop = file.find(pdf ? ')' : '\n', at);
  char date[64];
  std::strftime(date, sizeof date, pdf ? "D:%Y%m%d%H%M%S" : "%a %b %e %H:%M:%S %Y", &utc);
  if (stop != std::string::npos) file.replace(at, stop - at, date);
}

// gl2ps turns into the file's primitives in the order drawn.
bool vectorPicture(const Settings &s, const Look &look, int frame, const std::string &format,
                   std::string &out, std::string &error) {
  Canvas c;
  if (!openCanvas(c, look.width, look.height, 0, error)) return false;
  Picture pic = prepare(s, c, look);
  const Picture fresh = pic;
  const int from = frame > 1 && s.dynamic != 0 && skipTo(s, pic, frame) ? frame : 1;
  if (from == 1) pic = fresh;
  for (int k = from; k < frame && !interrupted(); k++) nextFrame(s, pic, untilSignal());

  char *text = nullptr;
  size_t size = 0;
  FILE *f = open_memstream(&text, &size);
  GLint viewport[4] = {0, 0, look.width, look.height};
  GLint options = GL2PS_SILENT | GL2PS_USE_CURRENT_VIEWPORT | GL2PS_DRAW_BACKGROUND |
                  GL2PS_NO_BLENDING | GL2PS_NO_PS3_SHADING;
  GLint state = GL2PS_ERROR;
  if (f && !interrupted() &&
      gl2psBeginPage("Tresolva", "tresolva-batch", viewport, formatOf(format), GL2PS_NO_SORT,
                     options, GL_RGBA, 0, nullptr, 0, 0, 0, feedbackFloats(s), f,
                     "picture") == GL2PS_SUCCESS) {
    pic.widths.alsoLineWidth = gl2psWidth, pic.widths.alsoPointSize = gl2psSize;
    nextFrame(s, pic, untilSignal());
    pic.widths.alsoLineWidth = nullptr, pic.widths.alsoPointSize = nullptr;
    // sorting out what was fed back takes long, and no one waits for it now
    state = interrupted() ? GL2PS_ERROR : gl2psEndPage();
  }
  if (f) std::fclose(f);
  if (text) out.assign(text, size);
  std::free(text);
  closeCanvas(c);
  reproducibleDate(out, format);
  if (diverged(pic, error)) return false;
  if (state == GL2PS_SUCCESS) return true;
  error = state == GL2PS_OVERFLOW ? "the picture has too many primitives for vector output"
                                  : "vector output failed";
  return false;
}
