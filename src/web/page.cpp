// The web page's program: the viewer's scene drawn in the page's canvas
// through WebGL2 from a record of its own, each frame spread over as many
// animation frames as its steps need so that the tab never freezes; and
// the hooks through which the page's controls, keys, pointer and links
// change the settings and read what was computed.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <GLES3/gl3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "interact/actions.h"
#include "interact/controls.h"
#include "interact/readout.h"
#include "render/picture.h"
#include "render/scene.h"
#include "sim/playback.h"
#include "state/field.h"
#include "state/link.h"
#include "state/settings.h"
#include "state/settings_file.h"

namespace {

// The steps of one animation frame stop after about this long, leaving the
// browser the rest of its 16 ms to handle input and paint.
const double PART_MS = 10;

// The most a settings file or a link may hold: far more than any settings
// need, and little enough that the page's memory always has room for it.
const size_t MOST_BYTES = 1 << 20;

// The page's whole state, as the viewer's record is the viewer's.
struct Page {
  Settings set = startUpSettings();
  Picture pic;
  bool gl = false;               // the browser gave the canvas WebGL2
  int width = 950, height = 717; // the canvas in device pixels, the viewer's scene at start-up
  float pixelRatio = 1;          // device pixels a CSS pixel: lines and points as wide
  double starts[6];              // the start states the user last gave
  GLuint fbo = 0, colour = 0;    // where frames are drawn, shown when complete

  bool drawing = false;    // a frame is begun and not complete
  bool shownWhole = false; // a complete frame of the current settings is on show
  int parts = 0;           // animation frames the frame being drawn has taken
  Clock::time_point frameBegan;
  long frames = 0;         // complete since the settings were given
  long lastFrameSteps = 0; // the latest complete frame's step count
  int lastFrameParts = 0;  // and the animation frames it took
  double stepsTotal = 0;   // made since the page opened
  Trajectory ended{};      // where the latest complete frame ended
  double endedXmaxold = 0; // and the maximum map's memory then
  FrameTimes times;
  std::string text; // what the last hook returned
};
Page page;

// ======== Presenting ===================================================================
// Frames are drawn into a framebuffer of their own, so that a frame drawn
// over several animation frames never shows half done unless asked to.
void makeFramebuffer() {
  if (!page.fbo) glGenFramebuffers(1, &page.fbo), glGenRenderbuffers(1, &page.colour);
  glBindRenderbuffer(GL_RENDERBUFFER, page.colour);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, page.width, page.height);
  glBindFramebuffer(GL_FRAMEBUFFER, page.fbo);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, page.colour);
}

void present() {
  glFlush(); // the figures still waiting
  glBindFramebuffer(GL_READ_FRAMEBUFFER, page.fbo);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  const int w = page.width, h = page.height;
  glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, page.fbo);
}

// ======== Frames =====================================================================
void noteStarts() {
  const Trajectory &r = page.pic.run;
  const double s[6] = {r.xsec, r.ysec, r.zsec, r.x2sec, r.y2sec, r.z2sec};
  std::copy(s, s + 6, page.starts);
}

// Settings given whole (start-up, a link, a file): the picture afresh.
void restart() {
  if (page.drawing) abandonScene(page.pic);
  page.pic = pictureOf(page.set, page.width, page.height, page.pixelRatio);
  page.drawing = false, page.shownWhole = false, page.frames = 0;
  noteStarts();
}

// Input arrived: the frame in progress is dropped (its trajectory stays
// where it got to), and the next one starts afresh and shows as it grows.
void interrupt() {
  if (page.drawing) abandonScene(page.pic);
  page.drawing = false, page.shownWhole = false;
}

void beginFrame() {
  advancePlayback(page.set.dynamic, page.set.tmin, page.set.tmaxstatic, page.pic.tmax);
  beginScene(page.set, page.pic);
  page.drawing = true, page.parts = 0, page.frameBegan = Clock::now();
}

void endFrame() {
  page.drawing = false, page.frames++;
  page.lastFrameSteps = page.pic.run.n, page.lastFrameParts = page.parts;
  page.ended = page.pic.run, page.endedXmaxold = page.pic.xmaxold;
  timeFrame(page.times, page.frameBegan);
}

// One animation frame: the next part of the frame in progress. A complete
// frame is shown; a growing one only until one of these settings has shown.
void animationFrame() {
  Deadline part{Clock::now(), PART_MS / 1000};
  if (!page.drawing) beginFrame();
  page.parts++;
  const int before = page.pic.run.n;
  bool complete = continueScene(page.set, page.pic, cutAt(part));
  page.stepsTotal += page.pic.run.n - before;
  if (complete) endFrame();
  if (complete || !page.shownWhole) present();
  page.shownWhole = page.shownWhole || complete;
}

bool openCanvas() {
  EmscriptenWebGLContextAttributes a;
  emscripten_webgl_init_context_attributes(&a);
  a.majorVersion = 2, a.minorVersion = 0;
  a.alpha = false, a.depth = false, a.stencil = false, a.antialias = false;
  a.preserveDrawingBuffer = true; // the picture stays for a download
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE gl = emscripten_webgl_create_context("#scene", &a);
  if (gl <= 0) return false;
  emscripten_webgl_make_context_current(gl);
  emscripten_set_canvas_element_size("#scene", page.width, page.height);
  makeFramebuffer();
  return true;
}

// ======== Text for the page's script ===================================================
std::string quoted(const std::string &s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') out += "\\n";
    else out += c;
  }
  return out + "\"";
}

const char *said(const std::string &s) {
  page.text = s;
  return page.text.c_str();
}

// What a link or a downloaded file holds: the settings as the user set
// them, with the start states they last gave (Segment playback slides the
// start on from there) and the pan the scene shows.
Settings usersSettings() {
  Settings s = viewedSettings(page.set, page.pic);
  std::copy(page.starts, page.starts + 3, s.start);
  std::copy(page.starts + 3, page.starts + 6, s.twinStart);
  return s;
}

const Setting &row(const char *key, int size) {
  return settingRow(std::string(key, size));
}

std::string grouped(size_t n) {
  std::string digits = std::to_string(n);
  for (int at = (int)digits.size() - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits;
}

// Why a text of this many bytes is not read, or "".
std::string tooLarge(double bytes) {
  if (bytes <= (double)MOST_BYTES) return "";
  return grouped((size_t)bytes) + " bytes, more than the page reads (1 MB, " + grouped(MOST_BYTES) +
         " bytes)";
}

// ======== The controls ====================================================================
// A control of the panels' table for the page's script: its kind, text and
// key, a press's name, and a setting's choices.
std::string controlJson(const Control &c) {
  static const char *const widgets[] = {"group",  "rollout", "row",       "end",
                                        "radios", "spinner", "list",      "check",
                                        "button", "text",    "separator", "column"};
  std::string out = "{\"widget\":" + quoted(widgets[(int)c.widget]) +
                    ",\"text\":" + quoted(c.text) + ",\"key\":" + quoted(c.key) +
                    ",\"press\":" + quoted(pressName(c.press)) + ",\"choices\":[";
  if (c.widget == Widget::RADIOS || c.widget == Widget::LIST)
    for (const Setting::Choice &k : settingRow(c.key).choices)
      out += "{\"value\":" + std::to_string(k.value) + ",\"label\":" + quoted(k.label) + "},";
  if (out.back() == ',') out.pop_back();
  return out + "]}";
}

std::string panelJson(const std::vector<Control> &controls) {
  std::string out = "[";
  for (const Control &c : controls)
    if (shownOn(c.shown, Shown::PAGE)) out += controlJson(c) + ",";
  if (out.back() == ',') out.pop_back();
  return out + "]";
}

// The key table's rows for the page: the character or function key, the
// act's name, the help's words and the button for touch screens.
std::string keysJson() {
  std::string out = "[";
  for (const KeyRow &k : keyTable())
    if (shownOn(k.shown, Shown::PAGE))
      out += "{\"ch\":" + std::to_string(k.ch) + ",\"fkey\":" + std::to_string(k.fkey) +
             ",\"act\":" + quoted(actName(k.act)) + ",\"keys\":" + quoted(k.keys) +
             ",\"help\":" + quoted(k.help) + ",\"button\":" + quoted(k.button) + "},";
  out.pop_back();
  return out + "]";
}

} // namespace

extern "C" {

// The panels' table (right, bottom) and the key table, the page's rows of them.
EMSCRIPTEN_KEEPALIVE const char *tresolva_layout() {
  const PanelLayout &p = panelLayout();
  return said("{\"right\":" + panelJson(p.right) + ",\"bottom\":" + panelJson(p.bottom) +
              ",\"keys\":" + keysJson() + "}");
}

// Every control's value: a number as its field shows it, a switch or a
// choice as its value.
EMSCRIPTEN_KEEPALIVE const char *tresolva_values() {
  std::string out = "{";
  for (const Setting &r : settingsTable()) {
    if (r.kind == Kind::DOUBLE) continue;
    out += quoted(r.key) + ":" +
           (r.kind == Kind::FLOAT ? quoted(fieldText(r.in<float>(page.set)))
                                  : std::to_string(r.in<int>(page.set))) +
           ",";
  }
  out.back() = '}';
  return said(out);
}

// Every text from the page comes as bytes and their count, through the
// module's heap: a key, a name, a field's text, a file, a link.

// Text typed into a number's field (on Enter or leaving it).
EMSCRIPTEN_KEEPALIVE void tresolva_type(const char *key, int keySize, const char *text,
                                        int textSize) {
  interrupt();
  const Setting &r = row(key, keySize);
  const std::string typed(text, textSize);
  float &v = r.in<float>(page.set);
  if (typed.find('\0') == std::string::npos)
    v = typedValue(typed.c_str(), v, (float)r.lo, (float)r.hi);
}

// An arrow of a number: a click up (+1) or down (-1), or a drag of dy
// pixels (way 0).
EMSCRIPTEN_KEEPALIVE void tresolva_arrow(const char *key, int keySize, int way, double dy) {
  interrupt();
  const Setting &r = row(key, keySize);
  float lo = (float)r.lo, hi = (float)r.hi, &v = r.in<float>(page.set);
  v = way ? arrowClick(v, lo, hi, way) : arrowDrag(v, lo, hi, dy);
}

// A switch or a choice: the value its control writes.
EMSCRIPTEN_KEEPALIVE void tresolva_choose(const char *key, int keySize, int value) {
  interrupt();
  row(key, keySize).in<int>(page.set) = value;
}

// A button of the panels' table, by its press's name.
EMSCRIPTEN_KEEPALIVE void tresolva_press(const char *name, int size) {
  interrupt();
  const std::string press(name, size);
  if (press == pressName(Press::RESET)) reset(page.set, page.pic);
  if (press == pressName(Press::INITIAL)) initial(page.pic);
  noteStarts();
}

// ======== Keys and pointer ==================================================================
// A key of the key table that acts on the settings, by its character: the
// space bar steps the parameters, s re-seeds from where the main curve has
// got to (in a frame in progress, as far as it has got).
EMSCRIPTEN_KEEPALIVE void tresolva_key(int key) {
  interrupt();
  const KeyRow *k = keyRow(key, 0, Shown::PAGE);
  if (k && k->act == KeyAct::STEP) stepParameters(page.set);
  if (k && k->act == KeyAct::RESEED && reseed(page.set, page.pic)) noteStarts();
}

// A gesture in canvas pixels: 0 rotate by (dx, dy), 1 pan by (dx, dy),
// 2 the zoom gesture moved dy (up is negative), 3 wheel notches dy (up
// is negative), 4 a pinch whose fingers moved dy apart.
EMSCRIPTEN_KEEPALIVE void tresolva_gesture(int kind, double dx, double dy) {
  interrupt();
  if (kind == 0) rotateBy(page.set, dx, dy);
  if (kind == 1) panBy(page.set, dx, dy);
  if (kind == 2) zoomBy(page.set, (-Z_ZOOM_PER_PX) * dy);
  if (kind == 3) wheelZoom(page.set, dy < 0 ? 1 : -1);
  if (kind == 4) zoomBy(page.set, Z_ZOOM_PER_PX * dy);
}

// The canvas took a new size, in device pixels (ratio a CSS pixel): the
// scene fills it, as the desktop's reshape, its lines as wide as the
// batch program's at that size.
EMSCRIPTEN_KEEPALIVE void tresolva_resize(int width, int height, double ratio) {
  const bool same = width == page.width && height == page.height && ratio == page.pixelRatio;
  if (width < 1 || height < 1 || !(ratio > 0) || same) return;
  interrupt();
  page.width = width, page.height = height;
  page.pixelRatio = (float)ratio, page.pic.widths.scale = (float)ratio;
  emscripten_set_canvas_element_size("#scene", width, height);
  makeFramebuffer();
  setViewportAndFrustum(0, 0, width, height);
}

// ======== Links and files ================================================================
// The link's settings, "key=value" a line, those that differ from the start-up ones.
EMSCRIPTEN_KEEPALIVE const char *tresolva_link() {
  std::string out;
  for (const auto &[key, value] : linkSettings(usersSettings(), startUpSettings()))
    out += key + "=" + value + "\n";
  return said(out);
}

// Why a file or a link of this many bytes is not read, or "" if it is.
EMSCRIPTEN_KEEPALIVE const char *tresolva_too_large(double bytes) {
  return said(tooLarge(bytes));
}

// A link's query (after its '?'), over the start-up settings; the pairs
// refused, "key: why" a line.
EMSCRIPTEN_KEEPALIVE const char *tresolva_open_link(const char *query, int size) {
  const std::string big = tooLarge(size);
  if (!big.empty()) return said("the link: " + big + "\n");
  std::vector<std::string> refused;
  page.set = startUpSettings();
  readLink(linkPairs(std::string(query, size)), page.set, refused);
  restart();
  std::string out;
  for (const std::string &r : refused) out += r + "\n";
  return said(out);
}

// A settings file's bytes, over the start-up settings; "" when taken, else
// why not (the file's name, the line, what is wrong).
EMSCRIPTEN_KEEPALIVE const char *tresolva_settings(const char *text, int size, const char *name,
                                                   int nameSize) {
  const std::string file(name, nameSize);
  const std::string big = tooLarge(size);
  if (!big.empty()) return said(file + ": " + big);
  Settings s = startUpSettings();
  std::string error;
  if (!readSettingsText(std::string(text, size), file, s, error)) return said(error);
  page.set = s;
  restart();
  return said("");
}

// The settings file tresolva-batch reads for this view.
EMSCRIPTEN_KEEPALIVE const char *tresolva_export() {
  return said(settingsText(usersSettings()));
}

// ======== What was computed ==================================================================
// The readout's lines, then the scene's notices if any, after a blank line.
EMSCRIPTEN_KEEPALIVE const char *tresolva_readout() {
  std::string out;
  for (const std::string &line : readoutLines(page.set, page.pic, page.times)) out += line + "\n";
  out += "\n";
  for (const std::string &line : sceneNotices(page.set, page.pic)) out += line + "\n";
  return said(out);
}

// "frames t x y z x2 y2 z2 xmaxold steps parts drawing total": the
// complete frames since the settings were given; the state the latest of
// them ended on (numbers with the digits that read back as the same
// double), its steps and animation frames; 1 while a frame is drawn, and
// the steps made since the page opened.
EMSCRIPTEN_KEEPALIVE const char *tresolva_state() {
  const Trajectory &r = page.ended;
  char line[600];
  std::snprintf(line, sizeof line,
                "%ld %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %ld %d %d %.0f", page.frames,
                r.t, r.x, r.y, r.z, r.x2, r.y2, r.z2, page.endedXmaxold, page.lastFrameSteps,
                page.lastFrameParts, page.drawing ? 1 : 0, page.stepsTotal);
  return said(line);
}

// Whether the page can draw at all: without WebGL2 it says so and calls nothing else.
EMSCRIPTEN_KEEPALIVE int tresolva_can_draw() {
  return page.gl ? 1 : 0;
}

} // extern "C"

int main() {
  page.gl = openCanvas();
  if (!page.gl) return 0;
  restart();
  emscripten_set_main_loop(animationFrame, 0, 0);
  return 0;
}
