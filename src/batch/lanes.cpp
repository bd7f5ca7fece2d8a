// The sweeps at the machine's full width, through Google Highway: this file
// is compiled once for each instruction set (Highway includes it again per
// target), and the widest one the CPU has is called at run time.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "batch/lanes.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/highway.h>
#include <tbb/task_arena.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "batch/lanes.h"
#include "batch/lyapunov.h"
#include "batch/output.h"
#include "sim/models.h"
#include "state/settings_file.h"

HWY_BEFORE_NAMESPACE();
namespace tresolva {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;
using D = hn::ScalableTag<double>;
#include "batch/lanes-inl.h"

void SweepMaxima(const Sweep &s, const std::vector<int> &ks, std::vector<std::vector<double>> &out,
                 std::vector<char> &finite) {
  withModelField(s.model, [&](const auto &f) { sweepWith(f, s, ks, out, finite); });
}

void ExponentsOf(const std::vector<LyapunovRun> &runs, std::vector<Exponents> &out) {
  withModelField(runs[0].model, [&](const auto &f) {
    if (runs[0].spectrum) runsInLanes<SpectrumLanes>(f, runs, out);
    else runsInLanes<TwinLanes>(f, runs, out);
  });
}

int LaneCount() {
  return (int)hn::Lanes(D());
}

} // namespace HWY_NAMESPACE
} // namespace tresolva
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace tresolva {

HWY_EXPORT(SweepMaxima);
HWY_EXPORT(ExponentsOf);
HWY_EXPORT(LaneCount);

namespace {
int64_t chosen = 0; // 0: the widest
} // namespace

} // namespace tresolva

using namespace tresolva;

// Every target enabled while the list is made; then all but the chosen one
// disabled again, so that the dispatch picks it.
std::vector<std::string> laneTargets() {
  hwy::DisableTargets(0);
  const std::vector<int64_t> targets = hwy::SupportedAndGeneratedTargets();
  std::vector<std::string> names(targets.size());
  std::transform(targets.begin(), targets.end(), names.begin(),
                 [](int64_t t) { return std::string(hwy::TargetName(t)); });
  if (chosen) hwy::DisableTargets(~chosen);
  return names;
}

bool chooseLaneTarget(const std::string &name) {
  int64_t found = name.empty() ? 0 : -1; // 0: the widest
  hwy::DisableTargets(0);
  for (int64_t t : hwy::SupportedAndGeneratedTargets())
    if (name == hwy::TargetName(t)) found = t;
  if (found >= 0) chosen = found;
  if (chosen) hwy::DisableTargets(~chosen);
  return found >= 0;
}

std::string takeSimd(const std::string &simd) {
  if (simd == "on" || simd == "off" || chooseLaneTarget(simd)) return "";
  std::string known;
  for (const std::string &t : laneTargets()) known += ", " + t;
  return "--simd " + forMessage(simd) + ": use on, off or one of this machine's instruction sets" +
         known;
}

std::string laneTarget() {
  return chosen ? hwy::TargetName(chosen) : laneTargets().front();
}

int laneCount() {
  return HWY_DYNAMIC_DISPATCH(LaneCount)();
}

// At least a block a lane wide; up to four lanes' worth, as long as each
// core gets four blocks to share out (a VM's cores may run at different speeds).
size_t laneBlock(size_t count) {
  const size_t lanes = (size_t)laneCount();
  const size_t cores = (size_t)std::max(1, tbb::this_task_arena::max_concurrency());
  return std::max(lanes, std::min(4 * lanes, (count + 4 * cores - 1) / (4 * cores)));
}

void onEveryCore(size_t count, bool lanes, const char *what,
                 const std::function<void(size_t, size_t)> &each, Cut stop) {
  inBlocks(count, lanes ? laneBlock(count) : 1, what, each, stop);
}

std::vector<std::vector<double>> sweepMaximaLanes(const Sweep &s, const std::vector<int> &ks,
                                                  std::vector<char> &finite) {
  std::vector<std::vector<double>> out(ks.size());
  finite.assign(ks.size(), 1);
  HWY_DYNAMIC_DISPATCH(SweepMaxima)(s, ks, out, finite);
  return out;
}
std::vector<Exponents> lyapunovLanes(const std::vector<LyapunovRun> &runs) {
  std::vector<Exponents> out(runs.size());
  if (!runs.empty()) HWY_DYNAMIC_DISPATCH(ExponentsOf)(runs, out);
  return out;
}
#endif
