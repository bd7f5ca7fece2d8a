// The subcommands behind the numbers: lyapunov and bifurcation, their
// options, their refusals, and the bifurcation diagram's picture.
#include "batch/numbers.h"

#include <GL/gl.h>
#include <tbb/global_control.h>
#include <tbb/parallel_for.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "batch/bifurcation.h"
#include "batch/export.h"
#include "batch/headless.h"
#include "batch/lyapunov.h"
#include "batch/output.h"
#include "batch/render.h"

namespace {

// At most n threads for what follows, every core when n is 0.
std::unique_ptr<tbb::global_control> threadsAtMost(int n) {
  if (n < 1) return nullptr;
  return std::make_unique<tbb::global_control>(tbb::global_control::max_allowed_parallelism,
                                               (size_t)n);
}

bool positiveFinite(double v) {
  return std::isfinite(v) && v > 0;
}

// ======== lyapunov =================================================================
LyapunovRun runOf(const Settings &s, const NumberOptions &o) {
  LyapunovRun r;
  r.model = &models[s.attype];
  for (int k = 0; k < 3; k++) r.p[k] = s.params[s.attype][k], r.start[k] = s.start[k];
  r.dt = s.dt, r.transient = o.transient, r.time = o.time, r.tau = o.tau, r.d0 = o.d0;
  r.blocks = o.blocks, r.spectrum = o.spectrum;
  return r;
}

std::string lyapunovRefusal(const NumberOptions &o) {
  if (!positiveFinite(o.d0)) return "--d0 must be a positive number";
  if (!positiveFinite(o.time)) return "--time must be a positive number";
  if (!(o.transient >= 0) || !std::isfinite(o.transient)) return "--transient must be 0 or more";
  if (o.transient >= o.time) return "--transient must be shorter than --time";
  if (!positiveFinite(o.tau) || o.tau * o.blocks > o.time)
    return "--tau must be positive, with --blocks of it fitting in --time";
  if (o.repeat > 1 && !o.trace.empty()) return "--trace follows a single run, not --repeat";
  return "";
}

std::string exponentLines(const Exponents &e) {
  std::string out;
  char line[96];
  double sum = 0;
  for (int c = 0; c < e.count; c++) {
    std::snprintf(line, sizeof line, "lambda%d = %.6f +- %.6f\n", c + 1, e.value[c], e.error[c]);
    out += line, sum += e.value[c];
  }
  if (e.count == 3) {
    std::snprintf(line, sizeof line, "sum = %.6f\nkaplan_yorke = %.6f\n", sum, e.dimension);
    out += line;
  }
  return out;
}

// Repeats start 0.01 apart along (1, 1, 1) and run on every core; their
// spread is reported as the standard error of their mean.
std::string repeatLines(const LyapunovRun &r, int repeats) {
  std::vector<Exponents> runs(repeats);
  tbb::parallel_for(0, repeats, [&](int k) {
    LyapunovRun own = r;
    std::transform(own.start, own.start + 3, own.start, [k](double v) { return v + 0.01 * k; });
    runs[k] = lyapunov(own);
  });
  std::string out;
  for (int k = 0; k < repeats; k++)
    out += "run " + std::to_string(k + 1) + ":\n" + exponentLines(runs[k]);
  Exponents mean = runs[0];
  for (int c = 0; c < mean.count; c++) {
    double sum = 0, sq = 0;
    for (const Exponents &e : runs)
      // cppcheck-suppress useStlAlgorithm
      sum += e.value[c], sq += e.value[c] * e.value[c];
    mean.value[c] = sum / repeats, mean.error[c] = standardError(sum, sq, repeats);
  }
  if (mean.count == 3) mean.dimension = kaplanYorke(mean.value, 3);
  return out + "mean of " + std::to_string(repeats) + " runs:\n" + exponentLines(mean);
}

// ======== bifurcation ==============================================================
std::string sweepRefusal(const Settings &s, const NumberOptions &o, Sweep &w) {
  const Model &m = models[s.attype];
  auto named =
      std::find_if(m.params, m.params + 3, [&](const Parameter &q) { return o.param == q.name; });
  if (named == m.params + 3)
    return "--param " + o.param + ": " + m.key + " has " + m.params[0].name + ", " +
           m.params[1].name + " and " + m.params[2].name;
  if (!(o.from < o.to)) return "--from must be below --to";
  if (o.from < named->lo || o.to > named->hi)
    return "--from and --to must lie within " + shortest(named->lo) + " and " +
           shortest(named->hi) + ", the panel's limits";
  if (o.values < 1) return "--values must be 1 or more";
  if (!(o.sweepTransient >= 0) || !(o.sweepTime > o.sweepTransient) || !std::isfinite(o.sweepTime))
    return "--transient must be 0 or more and shorter than --time";
  char slash = 0, rest = 0;
  if (std::sscanf(o.shard.c_str(), "%d%c%d%c", &w.shard, &slash, &w.shards, &rest) != 3 ||
      slash != '/' || w.shards < 1 || w.shard < 1 || w.shard > w.shards)
    return "--shard " + o.shard + ": expected K/N with 1 <= K <= N";
  w.model = &m, w.param = (int)(named - m.params);
  for (int k = 0; k < 3; k++) w.p[k] = s.params[s.attype][k], w.start[k] = s.start[k];
  w.from = o.from, w.to = o.to, w.values = o.values, w.dt = s.dt;
  w.transient = o.sweepTransient, w.time = o.sweepTime;
  return "";
}

// Parameter across, maxima up, one foreground point each on the
// background of the settings.
bool diagramPng(const Settings &s, const Sweep &w, const std::vector<SweepPoint> &points, int width,
                int height, std::string &png, std::string &error) {
  double lo = INFINITY, hi = -INFINITY;
  for (const SweepPoint &p : points)
    for (double m : p.maxima) lo = std::min(lo, m), hi = std::max(hi, m);
  double pad = lo <= hi ? (hi - lo) * 0.05 + 1e-9 : 0;
  if (lo > hi) lo = 0, hi = 1; // no maxima: an empty picture
  lo -= pad, hi += pad;
  Canvas c;
  if (!openCanvas(c, width, height, error)) return false;
  float b = (float)s.bg, f = 1 - b;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(w.from, w.to, lo, hi, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(b, b, b, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glPointSize(1);
  glBegin(GL_POINTS);
  glColor3f(f, f, f);
  for (const SweepPoint &p : points)
    for (double m : p.maxima) glVertex2d(p.value, m);
  glEnd();
  png = pngOf(readCanvas(c), width, height);
  closeCanvas(c);
  return true;
}

} // namespace

void addLyapunovOptions(CLI::App *c, NumberOptions &o) {
  c->add_option("--time", o.time, "time units measured, after the transient")
      ->capture_default_str();
  c->add_option("--transient", o.transient, "time units skipped first")->capture_default_str();
  c->add_option("--tau", o.tau, "time units between renormalisations")->capture_default_str();
  c->add_option("--d0", o.d0, "the twin's distance after each renormalisation")
      ->capture_default_str();
  c->add_option("--blocks", o.blocks, "blocks of the run for the standard errors")
      ->check(CLI::Range(2, 100000))
      ->capture_default_str();
  c->add_flag("--spectrum", o.spectrum, "all three exponents, by the tangent dynamics and QR");
  c->add_option("--trace", o.trace, "CSV of the running estimate at each renormalisation");
  c->add_option("--repeat", o.repeat, "runs from as many start states, on every core")
      ->check(CLI::Range(1, 1000000));
  c->add_option("--threads", o.threads, "at most this many threads (0: every core)");
}

void addBifurcationOptions(CLI::App *c, NumberOptions &o) {
  c->add_option("--param", o.param, "the parameter swept, as the panel names it")->required();
  c->add_option("--from", o.from, "its first value")->required();
  c->add_option("--to", o.to, "its last value")->required();
  c->add_option("--values", o.values, "how many values, evenly spaced")->capture_default_str();
  c->add_option("--transient", o.sweepTransient, "time units skipped at each value")
      ->capture_default_str();
  c->add_option("--time", o.sweepTime, "time units run at each value, transient included")
      ->capture_default_str();
  c->add_option("-o,--output", o.out, "CSV: parameter,maximum")->required();
  c->add_option("--png", o.png, "the diagram as a picture");
  c->add_option("--size", o.size, "the picture's size")->capture_default_str();
  c->add_option("--shard", o.shard, "K/N: only the values K, K+N, K+2N, ... (from 1)")
      ->capture_default_str();
  c->add_option("--threads", o.threads, "at most this many threads (0: every core)");
}

int lyapunovCommand(const Settings &s, const NumberOptions &o) {
  std::string why = lyapunovRefusal(o), error;
  if (!why.empty()) return refuse(why, 2);
  auto limit = threadsAtMost(o.threads);
  LyapunovRun r = runOf(s, o);
  std::string trace, text;
  if (o.repeat > 1) text = repeatLines(r, o.repeat);
  else text = exponentLines(lyapunov(r, o.trace.empty() ? nullptr : &trace));
  if (!o.trace.empty() && !writeWhole(o.trace, trace, error)) return refuse(error, 1);
  std::fputs(text.c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

int bifurcationCommand(const Settings &s, const NumberOptions &o) {
  Sweep w;
  std::string why = sweepRefusal(s, o, w), error, png;
  int width = 0, height = 0;
  if (!why.empty()) return refuse(why, 2);
  if (!readSize(o.size, width, height, error)) return refuse(error, 2);
  auto limit = threadsAtMost(o.threads);
  std::vector<SweepPoint> points = sweepAll(w);
  if (!o.png.empty() && !diagramPng(s, w, points, width, height, png, error))
    return refuse(error, 1);
  if (!writeWhole(o.out, sweepCsv(w, points), error)) return refuse(error, 1);
  if (!o.png.empty() && !writeWhole(o.png, png, error)) return refuse(error, 1);
  return 0;
}
