// The sweeps at the machine's full width, through Google Highway: this file
// is compiled once for each instruction set (Highway includes it again per
// target), and the widest one the CPU has is called at run time.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "batch/lanes.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/highway.h>
#include <tbb/task_arena.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

#include "batch/lanes.h"
#include "batch/lyapunov.h"
#include "sim/models.h"

HWY_BEFORE_NAMESPACE();
namespace tresolva {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;
using D = hn::ScalableTag<double>;
using V = hn::Vec<D>;

// A vector of lanes as a number, for the field templates: each operation
// is the IEEE operation on every lane, and a constant is the same in all.
struct Lanes {
  V v;
  Lanes() = default;
  // Implicit, so that the templates' constants and Highway's results read as numbers.
  // cppcheck-suppress noExplicitConstructor
  Lanes(double c) : v(hn::Set(D(), c)) {} // NOLINT
  // cppcheck-suppress noExplicitConstructor
  Lanes(V v) : v(v) {} // NOLINT
};
HWY_INLINE Lanes operator+(Lanes a, Lanes b) {
  return hn::Add(a.v, b.v);
}
HWY_INLINE Lanes operator-(Lanes a, Lanes b) {
  return hn::Sub(a.v, b.v);
}
HWY_INLINE Lanes operator*(Lanes a, Lanes b) {
  return hn::Mul(a.v, b.v);
}
HWY_INLINE Lanes operator/(Lanes a, Lanes b) {
  return hn::Div(a.v, b.v);
}
HWY_INLINE Lanes operator-(Lanes a) {
  return hn::Neg(a.v);
}

#include "sim/fields-inl.h"

// The wide sets leave the registers' upper halves in use, and the scalar
// code between runs of steps, compiled for the baseline, then runs 2.6
// times slower (measured here): clear them before it runs.
HWY_INLINE void clearUpperHalves() {
#if HWY_ARCH_X86 && HWY_TARGET <= HWY_AVX2
  _mm256_zeroupper();
#endif
}

// ======== The bifurcation sweep ====================================================
// What each lane carries between runs of steps: its value's place in ks
// (-1: none), its step count and its state with the history the maximum
// test reads.
struct SweepLanes {
  static constexpr int MOST = HWY_MAX_BYTES / sizeof(double); // the widest set's lanes
  int slot[MOST], n[MOST];
  HWY_ALIGN double p[MOST], x[MOST], y[MOST], z[MOST], xold[MOST], xoldt[MOST];
};

// The first n for which below(n) is false: step counts are compared in
// single precision, as the scalar replay compares them.
template <typename Below> long firstNot(Below below) {
  long n = 0;
  while (below(n)) n = n < 1024 ? n + 1 : n + n / 2; // a coarse climb, then back
  while (n > 0 && !below(n - 1)) n--;
  return n;
}

// Steps every lane count times: the step, the history, and each accepted
// maximum of a drawn lane (a strict local maximum of |x| at the step's
// start, x > 0 as well unless the map takes |x|) kept for its value.
template <typename F>
void runLanes(const F &f, const Sweep &s, SweepLanes &w, long count, const bool *drawn,
              std::vector<std::vector<double>> &out) {
  const D d;
  const size_t L = hn::Lanes(d);
  Lanes p[3] = {Lanes(s.p[0]), Lanes(s.p[1]), Lanes(s.p[2])};
  p[s.param] = Lanes(hn::Load(d, w.p));
  const Lanes Dt((double)s.dt);
  Lanes x(hn::Load(d, w.x)), y(hn::Load(d, w.y)), z(hn::Load(d, w.z));
  V xold = hn::Load(d, w.xold), xoldt = hn::Load(d, w.xoldt);
  HWY_ALIGN double top[SweepLanes::MOST];
  Vec3T<Lanes> k[4];
  for (long j = 0; j < count; j++) {
    xoldt = xold, xold = x.v;
    rk4Stages(f, p, Dt, x, y, z, k);
    Lanes S = k[0].x + Lanes(2) * k[1].x + Lanes(2) * k[2].x + k[3].x;
    V start = hn::Abs((x + (S * Dt) / Lanes(-6)).v);
    auto found = hn::And(hn::Gt(start, hn::Abs(xoldt)), hn::Gt(start, hn::Abs(x.v)));
    if (!s.model->mapAbsolute) found = hn::And(found, hn::Gt(x.v, hn::Zero(d)));
    if (hn::AllFalse(d, found)) continue;
    hn::Store(start, d, top);
    HWY_ALIGN double hit[SweepLanes::MOST];
    hn::Store(hn::VecFromMask(d, found), d, hit);
    for (size_t l = 0; l < L; l++)
      if (w.slot[l] >= 0 && drawn[l] && hit[l] != 0) out[w.slot[l]].push_back(top[l]);
  }
  hn::Store(x.v, d, w.x), hn::Store(y.v, d, w.y), hn::Store(z.v, d, w.z);
  hn::Store(xold, d, w.xold), hn::Store(xoldt, d, w.xoldt);
  clearUpperHalves();
}

template <typename F>
void sweepWith(const F &f, const Sweep &s, const std::vector<int> &ks,
               std::vector<std::vector<double>> &out) {
  const int L = (int)hn::Lanes(D());
  const float last = (float)s.time / s.dt, first = (float)s.transient / s.dt;
  const long steps = firstNot([&](long n) { return (float)n < last; });
  const long firstDrawn = firstNot([&](long n) { return !((float)n > first); });
  SweepLanes w{};
  size_t next = 0;
  auto refill = [&] {
    for (int l = 0; l < L; l++) {
      if (w.slot[l] >= 0 && w.n[l] < steps) continue;
      w.slot[l] = next < ks.size() ? (int)next++ : -1;
      w.n[l] = 0, w.xold[l] = 0, w.xoldt[l] = 0;
      w.x[l] = s.start[0], w.y[l] = s.start[1], w.z[l] = s.start[2];
      w.p[l] = w.slot[l] >= 0 ? (double)sweepValue(s, ks[w.slot[l]]) : 0;
    }
  };
  std::fill(w.slot, w.slot + SweepLanes::MOST, -1);
  refill();
  while (std::any_of(w.slot, w.slot + L, [](int k) { return k >= 0; })) {
    // A run of steps ends where the next lane finishes or starts to draw.
    long count = steps;
    bool drawn[SweepLanes::MOST] = {};
    for (int l = 0; l < L; l++) {
      if (w.slot[l] < 0) continue;
      count = std::min(count, steps - w.n[l]);
      if (w.n[l] < firstDrawn) count = std::min(count, firstDrawn - w.n[l]);
      drawn[l] = w.n[l] >= firstDrawn;
    }
    runLanes(f, s, w, count, drawn, out);
    for (int l = 0; l < L; l++) w.n[l] += (int)count;
    refill();
  }
}

void SweepMaxima(const Sweep &s, const std::vector<int> &ks,
                 std::vector<std::vector<double>> &out) {
  withField((int)(s.model - models), [&](const auto &f) { sweepWith(f, s, ks, out); });
}

// ======== The renormalised twin ===================================================
// Each lane: a run's bookkeeping (scalar, between steps), its step count,
// the steps into its interval, and its state, twin and extent in lanes.
struct TwinLanes {
  static constexpr int MOST = HWY_MAX_BYTES / sizeof(double);
  int slot[MOST], n[MOST], into[MOST];
  std::optional<TwinMeasure> m[MOST];
  HWY_ALIGN double p[3][MOST], x[3][MOST], t[3][MOST], lo[3][MOST], hi[3][MOST];
  Vec3 main(int l) const { return {x[0][l], x[1][l], x[2][l]}; }
  Vec3 twin(int l) const { return {t[0][l], t[1][l], t[2][l]}; }
  Extent extent(int l) const {
    Extent e;
    for (int a = 0; a < 3; a++) e.lo[a] = lo[a][l], e.hi[a] = hi[a][l];
    return e;
  }
  void setTwin(int l, const Vec3 &v) { t[0][l] = v.x, t[1][l] = v.y, t[2][l] = v.z; }
};

// Steps main and twin of every lane count times, widening the extents; a
// lane whose main state leaves the finite numbers ends there.
template <typename F> void runTwinLanes(const F &f, float dt, TwinLanes &w, long count) {
  const D d;
  const size_t L = hn::Lanes(d);
  Lanes p[3], x[3], t[3];
  V lo[3], hi[3];
  for (int a = 0; a < 3; a++) {
    p[a] = hn::Load(d, w.p[a]), x[a] = hn::Load(d, w.x[a]), t[a] = hn::Load(d, w.t[a]);
    lo[a] = hn::Load(d, w.lo[a]), hi[a] = hn::Load(d, w.hi[a]);
  }
  const Lanes Dt((double)dt);
  Vec3T<Lanes> k[4];
  for (long j = 0; j < count; j++) {
    rk4Stages(f, p, Dt, x[0], x[1], x[2], k);
    rk4Stages(f, p, Dt, t[0], t[1], t[2], k);
    auto finite =
        hn::And(hn::And(hn::IsFinite(x[0].v), hn::IsFinite(x[1].v)), hn::IsFinite(x[2].v));
    if (!hn::AllTrue(d, finite)) {
      HWY_ALIGN double ok[TwinLanes::MOST];
      hn::Store(hn::VecFromMask(d, finite), d, ok);
      clearUpperHalves();
      for (size_t l = 0; l < L; l++)
        if (ok[l] == 0 && w.slot[l] >= 0 && !w.m[l]->done()) w.m[l]->leftFinite(w.n[l] + j + 1);
    }
    for (int a = 0; a < 3; a++) lo[a] = hn::Min(lo[a], x[a].v), hi[a] = hn::Max(hi[a], x[a].v);
  }
  for (int a = 0; a < 3; a++) {
    hn::Store(x[a].v, d, w.x[a]), hn::Store(t[a].v, d, w.t[a]);
    hn::Store(lo[a], d, w.lo[a]), hn::Store(hi[a], d, w.hi[a]);
  }
  clearUpperHalves();
}

template <typename F>
void twinWith(const F &f, const std::vector<LyapunovRun> &runs, std::vector<Exponents> &out) {
  const int L = (int)hn::Lanes(D());
  TwinLanes w{};
  size_t next = 0;
  // A lane whose run has ended hands its result over and takes the next run.
  auto refill = [&](int l) {
    if (w.slot[l] >= 0) out[w.slot[l]] = w.m[l]->result();
    w.slot[l] = next < runs.size() ? (int)next++ : -1;
    w.m[l].reset();
    if (w.slot[l] < 0) return;
    const LyapunovRun &r = runs[w.slot[l]];
    w.m[l].emplace(r);
    w.n[l] = 0, w.into[l] = -1; // -1: in the transient, the twin not yet placed
    for (int a = 0; a < 3; a++) {
      w.p[a][l] = r.p[a], w.x[a][l] = r.start[a], w.t[a][l] = r.start[a];
      w.lo[a][l] = INFINITY, w.hi[a][l] = -INFINITY;
    }
  };
  // What falls due between steps: the twin placed after the transient, an
  // interval's renormalisation, a run's end.
  auto events = [&](int l) {
    while (w.slot[l] >= 0) {
      TwinMeasure &m = *w.m[l];
      if (!m.done() && w.into[l] < 0 && w.n[l] == m.transientSteps) {
        Vec3 twin;
        if (m.begin(w.main(l), w.extent(l), twin)) w.setTwin(l, twin);
        w.into[l] = 0;
      } else if (!m.done() && w.into[l] == m.every) {
        Vec3 twin = w.twin(l);
        m.endInterval(w.main(l), twin, w.extent(l), w.n[l], nullptr);
        w.setTwin(l, twin), w.into[l] = 0;
      } else if (m.done()) {
        refill(l);
      } else {
        return;
      }
    }
  };
  std::fill(w.slot, w.slot + TwinLanes::MOST, -1);
  for (int l = 0; l < L; l++) refill(l), events(l);
  while (std::any_of(w.slot, w.slot + L, [](int k) { return k >= 0; })) {
    long count = LONG_MAX;
    for (int l = 0; l < L; l++) {
      if (w.slot[l] < 0) continue;
      const TwinMeasure &m = *w.m[l];
      count = std::min(count, w.into[l] < 0 ? m.transientSteps - w.n[l] : m.every - w.into[l]);
    }
    runTwinLanes(f, runs[0].dt, w, count);
    for (int l = 0; l < L; l++) {
      if (w.slot[l] < 0) continue;
      w.n[l] += (int)count;
      if (w.into[l] >= 0) w.into[l] += (int)count;
      events(l);
    }
  }
}

// ======== The tangent dynamics =====================================================
// Each lane: a run's bookkeeping, its step count, the steps into its
// interval (-1 in the transient), its state and its tangent vectors Q,
// column by column, in lanes.
struct SpectrumLanes {
  static constexpr int MOST = HWY_MAX_BYTES / sizeof(double);
  int slot[MOST], n[MOST], into[MOST];
  long toEvent[MOST];
  std::optional<SpectrumMeasure> m[MOST];
  HWY_ALIGN double p[3][MOST], x[3][MOST], q[9][MOST];
};

// Steps the state and the tangent vectors of every lane count times; a
// lane whose state leaves the finite numbers ends there.
template <typename F> void runSpectrumLanes(const F &f, float dt, SpectrumLanes &w, long count) {
  const D d;
  const size_t L = hn::Lanes(d);
  Lanes p[3], q[9];
  Vec3T<Lanes> x;
  for (int a = 0; a < 3; a++) p[a] = hn::Load(d, w.p[a]);
  for (int e = 0; e < 9; e++) q[e] = hn::Load(d, w.q[e]);
  x = {hn::Load(d, w.x[0]), hn::Load(d, w.x[1]), hn::Load(d, w.x[2])};
  const Lanes Dt((double)dt);
  Vec3T<Lanes> k[4];
  for (long j = 0; j < count; j++) {
    const Vec3T<Lanes> x0 = x;
    rk4Stages(f, p, Dt, x.x, x.y, x.z, k);
    auto finite = hn::And(hn::And(hn::IsFinite(x.x.v), hn::IsFinite(x.y.v)), hn::IsFinite(x.z.v));
    if (!hn::AllTrue(d, finite)) {
      HWY_ALIGN double ok[SpectrumLanes::MOST];
      hn::Store(hn::VecFromMask(d, finite), d, ok);
      clearUpperHalves();
      for (size_t l = 0; l < L; l++)
        if (ok[l] == 0 && w.slot[l] >= 0 && !w.m[l]->done()) w.m[l]->leftFinite(w.n[l] + j + 1);
    }
    for (size_t c = 0; c < 9; c += 3) { // column by column
      Vec3T<Lanes> v = tangentStages(f, p, Dt, x0, k, Vec3T<Lanes>{q[c], q[c + 1], q[c + 2]});
      q[c] = v.x, q[c + 1] = v.y, q[c + 2] = v.z;
    }
  }
  hn::Store(x.x.v, d, w.x[0]), hn::Store(x.y.v, d, w.x[1]), hn::Store(x.z.v, d, w.x[2]);
  for (int e = 0; e < 9; e++) hn::Store(q[e].v, d, w.q[e]);
  clearUpperHalves();
}

template <typename F>
void spectrumWith(const F &f, const std::vector<LyapunovRun> &runs, std::vector<Exponents> &out) {
  const int L = (int)hn::Lanes(D());
  SpectrumLanes w{};
  size_t next = 0;
  auto refill = [&](int l) {
    if (w.slot[l] >= 0) out[w.slot[l]] = w.m[l]->result();
    w.slot[l] = next < runs.size() ? (int)next++ : -1;
    w.m[l].reset();
    if (w.slot[l] < 0) return;
    const LyapunovRun &r = runs[w.slot[l]];
    w.m[l].emplace(r);
    w.n[l] = 0, w.into[l] = -1;
    for (int a = 0; a < 3; a++) w.p[a][l] = r.p[a], w.x[a][l] = r.start[a];
  };
  // The twin's counterpart: Q set to the identity after the transient, QR
  // when it falls due, an interval's growth, a run's end.
  auto events = [&](int l, long stepped) {
    while (w.slot[l] >= 0) {
      SpectrumMeasure &m = *w.m[l];
      if (!m.done() && w.into[l] < 0 && w.n[l] == m.transientSteps) {
        for (int e = 0; e < 9; e++) w.q[e][l] = e % 4 == 0 ? 1 : 0;
        w.into[l] = 0;
      } else if (!m.done() && stepped > 0) {
        const bool due = stepped == w.toEvent[l];
        m.stepped(stepped), w.into[l] += (int)stepped, stepped = 0;
        double Q[9];
        for (int e = 0; e < 9; e++) Q[e] = w.q[e][l];
        if (due && m.reorthonormalise(Q, w.n[l]))
          for (int e = 0; e < 9; e++) w.q[e][l] = Q[e];
        if (!m.done() && w.into[l] == m.every) m.endInterval(nullptr), w.into[l] = 0;
      } else if (m.done()) {
        refill(l);
      } else {
        return;
      }
    }
  };
  std::fill(w.slot, w.slot + SpectrumLanes::MOST, -1);
  for (int l = 0; l < L; l++) refill(l), events(l, 0);
  while (std::any_of(w.slot, w.slot + L, [](int k) { return k >= 0; })) {
    long count = LONG_MAX;
    for (int l = 0; l < L; l++) {
      if (w.slot[l] < 0) continue;
      const SpectrumMeasure &m = *w.m[l];
      w.toEvent[l] = w.into[l] < 0 ? m.transientSteps - w.n[l] : m.stepsToQr(w.into[l]);
      count = std::min(count, w.toEvent[l]);
    }
    runSpectrumLanes(f, runs[0].dt, w, count);
    for (int l = 0; l < L; l++) {
      if (w.slot[l] < 0) continue;
      const bool measuring = w.into[l] >= 0;
      w.n[l] += (int)count;
      events(l, measuring ? count : 0);
    }
  }
}

void ExponentsOf(const std::vector<LyapunovRun> &runs, std::vector<Exponents> &out) {
  withField((int)(runs[0].model - models), [&](const auto &f) {
    if (runs[0].spectrum) spectrumWith(f, runs, out);
    else twinWith(f, runs, out);
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

// Highway lists the targets it may choose from: the chosen one alone is
// listed while chosen.
std::vector<std::string> laneTargets() {
  hwy::SetSupportedTargetsForTest(0);
  const std::vector<int64_t> targets = hwy::SupportedAndGeneratedTargets();
  std::vector<std::string> names(targets.size());
  std::transform(targets.begin(), targets.end(), names.begin(),
                 [](int64_t t) { return std::string(hwy::TargetName(t)); });
  if (chosen) hwy::SetSupportedTargetsForTest(chosen);
  return names;
}

bool chooseLaneTarget(const std::string &name) {
  int64_t found = name.empty() ? 0 : -1; // 0: the widest
  hwy::SetSupportedTargetsForTest(0);
  for (int64_t t : hwy::SupportedAndGeneratedTargets())
    if (name == hwy::TargetName(t)) found = t;
  if (found >= 0) chosen = found;
  if (chosen) hwy::SetSupportedTargetsForTest(chosen);
  return found >= 0;
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

std::vector<std::vector<double>> sweepMaximaLanes(const Sweep &s, const std::vector<int> &ks) {
  std::vector<std::vector<double>> out(ks.size());
  HWY_DYNAMIC_DISPATCH(SweepMaxima)(s, ks, out);
  return out;
}
std::vector<Exponents> lyapunovLanes(const std::vector<LyapunovRun> &runs) {
  std::vector<Exponents> out(runs.size());
  if (!runs.empty()) HWY_DYNAMIC_DISPATCH(ExponentsOf)(runs, out);
  return out;
}
#endif
