// Pictures for a settings file, drawn by the viewer's own drawing code into
// a headless canvas: frames of playback as RGB, PNG, or vectors.
#include "batch/render.h"

#include <GL/gl.h>
#include <gl2ps.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "batch/headless.h"
#include "batch/output.h"
#include "render/picture.h"
#include "render/scene.h"

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

int formatOf(const std::string &f) {
  if (f == "pdf") return GL2PS_PDF;
  if (f == "eps") return GL2PS_EPS;
  return GL2PS_SVG;
}

} // namespace

int shownFrame(const Settings &s, int frame) {
  return s.dynamic == 0 ? 2 : frame;
}

// ======== Frames ======================================================================
bool drawFrames(const Settings &s, const Look &look, int first, int last, const TakeFrame &take,
                std::string &error) {
  Canvas c;
  if (!openCanvas(c, look.width, look.height, look.samples, error)) return false;
  Picture pic = prepare(s, c, look);
  bool going = true, finite = true;
  for (int k = 1; k <= last && going && finite && !interrupted(); k++) {
    nextFrame(s, pic, interrupted);
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
  for (int k = 1; k < frame && !interrupted(); k++) nextFrame(s, pic, interrupted);

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
    nextFrame(s, pic, interrupted);
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
