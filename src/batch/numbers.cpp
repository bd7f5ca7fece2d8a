// The subcommands behind the numbers, lyapunov and bifurcation: their
// options and refusals, what each runs, and the files each writes.
#include "batch/numbers.h"
#include "state/settings_file.h"

#include <tbb/global_control.h>
#include <tbb/task_arena.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "batch/bifurcation.h"
#include "batch/figure.h"
#include "batch/lanes.h"
#include "batch/lyapunov.h"
#include "batch/output.h"
#include "batch/report.h"

namespace {

// At most n threads for what follows, every core when n is 0.
std::unique_ptr<tbb::global_control> threadsAtMost(int n) {
  if (n < 1) return nullptr;
  return std::make_unique<tbb::global_control>(tbb::global_control::max_allowed_parallelism,
                                               (size_t)n);
}

// ======== lyapunov =================================================================
LyapunovRun runOf(const Settings &s, const NumberOptions &o) {
  LyapunovRun r;
  static_cast<System &>(r) = systemOf(s);
  r.transient = o.transient, r.time = o.time, r.tau = o.tau, r.d0 = o.d0;
  r.blocks = o.blocks, r.spectrum = o.spectrum, r.stop = untilSignal();
  return r;
}

std::string lyapunovRefusal(const LyapunovRun &r, const NumberOptions &o) {
  if (!o.unswept.empty()) return o.unswept + " goes with --sweep, and does nothing without it";
  if (std::string why = runRefusal(r); !why.empty()) return why;
  if (o.repeat > 1 && !o.trace.empty()) return "--trace follows a single run, not --repeat";
  if (o.param.empty() != o.out.empty()) return "--sweep and -o go together";
  if (!o.param.empty() && (o.repeat > 1 || !o.trace.empty() || o.json))
    return "--sweep writes its CSV alone, without --repeat, --trace or --json";
  return "";
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
                         Sweep &w, Figure &f) {
  static_cast<System &>(w) = systemOf(s);
  if (std::string why = paramRefusal(w, o.param, option); !why.empty()) return why;
  const Parameter *named = &w.model->params[w.param];
  if (!(o.from < o.to) && !(o.from == o.to && values == 1))
    return "--from must be below --to (or equal to it, with --values 1)";
  if (o.from < named->lo || o.to > named->hi)
    return "--from and --to must lie within " + shortest(named->lo) + " and " +
           shortest(named->hi) + ", the panel's limits";
  if (values < 1) return "--values must be 1 or more";
  if (std::string why = outputsRefusal(o); !why.empty()) return why;
  std::string badSize; // the figures', checked before the sweep runs
  if (!readSize(o.size, FIGURE_MAX, f.width, f.height, badSize)) return badSize;
  char slash = 0, rest = 0;
  if (std::sscanf(o.shard.c_str(), "%d%c%d%c", &w.shard, &slash, &w.shards, &rest) != 3 ||
      slash != '/' || w.shards < 1 || w.shard < 1 || w.shard > w.shards)
    return "--shard " + forMessage(o.shard) + ": expected K/N with 1 <= K <= N";
  w.stop = untilSignal();
  w.from = o.from, w.to = o.to, w.values = values;
  return "";
}

std::string sweepRefusal(const Settings &s, const NumberOptions &o, Sweep &w, Figure &f) {
  std::string why = rangeRefusal(s, o, "--param", o.values, w, f);
  if (!why.empty()) return why;
  w.transient = o.sweepTransient, w.time = o.sweepTime;
  return timeRefusal(w);
}

// ======== The sweeps' files ========================================================
// The CSV, and the figure of its columns in each format asked for, written
// all or none; the figure labelled by the sweep's parameter.
int writeSweep(const NumberOptions &o, const Sweep &w, const std::string &csv, Figure f,
               const std::vector<SweepValue> &values, const std::vector<int> &columns) {
  f.xLabel = w.model->params[w.param].name, f.xFrom = w.from, f.xTo = w.to, f.dark = o.dark;
  std::vector<double> x;
  std::vector<std::vector<double>> ys;
  seriesOf(values, columns, x, ys);
  std::vector<std::pair<std::string, std::string>> files = {{o.out, csv}};
  std::string error;
  for (const auto &[format, path] : {std::pair{"png", &o.png}, {"svg", &o.svg}, {"pdf", &o.pdf}}) {
    std::string file;
    if (path->empty()) continue;
    if (!drawFigure(f, x, ys, format, file, error)) return refuse(error, 1);
    files.push_back({*path, file});
  }
  return writeAll(files, error) ? 0 : refuse(error, 1);
}

} // namespace

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

// The exponents along the sweep: the CSV's rows, a line for each value that
// cannot stand, a warning for those whose sum misses the flow.
int exponentSweepCommand(const Settings &s, const NumberOptions &o, const LyapunovRun &r) {
  Sweep w;
  Figure f;
  if (std::string why = rangeRefusal(s, o, "--sweep", o.lyapunovValues, w, f); !why.empty())
    return refuse(why, 2);
  w.lanes = o.simd != "off";
  const std::vector<SweepValue> values = exponentSweep(r, w);
  if (interrupted()) endInterrupted();
  for (const std::string &line : problemLines(w, values)) refuse(line, 0);
  if (const std::string coarse = coarseWarning(values, r.dt); !coarse.empty())
    refuse("warning: " + coarse, 0);
  const std::string header = o.spectrum ? "parameter,lambda1,error1,lambda2,error2,lambda3,error3"
                                        : "parameter,lambda1,error1";
  f.yLabel = o.spectrum ? "lambda" : "lambda1", f.joined = true;
  return writeSweep(o, w, sweepCsv(w, header, values), f, values,
                    o.spectrum ? std::vector{0, 2, 4} : std::vector{0});
}

int lyapunovCommand(const Settings &s, const NumberOptions &o) {
  const LyapunovRun r = runOf(s, o);
  std::string why = lyapunovRefusal(r, o), error;
  if (why.empty()) why = takeSimd(o.simd);
  if (!why.empty()) return refuse(why, 2);
  auto limit = threadsAtMost(o.threads);
  if (!o.param.empty()) return exponentSweepCommand(s, o, r);
  std::string trace;
  std::vector<Exponents> runs =
      o.repeat > 1 ? lyapunovAll(repeatedRuns(r, o.repeat), o.simd != "off", "run")
                   : std::vector<Exponents>{lyapunov(r, o.trace.empty() ? nullptr : &trace)};
  if (interrupted()) endInterrupted();
  for (size_t k = 0; k < runs.size(); k++) {
    std::string which = runs.size() > 1 ? "run " + std::to_string(k + 1) + ": " : "";
    if (runs[k].status != 0) return refuse(which + runs[k].problem, runs[k].status);
  }
  Exponents mean = runs.size() > 1 ? meanOf(runs, r.dt) : runs[0];
  if (!mean.warning.empty()) refuse("warning: " + mean.warning, 0);
  if (!o.trace.empty() && !writeWhole(o.trace, trace, error)) return refuse(error, 1);
  std::string text = o.json ? jsonText(s, r, runs, mean) : linesOf(runs, mean);
  std::fputs(text.c_str(), stdout);
  return flushedOut(0);
}

// The diagram: parameter across, maxima up, a point each; the maxima are
// of |x| where the model's maximum map takes them so, as it plots.
int bifurcationCommand(const Settings &s, const NumberOptions &o) {
  Sweep w;
  Figure f;
  std::string why = sweepRefusal(s, o, w, f);
  if (why.empty()) why = takeSimd(o.simd);
  if (!why.empty()) return refuse(why, 2);
  w.lanes = o.simd != "off";
  auto limit = threadsAtMost(o.threads);
  const std::vector<SweepValue> values = maximaSweep(w);
  if (interrupted()) endInterrupted();
  for (const std::string &line : problemLines(w, values))
    refuse(line, 0); // as the exponents' sweep
  f.yLabel = w.model->mapAbsolute ? "max |x|" : "max x";
  return writeSweep(o, w, sweepCsv(w, "parameter,maximum", values), f, values, {0});
}
