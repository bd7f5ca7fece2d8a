// Puts the process-wide state back to the values the program started with
// between tests: they are read once, at the first call, before any test
// has changed them; the panels are built then, so that their handles exist.
#include "support/startup.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

#include "sim/core.h"
#include "state/state.h"
#include "support/fake_gl.h"
#include "ui/layer.h"
#include "ui/panels.h"

namespace {

// clang-format off
#define EACH_VARIABLE(X)                                                                      \
  X(sigma) X(ro) X(beta) X(aa) X(bb) X(cc) X(dsigma) X(dro) X(dbeta) X(daa) X(dbb) X(dcc)    \
  X(attype) X(dt) X(tmin) X(tmax) X(tmaxstatic) X(dynamic) X(second) X(map) X(xygrid) X(box)  \
  X(axes) X(tracer) X(coloring) X(bg) X(thickness) X(zoom) X(literalCalls) X(run) X(xmaxold)  \
  X(t1) X(t2) X(xtranslate) X(ytranslate) X(xtranslatemp) X(ytranslatemp) X(reseta)           \
  X(zkeydown) X(xmouseold) X(ymouseold)
// clang-format on

struct Saved {
#define FIELD(v) std::remove_reference_t<decltype(::v)> v##_;
  EACH_VARIABLE(FIELD)
#undef FIELD
};

const Saved &atStart() {
#define COPY(v) v,
  static const Saved s{EACH_VARIABLE(COPY)};
#undef COPY
  return s;
}

} // namespace

void restoreStartup() {
  const Saved &s = atStart();
#define BACK(v) v = s.v##_;
  EACH_VARIABLE(BACK)
#undef BACK
  std::fill(std::begin(KeyDown), std::end(KeyDown), 0);

  static bool built = false;
  if (!built) {
    buildPanels(ui::master.create_subwindow(1, ui::SUBWINDOW_RIGHT),
                ui::master.create_subwindow(1, ui::SUBWINDOW_BOTTOM));
    built = true;
  }
  ui::master.set_glutMotionFunc(nullptr);
  ui::master.set_glutPassiveMotionFunc(nullptr);
  clearGl();
}
