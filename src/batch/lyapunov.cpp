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

// Four significant digits: enough to say what went wrong.
std::string roughly(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
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

// Two passes: the squares are of the differences from the mean, which keeps
// a spread of 1e-8 about -13.67 that a sum of squares less n mean^2 loses.
double standardError(const std::vector<double> &values) {
  const size_t n = values.size();
  if (n < 2) return 0;
  const double mean = std::accumulate(values.begin(), values.end(), 0.0) / (double)n;
  const double squares =
      std::accumulate(values.begin(), values.end(), 0.0,
                      [mean](double s, double v) { return s + (v - mean) * (v - mean); });
  return std::sqrt(squares / (double)(n - 1)) / std::sqrt((double)n);
}

double kaplanYorke(const double *l, int n) {
  double sum = 0;
  for (int j = 0; j < n; j++) {
    if (sum + l[j] < 0) return l[j] == 0 ? j : j + sum / std::fabs(l[j]);
    sum += l[j];
  }
  return n;
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

void checkDivergence(Exponents &e, float dt) {
  const double miss = std::fabs(e.sum - e.divergence);
  if (!(miss > 10 * e.sumError && miss > 1e-3 * std::fabs(e.divergence))) return;
  e.warning = "the exponents add up to " + roughly(e.sum) +
              ", but the flow's divergence averages " + roughly(e.divergence) +
              " along the run: " + coarseStep(dt);
}

// A quarter of the step: RK4's error falls 256-fold.
std::string coarseStep(float dt) {
  return "dt " + shortest(dt) + " is likely too coarse; try dt " + shortest(dt / 4) +
         " (or smaller)";
}

// ======== What is printed ==========================================================
Exponents summarise(int count, const double *value,
                    const std::vector<std::vector<double>> &samples) {
  Exponents out;
  out.count = count;
  auto errorOf = [&](auto of) {
    std::vector<double> values(samples.size());
    std::transform(samples.begin(), samples.end(), values.begin(), of);
    return standardError(values);
  };
  for (int c = 0; c < count; c++) {
    out.value[c] = value[c];
    out.error[c] = errorOf([c](const std::vector<double> &s) { return s[c]; });
    out.zero[c] = std::fabs(value[c]) <= 2 * out.error[c];
  }
  if (count < 3) return out;
  auto dimensionOf = [&](const double *l) {
    double kept[3];
    for (int c = 0; c < 3; c++) kept[c] = out.zero[c] ? 0 : l[c];
    return kaplanYorke(kept, 3);
  };
  out.sum = value[0] + value[1] + value[2];
  out.sumError = errorOf([](const std::vector<double> &s) { return s[0] + s[1] + s[2]; });
  out.dimension = dimensionOf(value);
  out.dimensionError = errorOf([&](const std::vector<double> &s) { return dimensionOf(s.data()); });
  return out;
}

std::string withError(double v, double e) {
  if (!(e > 0) || !std::isfinite(e)) return shortest(v) + " +- 0";
  const int decimals = std::max(0, 1 - (int)std::floor(std::log10(e)));
  char vs[64], es[64];
  std::snprintf(vs, sizeof vs, "%.*f", decimals, v);
  std::snprintf(es, sizeof es, "%.*f", decimals, e);
  std::string shown = vs;
  if (shown[0] == '-' && shown.find_first_not_of("-0.") == std::string::npos) shown.erase(0, 1);
  return shown + " +- " + es;
}

std::string exponentLines(const Exponents &e) {
  std::string out, zeros;
  for (int c = 0; c < e.count; c++) {
    std::string name = "lambda" + std::to_string(c + 1);
    out += name + " = " + withError(e.value[c], e.error[c]);
    out += e.zero[c] ? " (zero within two standard errors)\n" : "\n";
    if (e.zero[c]) zeros += (zeros.empty() ? "" : " and ") + name;
  }
  if (e.fixedPoint)
    out = "the run stands on the fixed point (" + shortest(e.point[0]) + ", " +
          shortest(e.point[1]) + ", " + shortest(e.point[2]) +
          "): these are the point's exponents, not an attractor's\n" + out;
  if (e.count < 3) return out;
  out += "sum = " + withError(e.sum, e.sumError) + "\n";
  if (e.fixedPoint) return out; // a point has no attractor's dimension
  out += "kaplan_yorke = " + withError(e.dimension, e.dimensionError);
  return out + (zeros.empty() ? "\n" : " (" + zeros + " taken as zero)\n");
}
