// Lyapunov exponents of a run of the simulation core: the largest by a
// renormalised twin, or all three by the tangent dynamics with QR; many
// runs on every core, repeated from nearby starts or along a sweep.
#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "batch/statistics.h"
#include "batch/sweep.h"
#include "sim/core.h"

// The system run from its start: the transient, then the measuring.
struct LyapunovRun : System {
  double transient = 100, time = 10000; // time units: skipped, then measured
  double tau = 1;                       // time units between reported renormalisations
  double d0 = 1e-8;                     // the twin's distance after each renormalisation
  int blocks = 10;                      // the run is cut into these for the standard errors
  bool spectrum = false;
  Cut stop; // asked between runs of steps and rounds of runs: a signal, a caller's flag
};

// Why r cannot give a number it stands behind, before it runs (an option
// out of its range, more steps than it counts); "" when it can run.
std::string runRefusal(const LyapunovRun &r);

// trace, when given, gets "t,lambda1[,lambda2,lambda3]" rows: the running
// estimate at each reported renormalisation.
Exponents lyapunov(const LyapunovRun &r, std::string *trace = nullptr);
// Every run on every core, each result in its run's place: in lanes a
// block of runs at a time on each, else one at a time; what names a run
// in the progress line (none when null).
std::vector<Exponents> lyapunovAll(const std::vector<LyapunovRun> &runs, bool lanes,
                                   const char *what);
// repeats runs of r, started 0.01 apart along (1, 1, 1).
std::vector<LyapunovRun> repeatedRuns(const LyapunovRun &r, int repeats);
// Along the sweep w, runs of base: a row "lambda1,error1[,...]" for each
// value, or empty fields and why for a value whose run cannot stand.
std::vector<SweepValue> exponentSweep(const LyapunovRun &base, const Sweep &w);
// The warning for the values whose exponents miss the flow's divergence
// (a step too coarse for them); "" when none does.
std::string coarseWarning(const std::vector<SweepValue> &values, float dt);

// How far the main trajectory has reached along each axis: the twin's
// separation is judged against the largest of the three.
struct Extent {
  double lo[3] = {INFINITY, INFINITY, INFINITY}, hi[3] = {-INFINITY, -INFINITY, -INFINITY};
  void add(const Vec3 &v) {
    const double c[3] = {v.x, v.y, v.z};
    for (int a = 0; a < 3; a++) lo[a] = std::min(lo[a], c[a]), hi[a] = std::max(hi[a], c[a]);
  }
  double across() const {
    double w = 1; // at least: a run that stood still has no size of its own
    for (int a = 0; a < 3; a++) w = std::max(w, hi[a] - lo[a]);
    return w;
  }
};

// Whether a run stands on a fixed point: its states at the start of the
// measuring and at each interval's end differ by no more than their last bits.
struct Stillness {
  Extent seen;
  void add(const Vec3 &v) { seen.add(v); }
  bool still() const {
    for (int a = 0; a < 3; a++)
      if (seen.hi[a] - seen.lo[a] > 4 * DBL_EPSILON * std::max(-seen.lo[a], seen.hi[a]))
        return false;
    return true;
  }
  void into(Exponents &e) const;
};

// What the twin's and the spectrum's bookkeeping share: the run's schedule
// (the transient's steps, an interval's steps, the intervals, the blocks),
// the intervals measured, the states seen, and an early end.
class RunMeasure {
public:
  explicit RunMeasure(const LyapunovRun &r);
  const LyapunovRun &r;
  const long transientSteps; // steps before the measuring begins
  const long every;          // steps of an interval, between renormalisations
  const long intervals;      // intervals measured
  // The main trajectory left the finite numbers at step n: the run ends.
  void leftFinite(long n);
  bool done() const;

protected:
  // Whether the interval just measured closes a block.
  bool blockEnds() const { return i % perBlock == 0 && (int)blocks.size() < r.blocks; }
  // The run's exponents from the growth of each (count of them) over the
  // run, with the blocks' errors; the early end if there was one.
  Exponents finish(int count, const double *total) const;

  const long perBlock;
  const double span; // time of one interval
  long i = 0;        // intervals measured
  std::vector<std::vector<double>> blocks;
  Stillness stillness;
  Exponents end; // a run that ended early: why
};

// The renormalised twin's bookkeeping for one run, between its steps: the
// scalar loop and the sweeps' lanes call it at the same points, so every
// lane renormalises, logs and refuses exactly as the scalar run does.
class TwinMeasure : public RunMeasure {
public:
  explicit TwinMeasure(const LyapunovRun &r) : RunMeasure(r) {}
  // After the transient, x reached, box its extent: places the twin, or
  // ends the run (a --d0 not small against the attractor).
  bool begin(const Vec3 &x, const Extent &box, Vec3 &twin);
  // After an interval's steps, n steps in all: pulls the twin back and
  // adds the growth, or ends the run (a twin too far, too near or not finite).
  bool endInterval(const Vec3 &x, Vec3 &twin, const Extent &box, long n, std::string *trace);
  Exponents result() const;

private:
  double total = 0, block = 0;
};

// The tangent dynamics' bookkeeping for one run: QR when it falls due,
// the growth of each interval, the blocks. The scalar loop and the lanes
// call it at the same points; Q is 3 x 3, column by column.
class SpectrumMeasure : public RunMeasure {
public:
  explicit SpectrumMeasure(const LyapunovRun &r) : RunMeasure(r) {}
  // After the transient, x reached.
  void begin(const Vec3 &x);
  // Steps until the next QR, into steps into the interval.
  long stepsToQr(long into) const;
  // count more steps of the tangent dynamics taken; divergence, the sum of
  // the field's divergence at every state reached since begin.
  void stepped(long count, double divergence);
  // QR of Q in place, n steps in all; false, the run ended, for a Q not finite.
  bool reorthonormalise(double *Q, long n);
  // An interval's steps taken, x reached: its growth added.
  void endInterval(const Vec3 &x, std::string *trace);
  Exponents result() const;

private:
  long qrEvery = 1, sinceQr = 0;
  double growth[3] = {0, 0, 0}, total[3] = {0, 0, 0}, block[3] = {0, 0, 0};
  double divergence = 0;
};
