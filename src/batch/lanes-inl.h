// The kernels of the lanes, written once over the field: the bifurcation
// sweep's steps and maximum test, and the Lyapunov runs' twin and tangent
// dynamics, each lane stepping one run with the scalar core's operations.
// Included inside the includer's namespace, after hwy/highway.h, with hn
// naming Highway's namespace of the instruction set and D the tag of the
// lanes: each instruction set's full width for the sweeps, one lane for a
// single run and --simd off (the same source at width one).
#if defined(TRESOLVA_LANES_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef TRESOLVA_LANES_INL_H_
#undef TRESOLVA_LANES_INL_H_
#else
#define TRESOLVA_LANES_INL_H_
#endif

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

// The comparisons of the maximum test, on every lane.
HWY_INLINE Lanes magnitude(Lanes a) {
  return hn::Abs(a.v);
}
HWY_INLINE auto greater(Lanes a, Lanes b) {
  return hn::Gt(a.v, b.v);
}
template <typename M> HWY_INLINE M both(M a, M b) {
  return hn::And(a, b);
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
    V start = magnitude(stepStart(x, k[0].x, k[1].x, k[2].x, k[3].x, Dt)).v;
    auto found = isMaximum(Lanes(start), Lanes(xoldt), x, s.model->mapAbsolute);
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
               std::vector<std::vector<double>> &out, std::vector<char> &finite) {
  const int L = (int)hn::Lanes(D());
  const long steps = stepsBelow((float)s.time / s.dt);
  const long firstDrawn = stepsUpTo((float)s.transient / s.dt);
  SweepLanes w{};
  size_t next = 0;
  auto refill = [&] {
    for (int l = 0; l < L; l++) {
      if (w.slot[l] >= 0 && w.n[l] < steps) continue;
      if (w.slot[l] >= 0)
        finite[w.slot[l]] = std::isfinite(w.x[l]) && std::isfinite(w.y[l]) && std::isfinite(w.z[l]);
      w.slot[l] = next < ks.size() ? (int)next++ : -1;
      w.n[l] = 0, w.xold[l] = 0, w.xoldt[l] = 0;
      w.x[l] = s.start[0], w.y[l] = s.start[1], w.z[l] = s.start[2];
      w.p[l] = w.slot[l] >= 0 ? (double)sweepValue(s, ks[w.slot[l]]) : 0;
    }
  };
  std::fill(w.slot, w.slot + SweepLanes::MOST, -1);
  refill();
  while (std::any_of(w.slot, w.slot + L, [](int k) { return k >= 0; }) && !s.stop()) {
    // A run of steps ends where the next lane finishes or starts to draw,
    // or after 65536 steps, so that an interruption is seen soon.
    long count = 65536;
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

// ======== Lyapunov runs in lanes ===================================================
// What every lane of the Lyapunov runs carries: its run's place in the
// list (-1: none), its step count, the steps into its interval (-1 in the
// transient), the run's scalar bookkeeping, and its parameters and state.
template <typename Measure> struct RunLanes {
  static constexpr int MOST = HWY_MAX_BYTES / sizeof(double);
  int slot[MOST], n[MOST], into[MOST];
  std::string *trace[MOST]; // the lane's run's running estimate, if asked
  long toEvent[MOST];       // steps to the lane's next event, as the latest run of steps began
  std::optional<Measure> m[MOST];
  HWY_ALIGN double p[3][MOST], x[3][MOST];
  Vec3 main(int l) const { return {x[0][l], x[1][l], x[2][l]}; }

  // Ends each lane whose main state left the finite numbers at step j of
  // the run of steps under way.
  void noteFinite(const Vec3T<Lanes> &v, long j) {
    const D d;
    auto finite = hn::And(hn::And(hn::IsFinite(v.x.v), hn::IsFinite(v.y.v)), hn::IsFinite(v.z.v));
    if (hn::AllTrue(d, finite)) return;
    HWY_ALIGN double ok[MOST];
    hn::Store(hn::VecFromMask(d, finite), d, ok);
    clearUpperHalves();
    for (size_t l = 0; l < hn::Lanes(d); l++)
      if (ok[l] == 0 && slot[l] >= 0 && !m[l]->done()) m[l]->leftFinite(n[l] + j + 1);
  }
};

// The renormalised twin: each lane's twin and the main state's extent.
struct TwinLanes : RunLanes<TwinMeasure> {
  HWY_ALIGN double t[3][MOST], lo[3][MOST], hi[3][MOST];
  Vec3 twin(int l) const { return {t[0][l], t[1][l], t[2][l]}; }
  Extent extent(int l) const {
    Extent e;
    for (int a = 0; a < 3; a++) e.lo[a] = lo[a][l], e.hi[a] = hi[a][l];
    return e;
  }
  void setTwin(int l, const Vec3 &v) { t[0][l] = v.x, t[1][l] = v.y, t[2][l] = v.z; }

  void place(int l, const LyapunovRun &r) {
    for (int a = 0; a < 3; a++) t[a][l] = r.start[a], lo[a][l] = INFINITY, hi[a][l] = -INFINITY;
  }
  // After the transient: the twin placed.
  void begin(int l) {
    if (trace[l]) *trace[l] = "t,lambda1\n";
    Vec3 v;
    if (m[l]->begin(main(l), extent(l), v)) setTwin(l, v);
  }
  long stepsToEvent(int l) const { return m[l]->every - into[l]; }
  // At an interval's end: the twin pulled back.
  void stepped(int l, long, bool) {
    if (into[l] != m[l]->every) return;
    Vec3 v = twin(l);
    m[l]->endInterval(main(l), v, extent(l), n[l], trace[l]);
    setTwin(l, v), into[l] = 0;
  }

  // Steps main and twin of every lane count times, widening the extents.
  template <typename F> void steps(const F &f, float dt, long count) {
    const D d;
    Lanes P[3];
    Vec3T<Lanes> X, T, k[4];
    V LO[3], HI[3];
    for (int a = 0; a < 3; a++)
      P[a] = hn::Load(d, p[a]), LO[a] = hn::Load(d, lo[a]), HI[a] = hn::Load(d, hi[a]);
    X = {hn::Load(d, x[0]), hn::Load(d, x[1]), hn::Load(d, x[2])};
    T = {hn::Load(d, t[0]), hn::Load(d, t[1]), hn::Load(d, t[2])};
    const Lanes Dt((double)dt);
    for (long j = 0; j < count; j++) {
      rk4Stages(f, P, Dt, X.x, X.y, X.z, k);
      rk4Stages(f, P, Dt, T.x, T.y, T.z, k);
      noteFinite(X, j);
      const V now[3] = {X.x.v, X.y.v, X.z.v};
      for (int a = 0; a < 3; a++) LO[a] = hn::Min(LO[a], now[a]), HI[a] = hn::Max(HI[a], now[a]);
    }
    hn::Store(X.x.v, d, x[0]), hn::Store(X.y.v, d, x[1]), hn::Store(X.z.v, d, x[2]);
    hn::Store(T.x.v, d, t[0]), hn::Store(T.y.v, d, t[1]), hn::Store(T.z.v, d, t[2]);
    for (int a = 0; a < 3; a++) hn::Store(LO[a], d, lo[a]), hn::Store(HI[a], d, hi[a]);
    clearUpperHalves();
  }
};

// The tangent dynamics: each lane's tangent vectors Q, column by column.
// dv: each lane's sum of the field's divergence at every state reached
// since its transient ended, added step by step as the scalar run adds it.
struct SpectrumLanes : RunLanes<SpectrumMeasure> {
  HWY_ALIGN double q[9][MOST], dv[MOST];

  void place(int, const LyapunovRun &) {}
  // After the transient: Q the identity.
  void begin(int l) {
    if (trace[l]) *trace[l] = "t,lambda1,lambda2,lambda3\n";
    for (int e = 0; e < 9; e++) q[e][l] = e % 4 == 0 ? 1 : 0;
    dv[l] = 0;
    m[l]->begin(main(l));
  }
  long stepsToEvent(int l) const { return m[l]->stepsToQr(into[l]); }
  // QR when it falls due, then the interval's growth at its end.
  void stepped(int l, long count, bool due) {
    SpectrumMeasure &run = *m[l];
    run.stepped(count, dv[l]);
    double Q[9];
    for (int e = 0; e < 9; e++) Q[e] = q[e][l];
    if (due && run.reorthonormalise(Q, n[l]))
      for (int e = 0; e < 9; e++) q[e][l] = Q[e];
    if (!run.done() && into[l] == run.every) run.endInterval(main(l), trace[l]), into[l] = 0;
  }

  // Steps the state and the tangent vectors of every lane count times.
  template <typename F> void steps(const F &f, float dt, long count) {
    const D d;
    Lanes P[3], Q[9], DV(0.0);
    Vec3T<Lanes> X, k[4];
    for (int a = 0; a < 3; a++) P[a] = hn::Load(d, p[a]);
    for (int e = 0; e < 9; e++) Q[e] = hn::Load(d, q[e]);
    DV.v = hn::Load(d, dv);
    X = {hn::Load(d, x[0]), hn::Load(d, x[1]), hn::Load(d, x[2])};
    const Lanes Dt((double)dt);
    for (long j = 0; j < count; j++) {
      const Vec3T<Lanes> x0 = X;
      rk4Stages(f, P, Dt, X.x, X.y, X.z, k);
      noteFinite(X, j);
      for (size_t c = 0; c < 9; c += 3) { // column by column
        Vec3T<Lanes> v = tangentStages(f, P, Dt, x0, k, Vec3T<Lanes>{Q[c], Q[c + 1], Q[c + 2]});
        Q[c] = v.x, Q[c + 1] = v.y, Q[c + 2] = v.z;
      }
      DV = DV + divergence(f, P, X.x, X.y, X.z);
    }
    hn::Store(DV.v, d, dv);
    hn::Store(X.x.v, d, x[0]), hn::Store(X.y.v, d, x[1]), hn::Store(X.z.v, d, x[2]);
    for (int e = 0; e < 9; e++) hn::Store(Q[e].v, d, q[e]);
    clearUpperHalves();
  }
};

// Every run in the lanes: a lane whose run ends takes the next; steps run
// until the first lane's next event (the transient's end, or what its
// kind of run waits for), or 65536 steps so that an interruption is seen
// soon, then each lane's bookkeeping acts, scalar. traces, when given,
// holds each run's running estimate.
template <typename W, typename F>
void runsInLanes(const F &f, const std::vector<LyapunovRun> &runs, std::vector<Exponents> &out,
                 const std::vector<std::string *> &traces = {}) {
  const int L = (int)hn::Lanes(D());
  W w{};
  size_t next = 0;
  auto refill = [&](int l) {
    if (w.slot[l] >= 0) out[w.slot[l]] = w.m[l]->result();
    w.slot[l] = next < runs.size() ? (int)next++ : -1;
    w.m[l].reset();
    if (w.slot[l] < 0) return;
    const LyapunovRun &r = runs[w.slot[l]];
    w.m[l].emplace(r);
    w.n[l] = 0, w.into[l] = -1;
    w.trace[l] = traces.empty() ? nullptr : traces[w.slot[l]];
    for (int a = 0; a < 3; a++) w.p[a][l] = r.p[a], w.x[a][l] = r.start[a];
    w.place(l, r);
  };
  auto settle = [&](int l, long stepped) {
    while (w.slot[l] >= 0) {
      const auto &m = *w.m[l];
      if (!m.done() && w.into[l] < 0 && w.n[l] == m.transientSteps) {
        w.begin(l), w.into[l] = 0;
      } else if (!m.done() && stepped > 0) {
        w.stepped(l, stepped, stepped == w.toEvent[l]), stepped = 0;
      } else if (m.done()) {
        refill(l);
      } else {
        return;
      }
    }
  };
  std::fill(w.slot, w.slot + W::MOST, -1);
  for (int l = 0; l < L; l++) refill(l), settle(l, 0);
  while (std::any_of(w.slot, w.slot + L, [](int k) { return k >= 0; }) && !runs[0].stop()) {
    long count = 65536;
    for (int l = 0; l < L; l++) {
      if (w.slot[l] < 0) continue;
      w.toEvent[l] = w.into[l] < 0 ? w.m[l]->transientSteps - w.n[l] : w.stepsToEvent(l);
      count = std::min(count, w.toEvent[l]);
    }
    w.steps(f, runs[0].dt, count);
    for (int l = 0; l < L; l++) {
      if (w.slot[l] < 0) continue;
      const bool measuring = w.into[l] >= 0;
      w.n[l] += (int)count;
      if (measuring) w.into[l] += (int)count;
      settle(l, measuring ? count : 0);
    }
  }
}

// use(field) with the field of a run's model, an entry of the attractor
// table: every run the batch program makes is of the table's attractors.
template <typename Use> void withModelField(const Model *m, const Use &use) {
  const long k = m - models;
  if (k < 0 || k >= MODELS) std::abort();
  withField((int)k, use);
}

#endif
