// Figures of the sweeps for papers and slides: points, or curves, against a
// parameter inside axes with ticks, numbers and labels, in the light print
// style or the dark screen style, as PNG, SVG or PDF (drawn by PLplot; the
// PNG's text in an outline font through its cairo driver).
#include "batch/figure.h"

#include <plplot/plplot.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "state/files.h"

namespace {

// PLplot keeps one plot at a time in its own state: begun here, ended at
// the end of plot. Colour 0 is the background, 1 the axes, text and points.
void begin(const Figure &f) {
  const int bg = f.dark ? 0 : 255, fg = 255 - bg;
  plscol0(0, bg, bg, bg);
  plscol0(1, fg, fg, fg);
  plspage(0, 0, f.width, f.height, 0, 0);
  plinit();
  plcol0(1);
}

using Series = std::vector<std::vector<double>>;

// A curve through the finite values, broken where one is not.
void curve(const std::vector<double> &x, const std::vector<double> &y) {
  for (size_t from = 0, to; from < y.size(); from = to + 1) {
    for (to = from; to < y.size() && std::isfinite(y[to]); to++) {}
    if (to > from) plline((PLINT)(to - from), &x[from], &y[from]);
  }
}

void plot(const Figure &f, const std::vector<double> &x, const Series &ys) {
  double lo = INFINITY, hi = -INFINITY;
  for (const auto &y : ys)
    for (double v : y)
      if (std::isfinite(v)) lo = std::min(lo, v), hi = std::max(hi, v);
  if (lo > hi) lo = 0, hi = 1; // nothing to show: an empty frame
  const double pad = (hi - lo) / 20 + 1e-9;
  // A single value has no width of its own: half a unit either way.
  const double x0 = f.xFrom < f.xTo ? f.xFrom : f.xFrom - 0.5;
  const double x1 = f.xFrom < f.xTo ? f.xTo : f.xTo + 0.5;
  plenv(x0, x1, lo - pad, hi + pad, 0, 0);
  pllab(f.xLabel.c_str(), f.yLabel.c_str(), "");
  for (const auto &y : ys)
    if (f.joined) curve(x, y);
    else plpoin((PLINT)x.size(), x.data(), y.data(), -1); // one pixel each
  if (f.joined && lo < 0 && hi > 0) {
    pllsty(2); // dashed
    pljoin(x0, 0, x1, 0);
  }
  plend();
}

// PLplot asks at the terminal for another driver where the one named is
// missing, so each is looked for before it is named.
bool hasDriver(const char *name) {
  std::vector<const char *> menu(64), names(64);
  const char **m = menu.data(), **d = names.data();
  int n = (int)names.size();
  plgDevs(&m, &d, &n);
  for (int i = 0; i < n; i++)
    if (std::strcmp(names[i], name) == 0) return true;
  return false;
}

// The raster driver draws into our own buffer, as the pictures are read back.
// Its own stroke font is one pixel wide, which neither eyes nor OCR read
// well: cairo's draws the text in the sans font (DejaVu Sans), smoothed,
// but leaves lines and points hard, as the one-pixel points of a diagram
// are data.
std::string png(const Figure &f, const std::vector<double> &x, const Series &y) {
  std::vector<unsigned char> rgb((size_t)f.width * f.height * 3, f.dark ? 0 : 255);
  plsdev("memcairo");
  plsetopt("drvopt", "text_anti_aliasing=2,graphics_anti_aliasing=1");
  plsmem(f.width, f.height, rgb.data());
  begin(f);
  plot(f, x, y);
  return pngOf(rgb, f.width, f.height);
}

// The vector drivers write to a stream: one of our own, which keeps what
// they write in memory, so that no file but the output is ever made.
// PLplot closes the stream at the plot's end.
struct Kept {
  std::string text;
  bool closed = false;
};

bool vectors(const Figure &f, const std::vector<double> &x, const Series &y,
             const std::string &format, std::string &out) {
  Kept kept;
  cookie_io_functions_t io{};
  io.write = [](void *k, const char *data, size_t size) {
    static_cast<Kept *>(k)->text.append(data, size);
    return (ssize_t)size;
  };
  io.close = [](void *k) { return static_cast<Kept *>(k)->closed = true, 0; };
  FILE *stream = fopencookie(&kept, "w", io);
  if (!stream) return false;
  plsdev(format.c_str());
  plsfile(stream);
  begin(f);
  plot(f, x, y);
  if (!kept.closed) std::fclose(stream);
  out = std::move(kept.text);
  return !out.empty();
}

} // namespace

bool drawFigure(const Figure &f, const std::vector<double> &x, const Series &y,
                const std::string &format, std::string &out, std::string &error) {
  const bool raster = format == "png";
  const char *driver = raster ? "memcairo" : format.c_str();
  if (!hasDriver(driver))
    error = "cannot draw the figure as " + format + ": PLplot has no " + driver +
            " driver; install " + (raster ? "plplot-driver-cairo" : "libplplot17");
  else if (raster) out = png(f, x, y);
  else if (!vectors(f, x, y, format, out)) error = "cannot draw the figure as " + format;
  return error.empty();
}
