// Lyapunov exponents against their published values, and the Roessler
// period-doubling route in the sweep's maxima. (tests/batch/cli.sh checks
// that threads and shards change no byte.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "batch/bifurcation.h"
#include "batch/lanes.h"
#include "batch/lyapunov.h"
#include "batch/report.h"
#include "state/settings.h"
#include "state/settings_file.h"

namespace {

// The start-up system of the attractor, its parameters as the viewer holds them.
LyapunovRun run(int attractor, bool spectrum) {
  Settings start = startUpSettings();
  start.attype = attractor;
  LyapunovRun r;
  static_cast<System &>(r) = systemOf(start);
  r.transient = 100, r.time = 10000, r.spectrum = spectrum;
  return r;
}

} // namespace

// Published, base e: Lorenz (0.9056, 0, -14.5723), Roessler (0.0714, 0,
// -5.3943). For Lorenz the three add up to the flow's divergence,
// -(sigma + 1 + beta), with an error from the blocks' spread (never 0).
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
    EXPECT_FALSE(all.fixedPoint) << c.attractor;
    if (c.attractor == 0) {
      EXPECT_NEAR(all.value[0] + all.value[1] + all.value[2], -(10 + 1 + (double)(8.0f / 3)), 0.01);
      EXPECT_NEAR(all.divergence, -(10 + 1 + (double)(8.0f / 3)), 1e-9);
      EXPECT_GT(all.sumError, 0);
      EXPECT_EQ(all.warning, "");
      EXPECT_NEAR(all.dimension, 2.062, 0.005); // published: 2.06
    }
  }
}

// QR keeps up with the growth whatever the reporting interval: at tau 3
// the third direction used to be lost (lambda3 = -inf), at 10 mangled.
TEST(Lyapunov, SpectrumIsTheSameForEveryReportingInterval) {
  LyapunovRun r = run(0, true);
  r.time = 2000;
  const Exponents each = lyapunov(r);
  for (double tau : {3.0, 10.0, 60.0}) {
    r.tau = tau;
    const Exponents e = lyapunov(r);
    for (int c = 0; c < 3; c++)
      EXPECT_NEAR(e.value[c], each.value[c], 3 * (e.error[c] + each.error[c]) + 1e-3)
          << "tau " << tau << ", lambda" << c + 1;
  }
}

// A number that cannot stand is not given, and one whose sum misses the flow's
// divergence by far is doubted: the run says what went wrong and what to
// change. At rho 10 the flow settles on a fixed point, where the largest
// exponent is -0.5955.
TEST(Lyapunov, RunsThatCannotStandOrAreInDoubtNameTheFix) {
  const struct {
    float ro, dt;
    double tau, d0;
    bool spectrum;
    int status;
    const char *says;
  } cases[] = {{28, 0.5f, 1, 1e-8, true, 1, "diverged at t = 2 "},
               {28, 0.5f, 1, 1e-8, false, 1, "use a smaller dt"},
               {28, 0.005f, 30, 1e-8, false, 2, "no longer small against the attractor"},
               {10, 0.005f, 100, 1e-8, false, 2, "use a smaller --tau or a larger --d0"},
               {28, 0.005f, 1, 100, false, 2, "--d0 100 is not small against the attractor"},
               {28, 0.1f, 1, 1e-8, true, 0, "dt 0.1 is likely too coarse; try dt 0.025"},
               {10, 0.005f, 1, 1e-8, false, 0, ""}};
  for (const auto &c : cases) {
    LyapunovRun r = run(0, c.spectrum);
    r.p[0] = c.ro, r.dt = c.dt, r.tau = c.tau, r.d0 = c.d0, r.time = 2000;
    const Exponents e = lyapunov(r);
    EXPECT_EQ(e.status, c.status) << c.says;
    EXPECT_NE((e.problem + e.warning).find(c.says), std::string::npos) << e.problem << e.warning;
    if (c.ro == 10 && c.status == 0) {
      EXPECT_NEAR(e.value[0], -0.5955, 0.001);
    }
  }
}

// Started on the origin, Lorenz stays there: the exponents are the
// eigenvalues of the field's Jacobian at the origin, (-11 +- sqrt(1201)) / 2
// and -beta, said to be a point's, with no attractor's dimension.
TEST(Lyapunov, ARunOnAFixedPointGivesThePointsExponentsAsSuch) {
  for (bool spectrum : {false, true}) {
    LyapunovRun r = run(0, spectrum);
    r.start[0] = r.start[1] = r.start[2] = 0, r.time = 1000;
    const Exponents e = lyapunov(r);
    EXPECT_TRUE(e.fixedPoint) << spectrum;
    EXPECT_NEAR(e.value[0], (-11 + std::sqrt(1201.0)) / 2, 1e-3) << spectrum;
    const std::string lines = exponentLines(e);
    EXPECT_EQ(lines.find("the run stands on the fixed point (0, 0, 0)"), 0u) << lines;
    EXPECT_EQ(lines.find("kaplan_yorke"), std::string::npos) << lines;
    EXPECT_NEAR(e.value[1], spectrum ? (-11 - std::sqrt(1201.0)) / 2 : 0, 1e-3); // none: 0
  }
}

// Roessler's limit cycle at c = 2.5 has dimension 1: its largest exponent
// is zero within its error, whichever sign it comes out with.
TEST(Lyapunov, KaplanYorkeTakesExponentsWithinTwoErrorsOfZeroAsZero) {
  LyapunovRun r = run(1, true);
  r.p[2] = 2.5f, r.time = 2000;
  const Exponents e = lyapunov(r);
  EXPECT_TRUE(e.zero[0] && !e.zero[1] && !e.zero[2]);
  EXPECT_EQ(e.dimension, 1);
  EXPECT_NE(exponentLines(e).find("(lambda1 taken as zero)"), std::string::npos);
}

// The error to two significant digits and the value to the same place;
// no "-0"; the shortest round-trip form where the error is 0.
TEST(Lyapunov, NumbersShowTheDigitsTheirErrorsSupport) {
  const struct {
    double value, error;
    const char *shown;
  } cases[] = {{0.905958, 0.002022, "0.9060 +- 0.0020"},
               {0.000053, 0.000402, "0.00005 +- 0.00040"},
               {-0.0000001, 0.00004, "0.000000 +- 0.000040"},
               {-14.572671, 0.001943, "-14.5727 +- 0.0019"},
               {1234.5, 56, "1234 +- 56"},
               {-13.666660542, 0, "-13.666660542 +- 0"}};
  for (const auto &c : cases) EXPECT_EQ(withError(c.value, c.error), c.shown);
}

// Roessler with a = b = 0.2: period 1 at c = 2.5, 2 at 3.5, 4 at 4, and a
// chaotic band at 5 (Strogatz, Nonlinear Dynamics and Chaos, section 10.6).
TEST(Bifurcation, RoesslerDoublesItsPeriodOnTheWayToChaos) {
  for (auto [c, distinct] : {std::pair{2.5, 1}, {3.5, 2}, {4.0, 4}, {5.0, 0}}) {
    std::set<long> seen;
    for (double m : sweepMaxima({run(1, false), 2, c, 6, 1}, 0)) seen.insert(std::lround(m * 1000));
    EXPECT_TRUE(distinct ? seen.size() == (size_t)distinct : seen.size() > 50)
        << seen.size() << " maxima at c = " << c; // 0: the band, more than 50
  }
}

// Every instruction set this machine has, the narrowest included, gives the
// scalar path's bytes: a sweep's rows (values not a multiple of any lane
// count), and the exponents, by the twin and by the tangent dynamics, of
// runs that end at different steps (Roessler a from 0.05 to 0.6 diverges
// ever sooner at this dt, in the transient or while measuring; one run is
// refused its d0; starts differ as --repeat's).
TEST(Lanes, EveryInstructionSetGivesTheScalarPathsBytes) {
  Sweep s{run(1, false), 2, 2, 6, 37}; // Roessler's c from 2 to 6
  s.transient = 50, s.time = 150;
  std::vector<LyapunovRun> runs[2]; // by the twin, by the tangent dynamics
  for (int k = 0; k < 23; k++)
    for (bool spectrum : {false, true}) {
      LyapunovRun r = run(1, spectrum);
      r.p[0] = (float)(0.05 + 0.025 * k), r.time = 200, r.start[0] += 0.01 * (k % 3);
      r.d0 = k == 3 ? 100 : 1e-8, r.tau = spectrum ? 7 : 1;
      runs[spectrum].push_back(r);
    }
  auto text = [](const std::vector<Exponents> &found) {
    std::ostringstream out;
    for (const Exponents &e : found)
      out << e.status << e.problem << exponentLines(e) << std::hexfloat << e.divergence << " "
          << e.warning << "\n";
    return out.str();
  };
  s.lanes = false;
  const std::string rows = sweepCsv(s, "parameter,maximum", maximaSweep(s));
  std::string exponents[2];
  std::set<std::string> endings;
  for (int kind = 0; kind < 2; kind++) {
    std::vector<Exponents> found(runs[kind].size());
    std::transform(runs[kind].begin(), runs[kind].end(), found.begin(),
                   [](const LyapunovRun &r) { return lyapunov(r); });
    for (const Exponents &e : found) endings.insert(e.problem.substr(0, 24));
    exponents[kind] = text(found);
  }
  EXPECT_GE(endings.size(), 3u); // measured, diverged, refused
  s.lanes = true;
  const std::vector<std::string> sets = laneTargets();
  // the doubles each set's registers hold: the set chosen is the one run
  const std::map<std::string, int> widths = {{"AVX3", 8},  {"AVX2", 4},   {"SSE4", 2},
                                             {"SSSE3", 2}, {"EMU128", 2}, {"SCALAR", 1}};
  for (const std::string &set : sets) {
    ASSERT_TRUE(chooseLaneTarget(set));
    if (widths.count(set)) {
      EXPECT_EQ(laneCount(), widths.at(set)) << set;
    }
    EXPECT_EQ(sweepCsv(s, "parameter,maximum", maximaSweep(s)), rows) << set;
    for (int kind = 0; kind < 2; kind++)
      EXPECT_EQ(text(lyapunovLanes(runs[kind])), exponents[kind]) << set;
  }
  chooseLaneTarget("");
  EXPECT_GE(sets.size(), 2u) << "a SIMD set and the scalar fallback at least";
}
