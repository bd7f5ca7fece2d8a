// The statistics of Lyapunov exponents: standard errors, zeros, the sum,
// the Kaplan-Yorke dimension, and the sum checked against the flow.
#include "batch/statistics.h"

#include <algorithm>
#include <numeric>

#include "batch/output.h"
#include "state/settings_file.h"

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
