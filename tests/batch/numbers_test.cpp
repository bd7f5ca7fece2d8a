// Lyapunov exponents against their published values, and the Roessler
// period-doubling route in the sweep's maxima. (tests/batch/cli.sh checks
// that threads and shards change no byte.)
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "batch/bifurcation.h"
#include "batch/lyapunov.h"

namespace {

// The start-up parameters as the viewer holds them, in single precision.
LyapunovRun run(int attractor, bool spectrum) {
  LyapunovRun r;
  r.model = &models[attractor];
  for (int k = 0; k < 3; k++) r.p[k] = r.model->params[k].start;
  r.dt = 0.005f, r.start[0] = 5, r.start[1] = 5, r.start[2] = 1;
  r.transient = 100, r.time = 10000, r.spectrum = spectrum;
  return r;
}

Sweep roesslerC(double c, int values = 1) {
  Sweep s{};
  s.model = &models[1], s.p[0] = 0.2f, s.p[1] = 0.2f, s.p[2] = 5.7f, s.param = 2;
  s.from = c, s.to = 6, s.values = values, s.dt = 0.005f;
  s.start[0] = 5, s.start[1] = 5, s.start[2] = 1;
  return s;
}

} // namespace

// Published, base e: Lorenz (0.9056, 0, -14.5723), Roessler (0.0714, 0,
// -5.3943); for Lorenz the three add up to -(sigma + 1 + beta) exactly.
TEST(Lyapunov, ExponentsMatchThePublishedValues) {
  const struct {
    int attractor;
    double l1, tolerance;
  } cases[] = {{0, 0.9056, 0.02 * 0.9056}, {1, 0.0714, 0.005}};
  for (const auto &c : cases) {
    Exponents twin = lyapunov(run(c.attractor, false));
    EXPECT_NEAR(twin.value[0], c.l1, c.tolerance) << "renormalised twin, " << c.attractor;
    Exponents all = lyapunov(run(c.attractor, true));
    EXPECT_NEAR(all.value[0], c.l1, c.tolerance) << "spectrum, " << c.attractor;
    EXPECT_LT(std::fabs(all.value[1]), 0.01) << c.attractor;
    EXPECT_GT(all.error[0], 0) << c.attractor;
    if (c.attractor == 0) {
      EXPECT_NEAR(all.value[0] + all.value[1] + all.value[2], -(10 + 1 + (double)(8.0f / 3)), 0.01);
      EXPECT_NEAR(kaplanYorke(all.value, 3), 2.062, 0.005); // published: 2.06
    }
  }
}

// Roessler with a = b = 0.2: period 1 at c = 2.5, 2 at 3.5, 4 at 4, and a
// chaotic band at 5 (Strogatz, Nonlinear Dynamics and Chaos, section 10.6).
TEST(Bifurcation, RoesslerDoublesItsPeriodOnTheWayToChaos) {
  const struct {
    double c;
    size_t distinct;
  } cases[] = {{2.5, 1}, {3.5, 2}, {4.0, 4}};
  for (const auto &k : cases) {
    std::set<long> seen;
    for (double m : sweepMaxima(roesslerC(k.c), 0)) seen.insert(std::lround(m * 1000));
    EXPECT_EQ(seen.size(), k.distinct) << "c = " << k.c;
  }
  std::set<long> band;
  for (double m : sweepMaxima(roesslerC(5.0), 0)) band.insert(std::lround(m * 1000));
  EXPECT_GT(band.size(), 50u);
}
