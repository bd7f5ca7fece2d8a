// The trajectory as CSV, from the simulation core.
#include "batch/export.h"
#include "state/settings_file.h"

#include "batch/output.h"
#include "render/picture.h"
#include "sim/core.h"

namespace {

// Rows go out a megabyte at a time: the file may be far larger than memory.
struct Rows {
  const Trajectory *tr;
  bool twin;
  Output *out;
  Progress progress;
  std::string buffer;
};

void addRow(void *ctx, bool last) {
  Rows &r = *static_cast<Rows *>(ctx);
  const Trajectory &tr = *r.tr;
  if (!mainFinite(tr)) return; // the output is abandoned
  std::string &o = r.buffer;
  o += shortest(tr.t) + "," + shortest(tr.x) + "," + shortest(tr.y) + "," + shortest(tr.z);
  if (r.twin) {
    o += "," + shortest(tr.x2) + "," + shortest(tr.y2) + "," + shortest(tr.z2) + "," +
         shortest(lnSeparation(tr));
  }
  o += "\n";
  if (o.size() < (1 << 20) && !last) return;
  writeOutput(*r.out, o);
  o.clear();
  showProgress(r.progress, tr.n);
}

// The core's inputs for the frame Static playback shows for s: no Segment
// anchoring, the start states as the file gives them, loaded.
ReplaySettings staticReplay(const Settings &s) {
  ReplaySettings r = replaySettings(s, s.tmaxstatic);
  r.dynamic = 0;
  return r;
}

Trajectory startOf(const Settings &s) {
  Trajectory tr = startUpPicture(s).run;
  loadStart(tr);
  return tr;
}

} // namespace

bool writeTrajectory(const Settings &s, Output &out, std::string &why) {
  Trajectory tr = startOf(s);
  writeOutput(out, s.second == 1 ? "t,x,y,z,x2,y2,z2,ln_d\n" : "t,x,y,z\n");
  const ReplaySettings r = staticReplay(s);
  Rows rows{&tr, s.second == 1, &out, {"step", (long)(r.tmax / r.dt)}, {}};
  replaySteps(r, tr, addRow, &rows, untilSignal());
  if (mainFinite(tr)) return true;
  why = divergedAt(leftFiniteAt(r, tr));
  return false;
}

// The viewer's frames show the same points from the second on, the first
// of them against the previous frame's last maximum.
std::string maximaCsv(const Settings &s, std::string *why) {
  Trajectory tr = startOf(s);
  ReplaySettings r = staticReplay(s);
  std::vector<MapPoint> first = replayMaxima(r, tr, untilSignal());
  double previous = first.empty() ? 0 : first.back().top;
  loadStart(tr);
  std::string out = "previous,maximum\n";
  for (const MapPoint &p : replayMaxima(r, tr, untilSignal())) {
    out += shortest(previous) + "," + shortest(p.shown) + "\n";
    previous = p.top;
  }
  if (why && !mainFinite(tr)) *why = divergedAt(leftFiniteAt(r, tr));
  return out;
}
