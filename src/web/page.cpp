// The web page's program: the viewer's scene drawn in the page's canvas
// through WebGL2, frame after frame, from a settings record of its own;
// and the hooks through which the page (and its tests) give it settings
// and read what it computed.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <string>

#include "render/picture.h"
#include "sim/core.h"
#include "state/settings.h"

namespace {

// The page's whole state, as the viewer's record is the viewer's.
struct Page {
  Settings set = startUpSettings();
  Picture pic;
  int width = 950, height = 717; // the canvas, the viewer's scene at start-up
  long frames = 0;               // drawn since the settings were given
  double firstFrameMs = 0;       // when the first frame was complete, from navigation
  std::string text;              // what the last hook returned
};
Page page;

void restart() {
  page.pic = pictureOf(page.set, page.width, page.height, 1);
  page.frames = 0;
}

// One frame, as the viewer's idle callback and display callback make it.
void frame() {
  nextFrame(page.set, page.pic);
  page.frames++;
  if (page.firstFrameMs == 0) page.firstFrameMs = emscripten_get_now();
}

bool openCanvas() {
  EmscriptenWebGLContextAttributes a;
  emscripten_webgl_init_context_attributes(&a);
  a.majorVersion = 2, a.minorVersion = 0;
  a.alpha = false, a.depth = false, a.stencil = false, a.antialias = false;
  a.preserveDrawingBuffer = true; // the picture stays for a screenshot
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE gl = emscripten_webgl_create_context("#scene", &a);
  if (gl <= 0) return false;
  emscripten_webgl_make_context_current(gl);
  emscripten_set_canvas_element_size("#scene", page.width, page.height);
  return true;
}

} // namespace

extern "C" {

// Settings as a settings file's text, over the start-up ones; "" when
// taken, else why not (the file's line and key).
EMSCRIPTEN_KEEPALIVE const char *tresolva_settings(const char *text) {
  const char *path = "/tmp/page.toml";
  FILE *f = std::fopen(path, "w");
  if (f) std::fputs(text, f), std::fclose(f);
  Settings s = startUpSettings();
  page.text.clear();
  if (!readSettings(path, s, page.text)) return page.text.c_str();
  page.set = s;
  restart();
  return page.text.c_str();
}

// What the latest frame computed: "frames t x y z x2 y2 z2 xmaxold", each
// number with the digits that read back as the same double.
EMSCRIPTEN_KEEPALIVE const char *tresolva_state() {
  const Trajectory &r = page.pic.run;
  char line[512];
  std::snprintf(line, sizeof line, "%ld %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g",
                page.frames, r.t, r.x, r.y, r.z, r.x2, r.y2, r.z2, page.pic.xmaxold);
  page.text = line;
  return page.text.c_str();
}

// Figures for the notes: "first-frame-ms rk4-steps-a-second", the second
// from steps Lorenz steps of the core's rk4 alone.
EMSCRIPTEN_KEEPALIVE const char *tresolva_figures(double steps) {
  const double p[3] = {28, 10, 8.0 / 3};
  double x = 5, y = 5, z = 5, began = emscripten_get_now();
  Slopes k;
  for (double n = 0; n < steps; n++) rk4(models[0], p, 0.005f, x, y, z, k);
  double seconds = (emscripten_get_now() - began) / 1000;
  static volatile double kept;
  kept = x; // the loop's result is used, so the loop stays
  char line[128];
  std::snprintf(line, sizeof line, "%.0f %.0f", page.firstFrameMs, steps / seconds);
  page.text = line;
  return page.text.c_str();
}

} // extern "C"

int main() {
  if (!openCanvas()) {
    std::fprintf(stderr, "tresolva: this browser gives the page no WebGL2\n");
    return 1;
  }
  restart();
  emscripten_set_main_loop(frame, 0, 0);
  return 0;
}
