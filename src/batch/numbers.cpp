// The subcommands behind the numbers: lyapunov and bifurcation, their
// options, their refusals, and the bifurcation diagram's picture.
#include "batch/numbers.h"
#include "state/settings_file.h"

#include <tbb/global_control.h>
#include <tbb/task_arena.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "batch/bifurcation.h"
#include "batch/export.h"
#include "batch/figure.h"
#include "batch/headless.h"
#include "batch/lanes.h"
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
  static_cast<System &>(r) = systemOf(s);
  r.transient = o.transient, r.time = o.time, r.tau = o.tau, r.d0 = o.d0;
  r.blocks = o.blocks, r.spectrum = o.spectrum;
  return r;
}

// A run counts its steps in a double, exactly up to 2^53; a sweep's
// replay counts each value's steps in an int, as the viewer's does.
const double MOST_STEPS = 9007199254740992.0, MOST_SWEEP_STEPS = 2147483647.0;

std::string tooManySteps(double time, float dt, const char *what, double most) {
  char steps[96];
  std::snprintf(steps, sizeof steps, " is %.3g steps, more than the %.3g a run can count",
                time / dt, most);
  return what + std::string(" at dt ") + shortest(dt) + steps + ": use a shorter --time";
}

std::string lyapunovRefusal(const Settings &s, const NumberOptions &o) {
  if (!o.unswept.empty()) return o.unswept + " goes with --sweep, and does nothing without it";
  if (!positiveFinite(o.d0)) return "--d0 must be a positive number";
  if (!positiveFinite(o.time)) return "--time must be a positive number";
  if (!(o.transient >= 0) || !std::isfinite(o.transient)) return "--transient must be 0 or more";
  if ((o.transient + o.time) / s.dt > MOST_STEPS)
    return tooManySteps(o.transient + o.time, s.dt, "--transient and --time", MOST_STEPS);
  if (!positiveFinite(o.tau) || o.tau * o.blocks > o.time)
    return "--tau must be positive, with --blocks of it fitting in --time";
  if (o.repeat > 1 && !o.trace.empty()) return "--trace follows a single run, not --repeat";
  if (o.param.empty() != o.out.empty()) return "--sweep and -o go together";
  if (!o.param.empty() && (o.repeat > 1 || !o.trace.empty() || o.json))
    return "--sweep writes its CSV alone, without --repeat, --trace or --json";
  return "";
}

// Repeats start 0.01 apart along (1, 1, 1) and run on every core, a round
// of as many as there are cores at a time, so that progress shows.
// Every run on every core: in lanes, a block of runs at a time on each.
std::vector<Exponents> runAll(const std::vector<LyapunovRun> &runs, bool lanes, const char *what) {
  std::vector<Exponents> out(runs.size());
  if (!lanes || runs.empty()) {
    inRounds(runs.size(), 256, what, [&](size_t k) { out[k] = lyapunov(runs[k]); });
    return out;
  }
  inBlocks(runs.size(), laneBlock(runs.size()), what, [&](size_t first, size_t end) {
    std::vector<Exponents> found = lyapunovLanes({runs.begin() + first, runs.begin() + end});
    std::move(found.begin(), found.end(), out.begin() + first);
  });
  return out;
}

std::vector<Exponents> repeated(const LyapunovRun &r, int repeats, bool lanes) {
  std::vector<LyapunovRun> runs(repeats, r);
  for (int k = 0; k < repeats; k++)
    std::transform(r.start, r.start + 3, runs[k].start,
                   [k](double v) { return v + 0.01 * (double)k; });
  return runAll(runs, lanes, "run");
}

// The runs' mean, with their spread as its standard error; a point's
// exponents when every run stood on one.
Exponents meanOf(const std::vector<Exponents> &runs, float dt) {
  double mean[3] = {0, 0, 0}, divergence = 0;
  std::vector<std::vector<double>> samples;
  for (const Exponents &e : runs) {
    samples.emplace_back(e.value, e.value + e.count);
    for (int c = 0; c < e.count; c++) mean[c] += e.value[c] / (double)runs.size();
    divergence += e.divergence / (double)runs.size();
  }
  Exponents out = summarise(runs[0].count, mean, samples);
  out.divergence = divergence;
  if (out.count == 3) checkDivergence(out, dt);
  out.fixedPoint =
      std::all_of(runs.begin(), runs.end(), [](const Exponents &e) { return e.fixedPoint; });
  std::copy(runs[0].point, runs[0].point + 3, out.point);
  return out;
}

std::string linesOf(const std::vector<Exponents> &runs, const Exponents &mean) {
  if (runs.size() == 1) return exponentLines(mean);
  std::string out;
  for (size_t k = 0; k < runs.size(); k++)
    out += "run " + std::to_string(k + 1) + ":\n" + exponentLines(runs[k]);
  return out + "mean of " + std::to_string(runs.size()) + " runs:\n" + exponentLines(mean);
}

nlohmann::json jsonOf(const Exponents &e) {
  nlohmann::json j;
  for (int c = 0; c < e.count; c++)
    j["exponents"].push_back({{"value", e.value[c]}, {"error", e.error[c]}, {"zero", e.zero[c]}});
  if (e.fixedPoint) j["fixed_point"] = e.point;
  if (e.count < 3) return j;
  j["sum"] = {{"value", e.sum}, {"error", e.sumError}};
  j["divergence"] = e.divergence;
  if (!e.warning.empty()) j["warning"] = e.warning;
  if (!e.fixedPoint) j["kaplan_yorke"] = {{"value", e.dimension}, {"error", e.dimensionError}};
  return j;
}

// Every number in full, with what produced it: the settings as they were
// read, the options and the program's version.
std::string jsonText(const Settings &s, const NumberOptions &o, const std::vector<Exponents> &runs,
                     const Exponents &mean) {
  nlohmann::json j = jsonOf(mean);
  j["version"] = TRESOLVA_VERSION;
  j["method"] = o.spectrum ? "spectrum" : "twin";
  j["options"] = {{"transient", o.transient}, {"time", o.time},    {"tau", o.tau}, {"d0", o.d0},
                  {"blocks", o.blocks},       {"repeat", o.repeat}};
  j["settings"] = settingsText(s);
  for (size_t k = 0; runs.size() > 1 && k < runs.size(); k++) j["runs"].push_back(jsonOf(runs[k]));
  return j.dump(2) + "\n";
}

// Each figure's name ends in its format, and no two outputs name one file
// (one of them would be lost, or both).
std::string outputsRefusal(const NumberOptions &o) {
  const std::pair<const char *, const std::string *> named[] = {
      {"-o", &o.out}, {"--png", &o.png}, {"--svg", &o.svg}, {"--pdf", &o.pdf}};
  for (size_t a = 1; a < 4; a++)
    if (!named[a].second->empty() && !special(*named[a].second) &&
        extensionOf(*named[a].second) != named[a].first + 2)
      return std::string(named[a].first) + " " + *named[a].second + ": the name must end in ." +
             (named[a].first + 2);
  for (size_t a = 0; a < 4; a++)
    for (size_t b = a + 1; b < 4; b++)
      if (!named[a].second->empty() && sameFile(*named[a].second, *named[b].second))
        return named[a].first + std::string(" and ") + named[b].first + " both name " +
               *named[b].second + ": give each output a name of its own";
  return "";
}

// ======== bifurcation ==============================================================
// The swept parameter (named by option), its range, its values and the
// shard, shared by both sweeps.
std::string rangeRefusal(const Settings &s, const NumberOptions &o, const char *option, int values,
                         Sweep &w) {
  const Model &m = models[integratedIndex(s.attype)];
  auto named =
      std::find_if(m.params, m.params + 3, [&](const Parameter &q) { return o.param == q.name; });
  if (named == m.params + 3)
    return option + (" " + forMessage(o.param)) + ": " + m.key + " has " + m.params[0].name + ", " +
           m.params[1].name + " and " + m.params[2].name;
  if (!(o.from < o.to) && !(o.from == o.to && values == 1))
    return "--from must be below --to (or equal to it, with --values 1)";
  if (o.from < named->lo || o.to > named->hi)
    return "--from and --to must lie within " + shortest(named->lo) + " and " +
           shortest(named->hi) + ", the panel's limits";
  if (values < 1) return "--values must be 1 or more";
  if (std::string why = outputsRefusal(o); !why.empty()) return why;
  int width = 0, height = 0; // the figures', checked before the sweep runs
  std::string badSize;
  if (!readSize(o.size, width, height, badSize)) return badSize;
  char slash = 0, rest = 0;
  if (std::sscanf(o.shard.c_str(), "%d%c%d%c", &w.shard, &slash, &w.shards, &rest) != 3 ||
      slash != '/' || w.shards < 1 || w.shard < 1 || w.shard > w.shards)
    return "--shard " + forMessage(o.shard) + ": expected K/N with 1 <= K <= N";
  static_cast<System &>(w) = systemOf(s);
  w.param = (int)(named - m.params);
  w.from = o.from, w.to = o.to, w.values = values;
  return "";
}

std::string sweepRefusal(const Settings &s, const NumberOptions &o, Sweep &w) {
  std::string why = rangeRefusal(s, o, "--param", o.values, w);
  if (!why.empty()) return why;
  if (!(o.sweepTransient >= 0) || !(o.sweepTime > o.sweepTransient) || !std::isfinite(o.sweepTime))
    return "--transient must be 0 or more and shorter than --time";
  if (o.sweepTime / s.dt > MOST_SWEEP_STEPS)
    return tooManySteps(o.sweepTime, s.dt, "--time", MOST_SWEEP_STEPS);
  w.transient = o.sweepTransient, w.time = o.sweepTime;
  return "";
}

// ======== lyapunov --sweep =========================================================
// The exponents at each value of the shard, a round of a few hundred on
// every core at a time; a value whose run cannot stand gets empty fields
// (NaN in ys, for the figure) and a line on standard error saying why.
std::string exponentSweepCsv(const LyapunovRun &base, const Sweep &w, std::vector<double> &x,
                             std::vector<std::vector<double>> &ys) {
  std::vector<int> ks;
  for (int k = w.shard - 1; k < w.values; k += w.shards) ks.push_back(k);
  std::vector<LyapunovRun> runs(ks.size(), base);
  for (size_t j = 0; j < ks.size(); j++) runs[j].p[w.param] = sweepValue(w, ks[j]);
  const std::vector<Exponents> found = runAll(runs, w.lanes, "value");
  const int dims = base.spectrum ? 3 : 1;
  ys.assign(dims, {});
  std::string out = w.shard > 1 ? ""
                    : dims == 3 ? "parameter,lambda1,error1,lambda2,error2,lambda3,error3\n"
                                : "parameter,lambda1,error1\n";
  for (size_t j = 0; j < ks.size(); j++) {
    const Exponents &e = found[j];
    const std::string v = shortest(sweepValue(w, ks[j]));
    if (e.status != 0)
      refuse(std::string("at ") + base.model->params[w.param].name + " = " + v + ": " + e.problem,
             0);
    out += v;
    x.push_back(sweepValue(w, ks[j]));
    for (int c = 0; c < dims; c++) {
      out += e.status != 0 ? ",," : "," + shortest(e.value[c]) + "," + shortest(e.error[c]);
      ys[c].push_back(e.status != 0 ? NAN : e.value[c]);
    }
    out += "\n";
  }
  const long coarse = std::count_if(found.begin(), found.end(),
                                    [](const Exponents &e) { return !e.warning.empty(); });
  if (coarse > 0)
    refuse("warning: at " + std::to_string(coarse) + " of the values the exponents miss the " +
               "flow's divergence: " + coarseStep(base.dt),
           0);
  return out;
}

// The figure of a sweep, its size already checked with its range.
Figure figureOf(const NumberOptions &o, const Sweep &w, const std::string &yLabel, bool joined) {
  Figure f{w.model->params[w.param].name, yLabel, w.from, w.to, o.dark, joined};
  std::string checked;
  readSize(o.size, f.width, f.height, checked);
  return f;
}

// The figure in each format asked for, added to the files to write.
bool figures(const NumberOptions &o, const Figure &f, const std::vector<double> &x,
             const std::vector<std::vector<double>> &ys,
             std::vector<std::pair<std::string, std::string>> &files, std::string &error) {
  for (const auto &[format, path] : {std::pair{"png", &o.png}, {"svg", &o.svg}, {"pdf", &o.pdf}}) {
    std::string file;
    if (path->empty()) continue;
    if (!drawFigure(f, x, ys, format, file, error)) return false;
    files.push_back({*path, file});
  }
  return true;
}

// The diagram: parameter across, maxima up, a point each; the maxima are
// of |x| where the model's maximum map takes them so, as it plots.
bool diagrams(const NumberOptions &o, const Sweep &w, const std::vector<SweepPoint> &points,
              std::vector<std::pair<std::string, std::string>> &files, std::string &error) {
  Figure f = figureOf(o, w, w.model->mapAbsolute ? "max |x|" : "max x", false);
  std::vector<double> x;
  std::vector<std::vector<double>> y(1);
  for (const SweepPoint &p : points)
    for (double m : p.maxima) x.push_back(p.value), y[0].push_back(m);
  return figures(o, f, x, y, files, error);
}

} // namespace

std::string takeSimd(const std::string &simd) {
  if (simd == "on" || simd == "off" || chooseLaneTarget(simd)) return "";
  std::string known;
  for (const std::string &t : laneTargets()) known += ", " + t;
  return "--simd " + forMessage(simd) + ": use on, off or one of this machine's instruction sets" +
         known;
}

static void addSimdOption(CLI::App *c, NumberOptions &o) {
  c->add_option("--simd", o.simd,
                "on: many values per instruction, on the widest instruction set the CPU has; "
                "off: one value at a time; or an instruction set by name (same numbers either way)")
      ->capture_default_str();
}

CLI::Validator fileName() {
  return {[](const std::string &v) { return v.empty() ? "the file's name is empty" : ""; }, "FILE"};
}

// Options the sweep takes, given to a single run, are refused.
static void noteUnswept(const CLI::App *c, NumberOptions &o) {
  for (const char *name :
       {"--from", "--to", "--values", "--shard", "--png", "--svg", "--pdf", "--dark", "--size"})
    if (o.param.empty() && o.unswept.empty() && c->count(name) > 0) o.unswept = name;
}

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
  c->add_option("--trace", o.trace, "CSV of the running estimate at each renormalisation")
      ->check(fileName());
  c->add_option("--repeat", o.repeat, "runs from as many start states, on every core")
      ->check(CLI::Range(1, 1000000));
  c->add_option("--threads", o.threads, "at most this many threads (0: every core)")
      ->check(CLI::Range(0, 65536));
  c->add_flag("--json", o.json, "JSON on standard output: values, errors, settings, version");
  c->add_option("--sweep", o.param, "the exponents along this parameter, as the panel names it");
  c->add_option("--from", o.from, "--sweep: its first value");
  c->add_option("--to", o.to, "--sweep: its last value");
  c->add_option("--values", o.lyapunovValues, "--sweep: how many values, evenly spaced")
      ->capture_default_str();
  c->add_option("-o,--output", o.out, "--sweep: CSV parameter,lambda1,error1[,...]")
      ->check(fileName());
  c->add_option("--shard", o.shard, "--sweep: only the values K, K+N, K+2N, ... (from 1)")
      ->capture_default_str();
  c->add_option("--png", o.png, "--sweep: the exponents against the parameter as PNG")
      ->check(fileName());
  c->add_option("--svg", o.svg, "--sweep: the same as SVG")->check(fileName());
  c->add_option("--pdf", o.pdf, "--sweep: the same as PDF")->check(fileName());
  c->add_flag("--dark", o.dark, "--sweep: white on black, as on the screen (else black on white)");
  c->add_option("--size", o.size, "--sweep: the figure's size")->capture_default_str();
  addSimdOption(c, o);
  c->callback([c, &o] { noteUnswept(c, o); });
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
  c->add_option("-o,--output", o.out, "CSV: parameter,maximum")->required()->check(fileName());
  c->add_option("--png", o.png, "the diagram with its axes as PNG")->check(fileName());
  c->add_option("--svg", o.svg, "the same as SVG")->check(fileName());
  c->add_option("--pdf", o.pdf, "the same as PDF")->check(fileName());
  c->add_flag("--dark", o.dark, "white points on black, as on the screen (else black on white)");
  c->add_option("--size", o.size, "the picture's size")->capture_default_str();
  c->add_option("--shard", o.shard, "K/N: only the values K, K+N, K+2N, ... (from 1)")
      ->capture_default_str();
  c->add_option("--threads", o.threads, "at most this many threads (0: every core)")
      ->check(CLI::Range(0, 65536));
  addSimdOption(c, o);
}

int lyapunovCommand(const Settings &s, const NumberOptions &o) {
  std::string why = lyapunovRefusal(s, o), error;
  if (why.empty()) why = takeSimd(o.simd);
  if (!why.empty()) return refuse(why, 2);
  auto limit = threadsAtMost(o.threads);
  LyapunovRun r = runOf(s, o);
  if (!o.param.empty()) {
    Sweep w;
    if (!(why = rangeRefusal(s, o, "--sweep", o.lyapunovValues, w)).empty()) return refuse(why, 2);
    w.lanes = o.simd != "off";
    std::vector<double> x;
    std::vector<std::vector<double>> ys;
    std::string csv = exponentSweepCsv(r, w, x, ys);
    if (interrupted()) endInterrupted();
    Figure f = figureOf(o, w, o.spectrum ? "lambda" : "lambda1", true);
    std::vector<std::pair<std::string, std::string>> files = {{o.out, csv}};
    if (!figures(o, f, x, ys, files, error)) return refuse(error, 1);
    return writeAll(files, error) ? 0 : refuse(error, 1);
  }
  std::string trace;
  std::vector<Exponents> runs =
      o.repeat > 1 ? repeated(r, o.repeat, o.simd != "off")
                   : std::vector<Exponents>{lyapunov(r, o.trace.empty() ? nullptr : &trace)};
  if (interrupted()) endInterrupted();
  for (size_t k = 0; k < runs.size(); k++) {
    std::string which = runs.size() > 1 ? "run " + std::to_string(k + 1) + ": " : "";
    if (runs[k].status != 0) return refuse(which + runs[k].problem, runs[k].status);
  }
  Exponents mean = runs.size() > 1 ? meanOf(runs, r.dt) : runs[0];
  if (!mean.warning.empty()) refuse("warning: " + mean.warning, 0);
  if (!o.trace.empty() && !writeWhole(o.trace, trace, error)) return refuse(error, 1);
  std::string text = o.json ? jsonText(s, o, runs, mean) : linesOf(runs, mean);
  std::fputs(text.c_str(), stdout);
  return flushedOut(0);
}

int bifurcationCommand(const Settings &s, const NumberOptions &o) {
  Sweep w;
  std::string why = sweepRefusal(s, o, w), error;
  if (why.empty()) why = takeSimd(o.simd);
  if (!why.empty()) return refuse(why, 2);
  w.lanes = o.simd != "off";
  auto limit = threadsAtMost(o.threads);
  std::vector<SweepPoint> points = sweepAll(w);
  if (interrupted()) endInterrupted();
  for (const SweepPoint &p : points) // as the exponents' sweep says it, without the rows
    if (!std::isnan(p.leftAt))
      refuse(std::string("at ") + w.model->params[w.param].name + " = " + shortest(p.value) + ": " +
                 divergedAt(p.leftAt),
             0);
  std::vector<std::pair<std::string, std::string>> files = {{o.out, sweepCsv(w, points)}};
  if (!diagrams(o, w, points, files, error)) return refuse(error, 1);
  return writeAll(files, error) ? 0 : refuse(error, 1);
}
