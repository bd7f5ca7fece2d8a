// Each attractor's vector field and tangent, and the Runge-Kutta step,
// written once over the number type T: double for the simulation core, a
// vector of lanes (one parameter value or start each) for the batch
// program's sweeps. Every operation is one IEEE operation in the order
// written, so each lane gets the scalar core's bits.
//
// Included inside the includer's namespace; the guard lets a file that is
// compiled once per instruction set include it once for each.
#if defined(TRESOLVA_FIELDS_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef TRESOLVA_FIELDS_INL_H_
#undef TRESOLVA_FIELDS_INL_H_
#else
#define TRESOLVA_FIELDS_INL_H_
#endif

// sigma (y - x), x (rho - z) - y, x y - beta z; p = rho, sigma, beta.
struct LorenzField {
  template <typename T> Vec3T<T> field(const T *p, T x, T y, T z) const {
    T r = p[0], s = p[1], b = p[2];
    return {s * (y - x), x * (r - z) - y, x * y - b * z};
  }
  template <typename T> Vec3T<T> tangent(const T *p, T x, T y, T z, const Vec3T<T> &v) const {
    T r = p[0], s = p[1], b = p[2];
    return {s * (v.y - v.x), (r - z) * v.x - v.y - x * v.z, y * v.x + x * v.y - b * v.z};
  }
};

// -y - z, x + a y, b + z (x - c); p = a, b, c.
struct RoesslerField {
  template <typename T> Vec3T<T> field(const T *p, T x, T y, T z) const {
    T a = p[0], b = p[1], c = p[2];
    return {-y - z, x + a * y, b + z * (x - c)};
  }
  template <typename T> Vec3T<T> tangent(const T *p, T x, T, T z, const Vec3T<T> &v) const {
    T a = p[0], c = p[2];
    return {-v.y - v.z, v.x + a * v.y, z * v.x + (x - c) * v.z};
  }
};

// The fields in the attractor table's order: the table's entries and every
// width of the lanes take an attractor's field from here by its index, so
// that each is integrated as itself. A table entry without its field here
// does not build.
template <typename... F> struct FieldList { static constexpr int size = sizeof...(F); };
using Fields = FieldList<LorenzField, RoesslerField>;
static_assert(Fields::size == MODELS, "each attractor of the table has its field in Fields");

// The M-th field of a list.
template <int M, typename List> struct FieldAt;
template <int M, typename F, typename... Rest>
struct FieldAt<M, FieldList<F, Rest...>> : FieldAt<M - 1, FieldList<Rest...>> {};
template <typename F, typename... Rest> struct FieldAt<0, FieldList<F, Rest...>> {
  using type = F;
};

// use(field) with the list's field of attractor m; the first (Lorenz) for
// an m outside the list.
template <typename Use, typename... F> void withField(FieldList<F...>, int m, const Use &use) {
  if (m < 0 || m >= (int)sizeof...(F)) m = 0;
  int k = 0;
  ((k++ == m ? use(F{}) : void()), ...);
}
template <typename Use> void withField(int m, const Use &use) {
  withField(Fields{}, m, use);
}

// The maximum map's test of a step just taken, over T and its comparisons
// (magnitude, greater and both: the comparison's results, a bool or a mask
// of lanes): x at the step's start, recovered from the new x and the
// slopes kN as the step formed them, is a maximum of |x| when its
// magnitude exceeds the magnitudes two steps back and now; and x stays
// positive too unless the map takes |x|.
template <typename T> T stepStart(T x, T k1, T k2, T k3, T k4, T D) {
  T S = k1 + T(2) * k2 + T(2) * k3 + k4;
  return x + (S * D) / T(-6);
}
template <typename T> auto isMaximum(T startMagnitude, T xoldt, T x, bool absolute) {
  auto found =
      both(greater(startMagnitude, magnitude(xoldt)), greater(startMagnitude, magnitude(x)));
  if (!absolute) found = both(found, greater(x, T(0)));
  return found;
}

// The field's divergence at (x, y, z), the trace of its Jacobian: how fast
// it shrinks volumes there, which the three exponents add up to over a run.
template <typename T, typename F> T divergence(const F &f, const T *p, T x, T y, T z) {
  const T one(1), none(0);
  T a = f.tangent(p, x, y, z, Vec3T<T>{one, none, none}).x;
  T b = f.tangent(p, x, y, z, Vec3T<T>{none, one, none}).y;
  T c = f.tangent(p, x, y, z, Vec3T<T>{none, none, one}).z;
  return a + b + c;
}

// One classical fourth-order step of D, in place, leaving the four stage
// slopes in k. All stage points are formed from the state at the start of
// the step; S = k1 + 2 k2, then + 2 k3, then + k4; the update is (S D) / 6.
template <typename T, typename F>
void rk4Stages(const F &f, const T *p, T D, T &x, T &y, T &z, Vec3T<T> *k) {
  T h = D * T(0.5);
  Vec3T<T> a = f.field(p, x, y, z);
  Vec3T<T> b = f.field(p, x + h * a.x, y + h * a.y, z + h * a.z);
  Vec3T<T> c = f.field(p, x + h * b.x, y + h * b.y, z + h * b.z);
  Vec3T<T> d = f.field(p, x + D * c.x, y + D * c.y, z + D * c.z);
  auto advance = [D](T v, T k1, T k2, T k3, T k4) {
    T S = k1 + T(2) * k2;
    S = S + T(2) * k3;
    S = S + k4;
    return v + (S * D) / T(6);
  };
  x = advance(x, a.x, b.x, c.x, d.x);
  y = advance(y, a.y, b.y, c.y, d.y);
  z = advance(z, a.z, b.z, c.z, d.z);
  k[0] = a, k[1] = b, k[2] = c, k[3] = d;
}

// The variational equation stepped with the same RK4 stages as the state:
// each stage's derivative at the stage point the state's step from x0 used
// (its slopes k), applied to the tangent vector v.
template <typename T> Vec3T<T> along(const Vec3T<T> &v, T h, const Vec3T<T> &k) {
  return {v.x + h * k.x, v.y + h * k.y, v.z + h * k.z};
}

template <typename T, typename F>
Vec3T<T> tangentStages(const F &f, const T *p, T D, const Vec3T<T> &x0, const Vec3T<T> *k,
                       const Vec3T<T> &v) {
  T h = D * T(0.5);
  Vec3T<T> s2 = along(x0, h, k[0]), s3 = along(x0, h, k[1]), s4 = along(x0, D, k[2]);
  Vec3T<T> a = f.tangent(p, x0.x, x0.y, x0.z, v);
  Vec3T<T> b = f.tangent(p, s2.x, s2.y, s2.z, along(v, h, a));
  Vec3T<T> c = f.tangent(p, s3.x, s3.y, s3.z, along(v, h, b));
  Vec3T<T> d = f.tangent(p, s4.x, s4.y, s4.z, along(v, D, c));
  auto sum = [D](T w, T ka, T kb, T kc, T kd) {
    return w + (D / T(6)) * (ka + T(2) * kb + T(2) * kc + kd);
  };
  return {sum(v.x, a.x, b.x, c.x, d.x), sum(v.y, a.y, b.y, c.y, d.y), sum(v.z, a.z, b.z, c.z, d.z)};
}

#endif
