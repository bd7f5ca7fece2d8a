// A third attractor written here, the Chen system, run as itself by the viewer's core and the
// kernels at full width and one lane: the same bytes, and a spectrum adding up to its divergence.
#include <gtest/gtest.h>

#include <hwy/highway.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "batch/bifurcation.h"
#include "batch/lyapunov.h"
#include "batch/output.h"
#include "sim/core.h"
#include "sim/models.h"

// a (y - x), (c - a) x - x z + c y, x y - b z; p = a, b, c. Its divergence is c - a - b.
struct ChenField {
  template <typename T> Vec3T<T> field(const T *p, T x, T y, T z) const {
    T a = p[0], b = p[1], c = p[2];
    return {a * (y - x), (c - a) * x - x * z + c * y, x * y - b * z};
  }
  template <typename T> Vec3T<T> tangent(const T *p, T x, T y, T z, const Vec3T<T> &v) const {
    T a = p[0], b = p[1], c = p[2];
    return {a * (v.y - v.x), (c - a - z) * v.x + c * v.y - x * v.z, y * v.x + x * v.y - b * v.z};
  }
};

// The kernels for the build's own instruction set, at its full width and
// at one lane, in namespaces of their own.
HWY_BEFORE_NAMESPACE();
namespace chen {
namespace hn = hwy::HWY_NAMESPACE;
using D = hn::ScalableTag<double>;
#include "batch/lanes-inl.h"
} // namespace chen
#undef TRESOLVA_LANES_INL_H_
#undef TRESOLVA_FIELDS_INL_H_
namespace chen1 {
namespace hn = hwy::HWY_NAMESPACE;
using D = hn::CappedTag<double, 1>;
#include "batch/lanes-inl.h"
} // namespace chen1
HWY_AFTER_NAMESPACE();

static bool sameBytes(const double *a, const double *b, size_t n) {
  return std::memcmp(a, b, n * sizeof(double)) == 0;
}

TEST(Fields, AThirdFieldRunsAsItselfInLanesWithTheScalarBytes) {
  Model chen = models[0]; // Lorenz's entry but for its field: a = 35, b = 3, c = 28
  chen.field = [](const double *p, double x, double y, double z) {
    return ChenField{}.field(p, x, y, z);
  };
  Sweep s{{&chen, {35, 3, 28}, 0.002f, {-0.1, 0.5, -0.6}}, 2, 24, 28, 6, 10, 40};
  const std::vector<int> ks = {0, 1, 2, 3, 4, 5};
  std::vector<std::vector<double>> lanes(ks.size());
  std::vector<char> finite(ks.size(), 1);
  const chen::FieldList<chen::LorenzField, chen::RoesslerField, ChenField> three; // a new entry
  chen::withField(three, 2, [&](const auto &f) { chen::sweepWith(f, s, ks, lanes, finite); });
  for (int k : ks) { // against the viewer's replay, through the entry's own field
    ReplaySettings r{s, (float)s.transient, (float)s.time, 0, 0};
    r.p[2] = sweepValue(s, k);
    Trajectory tr{};
    tr.x = s.start[0], tr.y = s.start[1], tr.z = s.start[2];
    const std::vector<MapPoint> points = replayMaxima(r, tr);
    std::vector<double> scalar(points.size());
    std::transform(points.begin(), points.end(), scalar.begin(),
                   [](const MapPoint &p) { return p.top; });
    ASSERT_FALSE(scalar.empty()) << k;
    EXPECT_TRUE(scalar.size() == lanes[k].size() &&
                sameBytes(&scalar[0], &lanes[k][0], scalar.size()));
  }

  for (bool spectrum : {false, true}) {
    std::vector<LyapunovRun> runs(3);
    for (int j = 0; j < 3; j++) {
      static_cast<System &>(runs[j]) = {&chen, {35, 3, 28}, 0.002f, {-0.1 * (j + 1), 0.5, -0.6}};
      runs[j].transient = 20, runs[j].time = 200, runs[j].spectrum = spectrum;
    }
    std::vector<Exponents> out(runs.size()), one(runs.size());
    if (spectrum) chen::runsInLanes<chen::SpectrumLanes>(ChenField{}, runs, out);
    else chen::runsInLanes<chen::TwinLanes>(ChenField{}, runs, out);
    if (spectrum) chen1::runsInLanes<chen1::SpectrumLanes>(ChenField{}, runs, one);
    else chen1::runsInLanes<chen1::TwinLanes>(ChenField{}, runs, one);
    for (int j = 0; j < 3; j++) { // one run at a time, as a single run and --simd off run
      const Exponents &scalar = one[j];
      ASSERT_EQ(scalar.status, 0) << scalar.problem;
      EXPECT_TRUE(sameBytes(scalar.value, out[j].value, 3) &&
                  sameBytes(scalar.error, out[j].error, 3));
      EXPECT_NEAR(spectrum ? scalar.sum : -10, -(35 + 3 - 28), 1e-3) << j; // the divergence
    }
  }
}
