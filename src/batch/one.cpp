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

std::vector<double> sweepMaxima(const Sweep &s, int k, bool *finite) {
  std::vector<std::vector<double>> out(1);
  std::vector<char> ok(1, 1);
  withModelField(s.model, [&](const auto &f) { sweepWith(f, s, {k}, out, ok); });
  if (finite) *finite = ok[0] != 0;
  return out[0];
}

Exponents lyapunov(const LyapunovRun &r, std::string *trace) {
  std::vector<Exponents> out(1);
  withModelField(r.model, [&](const auto &f) {
    if (r.spectrum) runsInLanes<SpectrumLanes>(f, {r}, out, {trace});
    else runsInLanes<TwinLanes>(f, {r}, out, {trace});
  });
  if (out[0].count == 0 && out[0].status == 0) // stopped by a signal before its end
    out[0].status = 1, out[0].problem = "interrupted";
  return out[0];
}
