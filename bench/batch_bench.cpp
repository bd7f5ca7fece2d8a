// Batch benchmark: Runge-Kutta steps per second of the bifurcation sweep
// and of the Lyapunov runs (repeats and a sweep along c), on one thread
// one value at a time and in lanes on each instruction set the CPU has,
// against a bare loop of the viewer's rk4 step and the floor (the same
// step written plainly for Roessler, inlined, no table); and on every
// core against one. Medians of five rounds. Figures compare as ratios
// within one run.
//   batch_bench
#include <sched.h>

#include <tbb/global_control.h>
#include <tbb/info.h>
#include <tbb/parallel_for.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "batch/bifurcation.h"
#include "batch/lanes.h"
#include "batch/lyapunov.h"
#include "sim/core.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(const std::function<void()> &f) {
  Clock::time_point a = Clock::now();
  f();
  return std::chrono::duration<double>(Clock::now() - a).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The Roessler sweep of the README, cut to what a round can afford.
Sweep sweep(int values) {
  Sweep s{};
  s.model = &models[1], s.p[0] = 0.2, s.p[1] = 0.2, s.p[2] = 5.7, s.param = 2;
  s.from = 2, s.to = 6, s.values = values, s.dt = 0.005f;
  s.start[0] = 5, s.start[1] = 5, s.start[2] = 1, s.transient = 50, s.time = 400;
  return s;
}

// Roessler's exponents along c, as lyapunov --sweep runs them; long
// enough that a block on every core takes a while in lanes.
LyapunovRun roesslerRun() {
  LyapunovRun r;
  r.model = &models[1], r.p[0] = 0.2, r.p[1] = 0.2, r.p[2] = 5.7;
  r.dt = 0.005f, r.start[0] = 5, r.start[1] = 5, r.start[2] = 1;
  r.transient = 50, r.time = 2000;
  return r;
}

// Roessler's step and maximum test written plainly, the floor under any
// table: the step and the test of the sweep, inlined, for one model.
double plainRoessler(long steps) {
  const double a = 0.2f, b = 0.2f, c = 5.7f, D = 0.005f, h = D * 0.5;
  double x = 5, y = 5, z = 1, xold = 0, top = 0;
  for (long n = 0; n < steps; n++) {
    const double xoldt = xold;
    xold = x;
    double k1x = -y - z, k1y = x + a * y, k1z = b + z * (x - c);
    double x2 = x + h * k1x, y2 = y + h * k1y, z2 = z + h * k1z;
    double k2x = -y2 - z2, k2y = x2 + a * y2, k2z = b + z2 * (x2 - c);
    double x3 = x + h * k2x, y3 = y + h * k2y, z3 = z + h * k2z;
    double k3x = -y3 - z3, k3y = x3 + a * y3, k3z = b + z3 * (x3 - c);
    double x4 = x + D * k3x, y4 = y + D * k3y, z4 = z + D * k3z;
    double k4x = -y4 - z4, k4y = x4 + a * y4, k4z = b + z4 * (x4 - c);
    double Sx = k1x + 2 * k2x + 2 * k3x + k4x;
    x = x + (Sx * D) / 6;
    y = y + ((k1y + 2 * k2y + 2 * k3y + k4y) * D) / 6;
    z = z + ((k1z + 2 * k2z + 2 * k3z + k4z) * D) / 6;
    double start = std::fabs(x + (Sx * D) / (-6));
    if (start > std::fabs(xoldt) && start > std::fabs(x) && x > 0) top += start;
  }
  return top;
}

std::vector<LyapunovRun> repeats(const LyapunovRun &r, int runs) {
  std::vector<LyapunovRun> out(runs, r);
  for (int k = 0; k < runs; k++) out[k].start[0] += 0.01 * k;
  return out;
}

std::vector<LyapunovRun> alongC(const LyapunovRun &r, int values) {
  std::vector<LyapunovRun> out(values, r);
  for (int k = 0; k < values; k++) out[k].p[2] = 2 + 4.0 * k / (values - 1);
  return out;
}

// The runs one at a time on every core, or in lanes.
double timeRuns(const std::vector<LyapunovRun> &runs, bool lanes) {
  return seconds([&] {
    if (lanes) {
      const size_t block = laneBlock(runs.size());
      tbb::parallel_for(size_t(0), runs.size(), block, [&](size_t a) {
        lyapunovLanes({runs.begin() + a, runs.begin() + std::min(runs.size(), a + block)});
      });
    } else {
      tbb::parallel_for(size_t(0), runs.size(), [&](size_t k) { lyapunov(runs[k]); });
    }
  });
}

double timeSweep(int values, bool lanes) {
  Sweep s = sweep(values);
  s.lanes = lanes;
  return seconds([&] { maximaSweep(s); });
}

// The median of five rounds of f, on one thread or every core. One thread
// stays on the first CPU: a VM's CPUs may run at different speeds.
double median5(bool oneThread, const std::function<double()> &f) {
  cpu_set_t all, first;
  sched_getaffinity(0, sizeof all, &all);
  CPU_ZERO(&first);
  for (int c = 0; c < CPU_SETSIZE; c++)
    if (CPU_ISSET(c, &all)) {
      CPU_SET(c, &first);
      break;
    }
  std::vector<double> t;
  for (int round = 0; round < 5; round++) {
    std::unique_ptr<tbb::global_control> one;
    if (oneThread) {
      one = std::make_unique<tbb::global_control>(tbb::global_control::max_allowed_parallelism, 1);
      sched_setaffinity(0, sizeof first, &first);
    }
    t.push_back(f());
    sched_setaffinity(0, sizeof all, &all);
  }
  return median(t);
}

void row(const char *what, double rate, const char *against, double base) {
  std::printf("%-52s %14.0f steps/s  %6.2fx %s\n", what, rate, rate / base, against);
}

void scaling(const char *what, double one, double all, int cores) {
  std::printf("%-52s %14.2fx  (%.2fx the core count)\n", what, one / all, one / all / cores);
}

} // namespace

int main() {
  const int cores = tbb::info::default_concurrency();
  const int values = 32 * cores;
  const double sweepSteps = (double)values * (400 / 0.005f);
  const double twinSteps =
      (double)values * (50 / 0.005f + 2 * 2000 / 0.005f); // main, then main and twin
  const long bare = 20000000;
  const double p[3] = {0.2f, 0.2f, 5.7f}; // the sweep's attractor at its start-up parameters
  const double tBare = median5(true, [&] {
    return seconds([&] {
      double a = 5, b = 5, c = 1;
      Slopes k;
      for (long n = 0; n < bare; n++) rk4(models[1], p, 0.005f, a, b, c, k);
      std::printf("%s", a == 12345 ? " " : ""); // keeps the loop
    });
  });
  const double tFloor = median5(true, [&] {
    return seconds([&] { std::printf("%s", plainRoessler(bare) == 1 ? " " : ""); });
  });
  const double bareRate = bare / tBare, floorRate = bare / tFloor;
  std::printf("cores: %d\n", cores);
  std::printf("%-52s %14.0f steps/s\n", "bare rk4 loop (table), one thread", bareRate);
  row("floor: Roessler's step written plainly, one thread", floorRate, "the bare loop", bareRate);

  const double tScalar = median5(true, [&] { return timeSweep(values, false); });
  const double scalarRate = sweepSteps / tScalar;
  row("bifurcation sweep, one value at a time, one thread", scalarRate, "the bare loop", bareRate);
  const std::vector<std::string> sets = laneTargets();
  for (const std::string &set : sets) {
    chooseLaneTarget(set);
    const int lanes = laneCount();
    const std::string what = "bifurcation sweep, lanes, " + set + " (" + std::to_string(lanes) +
                             (lanes == 1 ? " double" : " doubles") + "), one thread";
    row(what.c_str(), sweepSteps / median5(true, [&] { return timeSweep(values, true); }),
        "one at a time", scalarRate);
  }
  chooseLaneTarget("");
  scaling("bifurcation sweep, lanes, every core / one",
          median5(true, [&] { return timeSweep(values, true); }),
          median5(false, [&] { return timeSweep(values, true); }), cores);

  LyapunovRun spectrum = roesslerRun();
  spectrum.spectrum = true, spectrum.tau = 7;
  const double mainSteps = (double)values * ((50 + 2000) / 0.005f);
  const struct {
    const char *what;
    std::vector<LyapunovRun> runs;
    double steps; // the main trajectory's, and the twin's
  } kinds[] = {{"lyapunov --repeat (twin)", repeats(roesslerRun(), values), twinSteps},
               {"lyapunov sweep along c (twin)", alongC(roesslerRun(), values), twinSteps},
               {"lyapunov --repeat --spectrum", repeats(spectrum, values), mainSteps}};
  for (const auto &k : kinds) {
    const double one = median5(true, [&] { return timeRuns(k.runs, false); });
    const double lanes = median5(true, [&] { return timeRuns(k.runs, true); });
    std::string what = std::string(k.what) + ", one at a time, one thread";
    row(what.c_str(), k.steps / one, "the bare loop", bareRate);
    what = std::string(k.what) + ", lanes, " + laneTarget() + ", one thread";
    row(what.c_str(), k.steps / lanes, "one at a time", k.steps / one);
    what = std::string(k.what) + ", lanes, every core / one";
    scaling(what.c_str(), lanes, median5(false, [&] { return timeRuns(k.runs, true); }), cores);
  }
  return 0;
}
