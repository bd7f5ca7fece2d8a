// The viewer's per-frame replay, the core's on the process-wide trajectory,
// and the playback from one frame to the next.
#include "sim/replay.h"

#include "sim/core.h"
#include "state/state.h"

namespace {

void drawThrough(void *drawStep, bool last) {
  (*static_cast<DrawStep *>(drawStep))(last);
}

} // namespace

// ======== Load and replay ===========================================================
void loadStartStates() {
  loadStart(run);
}

void replay(DrawStep drawStep, bool (*overdue)()) {
  ReplaySettings r{&integratedModel(attype), {}, dt, tmin, tmax, dynamic, second};
  currentParameters(*r.model, r.p);
  replaySteps(r, run, drawThrough, &drawStep, overdue);
}

// ======== Playback ==============================================================
// Dynamic grows tmax before the fall-back test; Static then overrides both.
void advancePlayback() {
  int d = dynamic;
  if (d == 1) tmax = (float)((double)tmax + 0.1);
  if (tmax > tmaxstatic) tmax = tmin;
  if (d == 0) tmax = tmaxstatic;
}
