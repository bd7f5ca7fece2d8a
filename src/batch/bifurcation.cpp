// The maxima of x as one parameter sweeps a range: the same maxima the
// maximum map plots, after a transient, for each value of the sweep.
#include "batch/bifurcation.h"

#include <tbb/parallel_for.h>

#include "sim/core.h"
#include "state/settings.h"

float sweepValue(const Sweep &s, int k) {
  if (s.values == 1) return (float)s.from;
  return (float)(s.from + (s.to - s.from) * k / (s.values - 1));
}

// Stepped as the viewer steps its main trajectory, with the history the
// map's test reads.
std::vector<double> sweepMaxima(const Sweep &s, int k) {
  double p[3] = {s.p[0], s.p[1], s.p[2]};
  p[s.param] = sweepValue(s, k);
  Trajectory tr{};
  tr.x = s.start[0], tr.y = s.start[1], tr.z = s.start[2];
  std::vector<double> maxima;
  const float skip = (float)(s.transient / s.dt), all = (float)(s.time / s.dt);
  for (long n = 0; (float)n < all; n++) {
    tr.xoldt = tr.xold, tr.xold = tr.x;
    rk4(*s.model, p, s.dt, tr.x, tr.y, tr.z, tr.k);
    double top, shown;
    if ((float)n >= skip && mapMaximum(*s.model, tr, s.dt, top, shown)) maxima.push_back(top);
  }
  return maxima;
}

// Each value is computed alone, into its own place.
std::vector<SweepPoint> sweepAll(const Sweep &s) {
  std::vector<SweepPoint> points;
  for (int k = s.shard - 1; k < s.values; k += s.shards) points.push_back({sweepValue(s, k), {}});
  tbb::parallel_for(size_t(0), points.size(), [&](size_t j) {
    points[j].maxima = sweepMaxima(s, s.shard - 1 + (int)j * s.shards);
  });
  return points;
}

std::string sweepCsv(const Sweep &s, const std::vector<SweepPoint> &points) {
  std::string out = s.shard == 1 ? "parameter,maximum\n" : "";
  for (const SweepPoint &p : points) {
    std::string v = shortest(p.value);
    for (double m : p.maxima) out += v + "," + shortest(m) + "\n";
  }
  return out;
}
