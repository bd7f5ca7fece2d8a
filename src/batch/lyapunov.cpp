// Lyapunov exponents of a run of the simulation core: the largest by a
// renormalised twin, or all three by the tangent dynamics with QR.
// The trajectory is stepped by the core's RK4, bit for bit as the viewer's.
// A run refuses to give a number it cannot stand behind: one that leaves
// the finite numbers, a twin that fills the attractor or sinks into the
// rounding of the state.
#include "batch/lyapunov.h"
#include "state/settings_file.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "batch/lanes.h"
#include "batch/output.h"
#include "sim/core.h"
#include "state/settings.h"

namespace {

using Matrix = Eigen::Matrix3d;

// ======== Renormalisations ========================================================
// Growth logarithms of one renormalisation: the twin pulled back to d0
// along the separation, or Q re-orthonormalised (R's diagonal kept positive).
double separation(const Vec3 &x, const Vec3 &twin) {
  double dx = twin.x - x.x, dy = twin.y - x.y, dz = twin.z - x.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// d is the separation, already measured.
double pullTwinBack(const Vec3 &x, Vec3 &twin, double d, double d0) {
  double dx = twin.x - x.x, dy = twin.y - x.y, dz = twin.z - x.z;
  double f = d0 / d;
  twin = {x.x + f * dx, x.y + f * dy, x.z + f * dz};
  return std::log(d / d0);
}

void reorthonormalise(Matrix &Q, double *growth) {
  Eigen::HouseholderQR<Matrix> qr(Q);
  Matrix R = qr.matrixQR().triangularView<Eigen::Upper>();
  Matrix q = qr.householderQ();
  for (int c = 0; c < 3; c++) {
    growth[c] = std::log(std::fabs(R(c, c)));
    Q.col(c) = (R(c, c) < 0 ? -1.0 : 1.0) * q.col(c);
  }
}

bool finite(const Vec3 &v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

Exponents failed(int status, const std::string &why) {
  Exponents e;
  e.status = status, e.problem = why;
  return e;
}

// The twin's separation before it is pulled back: small against the
// attractor, and well above the rounding of the state. Each of an
// interval's steps rounds the state, so the twin's separation cannot be
// told from the rounding below about sqrt(steps) roundings of the state;
// three times that keeps the runs that pass by a saddle (Lorenz at rho
// 94.4 shrinks it 2700-fold in a time unit near the origin, to 8 times the
// floor) and refuses a twin sunk into a stable point or cycle (rho 10 at
// --tau 100 measures the rounding itself there, at 1 times).
const double ROUNDINGS = 3;

std::string twinTrouble(const Vec3 &x, double d, double across, double t, long steps) {
  const double rounding = ROUNDINGS * std::sqrt((double)steps) * DBL_EPSILON *
                          (std::fabs(x.x) + std::fabs(x.y) + std::fabs(x.z));
  if (!(d < 0.01 * across))
    return "the twin's separation grew to " + roughly(d) + " by t = " + roughly(t) +
           ", no longer small against the attractor (" + roughly(across) +
           " across): use a smaller --tau";
  if (d < rounding)
    return "the twin's separation fell to " + roughly(d) + " by t = " + roughly(t) +
           ", down to the rounding of the state: use a smaller --tau or a larger --d0";
  return "";
}

// The columns of Q part as fast as the exponents differ: re-orthonormalised
// before they are e^7 (about 1000) apart, so that QR keeps every direction,
// whatever the reporting interval. The spread since the last QR sets the
// next interval, which at most doubles.
long nextQrInterval(const double *growth, long steps, long was, long most) {
  double spread = (*std::max_element(growth, growth + 3) - *std::min_element(growth, growth + 3)) /
                  (double)steps;
  double want = spread > 0 ? 7 / spread : (double)most;
  return std::clamp((long)std::min(want, 2.0 * (double)was), 1L, most);
}

} // namespace

// ======== What a run needs ========================================================
namespace {
bool positiveFinite(double v) {
  return std::isfinite(v) && v > 0;
}
// A run counts its steps in a double, exactly up to 2^53.
const double MOST_STEPS = 9007199254740992.0;
} // namespace

std::string runRefusal(const LyapunovRun &r) {
  if (!positiveFinite(r.d0)) return "--d0 must be a positive number";
  if (!positiveFinite(r.time)) return "--time must be a positive number";
  if (!(r.transient >= 0) || !std::isfinite(r.transient)) return "--transient must be 0 or more";
  if ((r.transient + r.time) / r.dt > MOST_STEPS)
    return tooManySteps(r.transient + r.time, r.dt, "--transient and --time", MOST_STEPS);
  if (r.blocks < 2 || r.blocks > 100000) return "--blocks must be 2 to 100000";
  if (!positiveFinite(r.tau) || r.tau * r.blocks > r.time)
    return "--tau must be positive, with --blocks of it fitting in --time";
  return "";
}

// ======== What both measurements share ============================================
RunMeasure::RunMeasure(const LyapunovRun &r)
    : r(r), transientSteps(stepsBelow(r.transient / r.dt)),
      every(std::lround(r.tau / r.dt) > 0 ? std::lround(r.tau / r.dt) : 1),
      intervals((long)(r.time / ((double)every * r.dt))),
      perBlock(intervals / r.blocks > 0 ? intervals / r.blocks : 1), span((double)every * r.dt) {}

void RunMeasure::leftFinite(long n) {
  end = failed(1, divergedAt((double)n * r.dt));
}

bool RunMeasure::done() const {
  return end.status != 0 || i == intervals;
}

Exponents RunMeasure::finish(int count, const double *total) const {
  if (end.status != 0) return end;
  double value[3] = {0, 0, 0};
  for (int c = 0; c < count; c++) value[c] = total[c] / ((double)intervals * span);
  Exponents e = summarise(count, value, blocks);
  stillness.into(e);
  return e;
}

// ======== The twin's measurements =================================================

bool TwinMeasure::begin(const Vec3 &x, const Extent &box, Vec3 &twin) {
  if (!(r.d0 < 0.001 * box.across())) {
    end = failed(2, "--d0 " + shortest(r.d0) + " is not small against the attractor (" +
                        roughly(box.across()) + " across): use --d0 " +
                        roughly(0.0001 * box.across()) + " or less");
    return false;
  }
  double e = r.d0 / std::sqrt(3.0);
  twin = {x.x + e, x.y + e, x.z + e};
  stillness.add(x);
  return true;
}

// The blocks hold whole reporting intervals; the estimate is the growth of
// all of them over their time.
bool TwinMeasure::endInterval(const Vec3 &x, Vec3 &twin, const Extent &box, long n,
                              std::string *trace) {
  const double d = separation(x, twin);
  std::string why = twinTrouble(x, d, box.across(), (double)n * r.dt, every);
  if (!finite(twin)) why = divergedAt((double)n * r.dt);
  if (!why.empty()) {
    end = failed(finite(twin) ? 2 : 1, why);
    return false;
  }
  const double growth = pullTwinBack(x, twin, d, r.d0);
  total += growth, block += growth, i++;
  stillness.add(x);
  if (trace)
    *trace += shortest((double)i * span) + "," + shortest(total / ((double)i * span)) + "\n";
  if (blockEnds()) {
    blocks.push_back({block / ((double)perBlock * span)});
    block = 0;
  }
  return true;
}

Exponents TwinMeasure::result() const {
  return finish(1, &total);
}

// ======== The spectrum's measurements =============================================
void SpectrumMeasure::begin(const Vec3 &x) {
  stillness.add(x);
}

long SpectrumMeasure::stepsToQr(long into) const {
  return std::min(qrEvery - sinceQr, every - into);
}

void SpectrumMeasure::stepped(long count, double divergenceSum) {
  sinceQr += count;
  divergence = divergenceSum;
}

// The columns of Q part as fast as the exponents differ: QR keeps every
// direction when it comes before they are e^7 apart.
bool SpectrumMeasure::reorthonormalise(double *Q, long n) {
  Eigen::Map<Matrix> kept(Q);
  Matrix q = kept;
  if (!q.allFinite()) {
    end = failed(1, divergedAt((double)n * r.dt));
    return false;
  }
  double g[3];
  ::reorthonormalise(q, g);
  kept = q;
  for (int c = 0; c < 3; c++) growth[c] += g[c];
  qrEvery = nextQrInterval(g, sinceQr, qrEvery, every), sinceQr = 0;
  return true;
}

void SpectrumMeasure::endInterval(const Vec3 &x, std::string *trace) {
  i++;
  stillness.add(x);
  for (int c = 0; c < 3; c++) total[c] += growth[c], block[c] += growth[c], growth[c] = 0;
  if (trace) {
    *trace += shortest((double)i * span);
    for (int c = 0; c < 3; c++) *trace += "," + shortest(total[c] / ((double)i * span));
    *trace += "\n";
  }
  if (blockEnds()) {
    blocks.emplace_back(3);
    for (int c = 0; c < 3; c++)
      blocks.back()[c] = block[c] / ((double)perBlock * span), block[c] = 0;
  }
}

Exponents SpectrumMeasure::result() const {
  Exponents e = finish(3, total);
  if (end.status != 0) return e;
  e.divergence = divergence / (double)(intervals * every);
  checkDivergence(e, r.dt);
  return e;
}

void Stillness::into(Exponents &e) const {
  e.fixedPoint = still();
  for (int a = 0; a < 3; a++) e.point[a] = seen.lo[a];
}

// ======== Many runs ================================================================
namespace {

// The runs' exponents on the calling core: in lanes, or one after another.
std::vector<Exponents> onThisCore(const std::vector<LyapunovRun> &runs, bool lanes) {
  if (lanes) return lyapunovLanes(runs);
  std::vector<Exponents> out(runs.size());
  std::transform(runs.begin(), runs.end(), out.begin(),
                 [](const LyapunovRun &r) { return lyapunov(r); });
  return out;
}

} // namespace

std::vector<Exponents> lyapunovAll(const std::vector<LyapunovRun> &runs, bool lanes,
                                   const char *what) {
  std::vector<Exponents> out(runs.size());
  if (runs.empty()) return out;
  onEveryCore(
      runs.size(), lanes, what,
      [&](size_t first, size_t end) {
        std::vector<Exponents> found =
            onThisCore({runs.begin() + first, runs.begin() + end}, lanes);
        std::move(found.begin(), found.end(), out.begin() + first);
      },
      runs[0].stop);
  return out;
}

std::vector<LyapunovRun> repeatedRuns(const LyapunovRun &r, int repeats) {
  std::vector<LyapunovRun> runs(repeats, r);
  for (int k = 0; k < repeats; k++)
    std::transform(r.start, r.start + 3, runs[k].start,
                   [k](double v) { return v + 0.01 * (double)k; });
  return runs;
}

std::vector<SweepValue> exponentSweep(const LyapunovRun &base, const Sweep &w) {
  return sweepValues(w, [&](const std::vector<int> &ks, SweepValue *out) {
    std::vector<LyapunovRun> runs(ks.size(), base);
    for (size_t j = 0; j < ks.size(); j++) runs[j].p[w.param] = out[j].value;
    const std::vector<Exponents> found = onThisCore(runs, w.lanes);
    for (size_t j = 0; j < ks.size(); j++) {
      const Exponents &e = found[j];
      std::vector<double> &row = out[j].rows.emplace_back();
      for (int c = 0; c < (base.spectrum ? 3 : 1); c++)
        row.insert(row.end(), {e.status != 0 ? NAN : e.value[c], e.status != 0 ? NAN : e.error[c]});
      out[j].problem = e.problem, out[j].warning = e.warning;
    }
  });
}

std::string coarseWarning(const std::vector<SweepValue> &values, float dt) {
  const long coarse = std::count_if(values.begin(), values.end(),
                                    [](const SweepValue &v) { return !v.warning.empty(); });
  if (coarse == 0) return "";
  return "at " + std::to_string(coarse) + " of the values the exponents miss the flow's " +
         "divergence: " + coarseStep(dt);
}
