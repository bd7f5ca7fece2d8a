// The maxima of x as one parameter sweeps a range: the same maxima the
// maximum map plots, after a transient, for each value of the sweep.
#include "batch/bifurcation.h"
#include "state/settings_file.h"

#include <algorithm>

#include "batch/lanes.h"
#include "batch/output.h"
#include "sim/core.h"
#include "state/settings.h"

float sweepValue(const Sweep &s, int k) {
  if (s.values == 1) return (float)s.from;
  return (float)(s.from + (s.to - s.from) * k / (s.values - 1));
}

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
void noteDiverged(const Sweep &s, int k, SweepPoint &p) {
  p.maxima.clear();
  p.leftAt = leftFiniteAt(replayOf(s, k), startOf(s));
}

} // namespace

// Each value is computed into its own place, a few hundred at a time so
// that progress shows and an interruption stops the sweep; in lanes, a
// block of values on each core.
std::vector<SweepPoint> sweepAll(const Sweep &s) {
  std::vector<SweepPoint> points;
  for (int k = s.shard - 1; k < s.values; k += s.shards) points.push_back({sweepValue(s, k), {}});
  auto valueOf = [&](size_t j) { return s.shard - 1 + (int)j * s.shards; };
  if (!s.lanes) {
    inRounds(points.size(), 256, "value", [&](size_t j) {
      bool finite = true;
      points[j].maxima = sweepMaxima(s, valueOf(j), &finite);
      if (!finite) noteDiverged(s, valueOf(j), points[j]);
    });
    return points;
  }
  inBlocks(points.size(), laneBlock(points.size()), "value", [&](size_t first, size_t end) {
    std::vector<int> ks;
    for (size_t j = first; j < end; j++) ks.push_back(valueOf(j));
    std::vector<char> finite;
    std::vector<std::vector<double>> maxima = sweepMaximaLanes(s, ks, finite);
    for (size_t j = first; j < end; j++) {
      points[j].maxima = std::move(maxima[j - first]);
      if (!finite[j - first]) noteDiverged(s, valueOf(j), points[j]);
    }
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
