// One run, or one value of a sweep, at a time (a single Lyapunov run and
// --simd off): the lanes' kernels at a width of one lane, on the build's own
// instruction set, so that one at a time runs the very source that many at
// a time run, and gives the same bytes.
#include <hwy/highway.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "batch/bifurcation.h"
#include "batch/lyapunov.h"
#include "batch/output.h"
#include "sim/models.h"

HWY_BEFORE_NAMESPACE();
namespace tresolva {
namespace one {
namespace hn = hwy::HWY_NAMESPACE;
using D = hn::CappedTag<double, 1>;
#include "batch/lanes-inl.h"
} // namespace one
} // namespace tresolva
HWY_AFTER_NAMESPACE();

using namespace tresolva::one;

namespace {

// The attractor table's entry of a run's model, whose field the kernels take.
int entry(const Model *m) {
  const long k = m - models;
  if (k < 0 || k >= MODELS) std::abort(); // every run is of the table's attractors
  return (int)k;
}

} // namespace

std::vector<double> sweepMaxima(const Sweep &s, int k, bool *finite) {
  std::vector<std::vector<double>> out(1);
  std::vector<char> ok(1, 1);
  withField(entry(s.model), [&](const auto &f) { sweepWith(f, s, {k}, out, ok); });
  if (finite) *finite = ok[0] != 0;
  return out[0];
}

Exponents lyapunov(const LyapunovRun &r, std::string *trace) {
  std::vector<Exponents> out(1);
  withField(entry(r.model), [&](const auto &f) {
    if (r.spectrum) runsInLanes<SpectrumLanes>(f, {r}, out, {trace});
    else runsInLanes<TwinLanes>(f, {r}, out, {trace});
  });
  if (out[0].count == 0 && out[0].status == 0) // stopped by a signal before its end
    out[0].status = 1, out[0].problem = "interrupted";
  return out[0];
}
