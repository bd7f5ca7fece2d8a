// The values the program starts with, and Reset bringing the settings back
// to them while leaving the attractor, the increments and the twin alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "sim/core.h"
#include "state/state.h"
#include "support/startup.h"
#include "ui/input.h"
#include "ui/reset.h"

namespace {

struct Var {
  const char *name;
  double (*get)();
};
#define VAR(v)                                                                                     \
  Var {                                                                                            \
#v, [] { return (double)(v); }                                                                 \
  }

std::vector<double> values(const std::vector<Var> &vars) {
  std::vector<double> out(vars.size());
  std::transform(vars.begin(), vars.end(), out.begin(), [](const Var &v) { return v.get(); });
  return out;
}

} // namespace

TEST(StartUp, EveryVariableStartsAtItsDocumentedValue) {
  restoreStartup();
  const struct {
    Var var;
    double want;
  } cases[] = {
      // clang-format off
      {VAR(sigma), 10}, {VAR(ro), 28}, {VAR(beta), (double)(8.0f / 3.0f)}, {VAR(aa), 0.2f},
      {VAR(bb), 0.2f}, {VAR(cc), 5.7f}, {VAR(dsigma), 0}, {VAR(dro), 0.1f}, {VAR(dbeta), 0},
      {VAR(daa), 0.01f}, {VAR(dbb), 0}, {VAR(dcc), 0}, {VAR(attype), 0}, {VAR(dt), 0.005f},
      {VAR(tmin), 50}, {VAR(tmax), 200}, {VAR(tmaxstatic), 200}, {VAR(dynamic), 2},
      {VAR(second), 0}, {VAR(map), 0}, {VAR(xygrid), 1}, {VAR(box), 0}, {VAR(axes), 0},
      {VAR(tracer), 0}, {VAR(coloring), 3}, {VAR(bg), 0}, {VAR(thickness), 1}, {VAR(zoom), 1},
      {VAR(literalCalls), 0}, {VAR(stretcher), 1}, {VAR(x), 5}, {VAR(y), 5}, {VAR(z), 1},
      {VAR(xsec), 5}, {VAR(ysec), 5}, {VAR(zsec), 1}, {VAR(x2sec), 5 + 1e-5},
      {VAR(y2sec), 5 + 1e-5}, {VAR(z2sec), 1 + 1e-5}, {VAR(xmaxold), 0}, {VAR(t1), 0},
      {VAR(t2), 0}, {VAR(xmouseold), 400}, {VAR(ymouseold), 400}, {VAR(reseta), 0},
      // clang-format on
  };
  for (const auto &c : cases) EXPECT_EQ(c.var.get(), c.want) << c.var.name;
}

TEST(StartUp, ResetBringsTheSettingsBackAndLeavesAttractorIncrementsAndTwin) {
  const std::vector<Var> restored = {
      VAR(sigma),    VAR(ro),   VAR(beta),      VAR(aa),         VAR(bb),   VAR(cc),
      VAR(zoom),     VAR(tmin), VAR(tmax),      VAR(tmaxstatic), VAR(dt),   VAR(dynamic),
      VAR(second),   VAR(map),  VAR(tracer),    VAR(box),        VAR(axes), VAR(xygrid),
      VAR(coloring), VAR(bg),   VAR(thickness), VAR(xsec),       VAR(ysec), VAR(zsec),
      VAR(t1),       VAR(t2)};
  const std::vector<Var> kept = {VAR(attype), VAR(dro),   VAR(daa),    VAR(x2sec),
                                 VAR(y2sec),  VAR(z2sec), VAR(xmaxold)};
  restoreStartup();
  std::vector<double> start = values(restored);
  t1 = 30, t2 = -20, zoom = 4, ro = 99, sigma = 3, beta = 7, aa = 1, bb = 2, cc = 3;
  tmin = 10, tmax = 77, tmaxstatic = 300, dt = 0.01f, dynamic = 0, second = 1;
  map = 1, tracer = 1, box = 1, axes = 1, xygrid = 0, coloring = 6, bg = 1, thickness = 5;
  xsec = -3, ysec = -4, zsec = 9, attype = 1, dro = 0.5f, daa = 0.2f, x2sec = y2sec = z2sec = 8;
  xmaxold = 12;
  std::vector<double> before = values(kept);
  reset();
  std::vector<double> after = values(restored);
  for (size_t k = 0; k < restored.size(); k++) EXPECT_EQ(after[k], start[k]) << restored[k].name;
  std::vector<double> untouched = values(kept);
  for (size_t k = 0; k < kept.size(); k++) EXPECT_EQ(untouched[k], before[k]) << kept[k].name;
  EXPECT_EQ(reseta, 1);
}
