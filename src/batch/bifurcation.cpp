// The maxima of x as one parameter sweeps a range: the same maxima the
// maximum map plots, after a transient, for each value of the sweep.
#include "batch/bifurcation.h"

#include "batch/lanes.h"
#include "batch/output.h"
#include "sim/core.h"

namespace {

// The viewer's replay of its main trajectory, the transient as its tmin.
ReplaySettings replayOf(const Sweep &s, int k) {
  ReplaySettings r{s, (float)s.transient, (float)s.time, 0, 0};
  r.p[s.param] = sweepValue(s, k);
  return r;
}

Trajectory startOf(const Sweep &s) {
  Trajectory tr{};
  tr.xsec = s.start[0], tr.ysec = s.start[1], tr.zsec = s.start[2];
  loadStart(tr);
  return tr;
}

// A value whose run left the finite numbers keeps no maxima, only when.
void keep(const Sweep &s, int k, std::vector<double> &&maxima, bool finite, SweepValue &v) {
  if (!finite) {
    v.problem = divergedAt(leftFiniteAt(replayOf(s, k), startOf(s)));
    return;
  }
  for (double m : maxima) v.rows.push_back({m});
}

} // namespace

std::vector<SweepValue> maximaSweep(const Sweep &s) {
  return sweepValues(s, [&](const std::vector<int> &ks, SweepValue *out) {
    std::vector<char> finite(ks.size(), 1);
    std::vector<std::vector<double>> maxima;
    if (s.lanes) maxima = sweepMaximaLanes(s, ks, finite);
    for (size_t j = 0; !s.lanes && j < ks.size(); j++) {
      bool stayed = true;
      maxima.push_back(sweepMaxima(s, ks[j], &stayed));
      finite[j] = stayed;
    }
    for (size_t j = 0; j < ks.size(); j++)
      keep(s, ks[j], std::move(maxima[j]), finite[j] != 0, out[j]);
  });
}
