// Batch benchmark: Runge-Kutta steps per second of the bifurcation sweep
// and of the Lyapunov runs (repeats and a sweep along c), on one thread
// against a bare loop of the viewer's rk4 step, and on every core against
// one. Rounds alternate the kinds of run; medians of five. Figures compare
// as ratios within one run.
//   batch_bench
#include <tbb/global_control.h>
#include <tbb/info.h>
#include <tbb/parallel_for.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "batch/bifurcation.h"
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

LyapunovRun lorenzRun() {
  LyapunovRun r;
  r.model = &models[0], r.p[0] = 28, r.p[1] = 10, r.p[2] = 8.0 / 3;
  r.dt = 0.005f, r.start[0] = 5, r.start[1] = 5, r.start[2] = 1;
  r.transient = 10, r.time = 2000, r.spectrum = true;
  return r;
}

// Roessler's exponents along c, as lyapunov --sweep runs them.
LyapunovRun roesslerRun() {
  LyapunovRun r;
  r.model = &models[1], r.p[0] = 0.2, r.p[1] = 0.2, r.p[2] = 5.7;
  r.dt = 0.005f, r.start[0] = 5, r.start[1] = 5, r.start[2] = 1;
  r.transient = 50, r.time = 400;
  return r;
}

double runsOnAllCores(const LyapunovRun &r, int runs) {
  return seconds([&] {
    tbb::parallel_for(0, runs, [&](int k) {
      LyapunovRun own = r;
      own.start[0] += 0.01 * k;
      lyapunov(own);
    });
  });
}

double exponentSweep(const LyapunovRun &r, int values) {
  return seconds([&] {
    tbb::parallel_for(0, values, [&](int k) {
      LyapunovRun own = r;
      own.p[2] = 2 + 4.0 * k / (values - 1);
      lyapunov(own);
    });
  });
}

} // namespace

int main() {
  const int cores = tbb::info::default_concurrency();
  const int values = 4 * cores, runs = 4 * cores;
  const double sweepSteps = (double)values * (400 / 0.005f);
  const long bare = 20000000;
  const double exponentSteps = (double)values * ((50 + 400) / 0.005f);
  std::vector<double> tBare, tOne, tAll, tRunOne, tRunAll, tExpOne, tExpAll;
  // The bare loop steps the sweep's attractor at its start-up parameters.
  const double p[3] = {0.2f, 0.2f, 5.7f};
  for (int round = 0; round < 5; round++) {
    tBare.push_back(seconds([&] {
      double a = 5, b = 5, c = 1;
      Slopes k;
      for (long n = 0; n < bare; n++) rk4(models[1], p, 0.005f, a, b, c, k);
      std::printf("%s", a == 12345 ? " " : ""); // keeps the loop
    }));
    {
      tbb::global_control one(tbb::global_control::max_allowed_parallelism, 1);
      tOne.push_back(seconds([&] { sweepAll(sweep(values)); }));
      tRunOne.push_back(runsOnAllCores(lorenzRun(), runs));
      tExpOne.push_back(exponentSweep(roesslerRun(), values));
    }
    tAll.push_back(seconds([&] { sweepAll(sweep(values)); }));
    tRunAll.push_back(runsOnAllCores(lorenzRun(), runs));
    tExpAll.push_back(exponentSweep(roesslerRun(), values));
  }
  double bareRate = bare / median(tBare), oneRate = sweepSteps / median(tOne);
  double expRate = exponentSteps / median(tExpOne);
  std::printf("cores: %d\n", cores);
  std::printf("%-44s %14.0f steps/s\n", "bare rk4 loop, one thread", bareRate);
  std::printf("%-44s %14.0f steps/s  %.2fx the bare loop\n", "bifurcation sweep, one thread",
              oneRate, oneRate / bareRate);
  std::printf("%-44s %14.2fx  (%.2fx the core count)\n", "bifurcation sweep, every core / one",
              median(tOne) / median(tAll), median(tOne) / median(tAll) / cores);
  std::printf("%-44s %14.2fx  (%.2fx the core count)\n", "lyapunov --repeat, every core / one",
              median(tRunOne) / median(tRunAll), median(tRunOne) / median(tRunAll) / cores);
  std::printf("%-44s %14.0f steps/s  %.2fx the bare loop\n", "lyapunov sweep (twin), one thread",
              expRate, expRate / bareRate);
  std::printf("%-44s %14.2fx  (%.2fx the core count)\n", "lyapunov sweep, every core / one",
              median(tExpOne) / median(tExpAll), median(tExpOne) / median(tExpAll) / cores);
  return 0;
}
