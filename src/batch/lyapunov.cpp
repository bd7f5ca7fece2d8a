// Lyapunov exponents of a run of the simulation core: the largest by a
// renormalised twin, or all three by the tangent dynamics with QR.
// The trajectory is stepped by the core's RK4, bit for bit as the viewer's.
#include "batch/lyapunov.h"

#include <Eigen/Dense>

#include <cmath>

#include "sim/core.h"
#include "state/settings.h"

namespace {

using Matrix = Eigen::Matrix3d;

// ======== The tangent step ========================================================
// The variational equation stepped with the same RK4 stages as the state:
// each stage's derivative at the stage point the state's step used.
Vec3 along(const Vec3 &v, double h, const Vec3 &k) {
  return {v.x + h * k.x, v.y + h * k.y, v.z + h * k.z};
}

Matrix tangentStep(const Model &m, const double *p, float dt, const Vec3 &x0, const Slopes &k,
                   const Matrix &Q) {
  double D = dt, h = D * 0.5;
  Vec3 s2 = along(x0, h, k.k1), s3 = along(x0, h, k.k2), s4 = along(x0, D, k.k3);
  Matrix out;
  for (int c = 0; c < 3; c++) {
    Vec3 v{Q(0, c), Q(1, c), Q(2, c)};
    Vec3 a = m.tangent(p, x0.x, x0.y, x0.z, v);
    Vec3 b = m.tangent(p, s2.x, s2.y, s2.z, along(v, h, a));
    Vec3 cc = m.tangent(p, s3.x, s3.y, s3.z, along(v, h, b));
    Vec3 d = m.tangent(p, s4.x, s4.y, s4.z, along(v, D, cc));
    out(0, c) = v.x + (D / 6) * (a.x + 2 * b.x + 2 * cc.x + d.x);
    out(1, c) = v.y + (D / 6) * (a.y + 2 * b.y + 2 * cc.y + d.y);
    out(2, c) = v.z + (D / 6) * (a.z + 2 * b.z + 2 * cc.z + d.z);
  }
  return out;
}

// ======== Renormalisations ========================================================
// Growth logarithms of one renormalisation: the twin pulled back to d0
// along the separation, or Q re-orthonormalised (R's diagonal kept positive).
double pullTwinBack(const Vec3 &x, Vec3 &twin, double d0) {
  double dx = twin.x - x.x, dy = twin.y - x.y, dz = twin.z - x.z;
  double d = std::sqrt(dx * dx + dy * dy + dz * dz);
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

void step(const LyapunovRun &r, Vec3 &x, Slopes &k) {
  rk4(*r.model, r.p, r.dt, x.x, x.y, x.z, k);
}

} // namespace

double standardError(double sum, double squares, int n) {
  if (n < 2) return 0;
  double mean = sum / n, var = (squares - n * mean * mean) / (n - 1);
  return std::sqrt(var > 0 ? var : 0) / std::sqrt((double)n);
}

double kaplanYorke(const double *l, int n) {
  double sum = 0;
  for (int j = 0; j < n; j++) {
    if (sum + l[j] < 0) return l[j] == 0 ? j : j + sum / std::fabs(l[j]);
    sum += l[j];
  }
  return n;
}

// ======== The run ==================================================================
// The blocks hold whole renormalisation intervals; the estimate is the
// growth of all of them over their time.
Exponents lyapunov(const LyapunovRun &r, std::string *trace) {
  Vec3 x{r.start[0], r.start[1], r.start[2]};
  Slopes k;
  for (long n = 0; (double)n < r.transient / r.dt; n++) step(r, x, k);

  const int dims = r.spectrum ? 3 : 1;
  const long every = std::lround(r.tau / r.dt) > 0 ? std::lround(r.tau / r.dt) : 1;
  const long intervals = (long)(r.time / ((double)every * r.dt));
  const long perBlock = intervals / r.blocks > 0 ? intervals / r.blocks : 1;
  const double span = (double)every * r.dt; // time of one interval

  double e = r.d0 / std::sqrt(3.0);
  Vec3 twin{x.x + e, x.y + e, x.z + e};
  Matrix Q = Matrix::Identity();
  double total[3] = {0, 0, 0}, block[3] = {0, 0, 0};
  double blockSum[3] = {0, 0, 0}, blockSq[3] = {0, 0, 0};
  int blocksDone = 0;
  if (trace) *trace = dims == 3 ? "t,lambda1,lambda2,lambda3\n" : "t,lambda1\n";

  for (long i = 1; i <= intervals; i++) {
    for (long s = 0; s < every; s++) {
      Vec3 x0 = x;
      step(r, x, k);
      if (r.spectrum) Q = tangentStep(*r.model, r.p, r.dt, x0, k, Q);
      else step(r, twin, k);
    }
    double growth[3] = {0, 0, 0};
    if (r.spectrum) reorthonormalise(Q, growth);
    else growth[0] = pullTwinBack(x, twin, r.d0);
    for (int c = 0; c < dims; c++) total[c] += growth[c], block[c] += growth[c];
    if (trace) {
      *trace += shortest((double)i * span);
      for (int c = 0; c < dims; c++) *trace += "," + shortest(total[c] / ((double)i * span));
      *trace += "\n";
    }
    if (i % perBlock == 0 && blocksDone < r.blocks) {
      for (int c = 0; c < dims; c++) {
        double l = block[c] / ((double)perBlock * span);
        blockSum[c] += l, blockSq[c] += l * l, block[c] = 0;
      }
      blocksDone++;
    }
  }

  Exponents out{dims, {0, 0, 0}, {0, 0, 0}, 0};
  double T = (double)intervals * span;
  for (int c = 0; c < dims; c++) {
    out.value[c] = total[c] / T;
    out.error[c] = standardError(blockSum[c], blockSq[c], blocksDone);
  }
  if (r.spectrum) out.dimension = kaplanYorke(out.value, 3);
  return out;
}
