// The trajectory as CSV, from the simulation core.
#include "batch/export.h"
#include "state/settings_file.h"

#include "batch/output.h"
#include "sim/core.h"
#include "state/settings.h"

namespace {

// The core's inputs for the frame Static playback shows for s: no Segment
// anchoring, the start states as the file gives them, loaded.
ReplaySettings staticReplay(const Settings &s) {
  ReplaySettings r = replaySettings(s, s.tmaxstatic);
  r.dynamic = 0;
  return r;
}

Trajectory startOf(const Settings &s) {
  Trajectory tr = startTrajectory(s);
  loadStart(tr);
  return tr;
}

struct Stepped {
  const Trajectory *tr;
  bool twin;
  const RowSink *each;
};

void takeRow(void *ctx, bool last) {
  const Stepped &k = *static_cast<Stepped *>(ctx);
  const Trajectory &tr = *k.tr;
  if (!mainFinite(tr)) return; // no row from there on
  const double row[8] = {tr.t,  tr.x,  tr.y,  tr.z,
                         tr.x2, tr.y2, tr.z2, k.twin ? lnSeparation(tr) : 0};
  (*k.each)(row, k.twin ? 8 : 4, tr.n, last);
}

// Rows go out a megabyte at a time: the file may be far larger than memory.
struct Csv {
  Output *out;
  Progress progress;
  std::string buffer;
};

void addRow(Csv &c, const double *row, int count, long n, bool last) {
  std::string &o = c.buffer;
  for (int k = 0; k < count; k++) o += (k ? "," : "") + shortest(row[k]);
  o += "\n";
  if (o.size() < (1 << 20) && !last) return;
  writeOutput(*c.out, o);
  o.clear();
  showProgress(c.progress, n);
}

} // namespace

std::string windowRefusal(const Settings &s) {
  if (s.tmin < s.tmaxstatic) return "";
  return "tmin (" + shortest(s.tmin) + ") must be below tmax (" + shortest(s.tmaxstatic) +
         "): the time window is empty";
}

long trajectorySteps(const Settings &s) {
  const ReplaySettings r = staticReplay(s);
  return stepsBelow(r.tmax / r.dt) - std::min(stepsBelow(r.tmax / r.dt), stepsUpTo(r.tmin / r.dt));
}

bool trajectoryRows(const Settings &s, const RowSink &each, Cut cut, std::string &why) {
  Trajectory tr = startOf(s);
  const ReplaySettings r = staticReplay(s);
  Stepped k{&tr, s.second == 1, &each};
  replaySteps(r, tr, takeRow, &k, cut);
  if (mainFinite(tr)) return true;
  why = divergedAt(leftFiniteAt(r, tr));
  return false;
}

bool writeTrajectory(const Settings &s, Output &out, std::string &why) {
  writeOutput(out, s.second == 1 ? "t,x,y,z,x2,y2,z2,ln_d\n" : "t,x,y,z\n");
  Csv csv{&out, {"step", (long)(s.tmaxstatic / s.dt)}, {}};
  return trajectoryRows(
      s, [&](const double *row, int count, long n, bool last) { addRow(csv, row, count, n, last); },
      untilSignal(), why);
}

// The viewer's frames show the same points from the second on, the first
// of them against the previous frame's last maximum.
std::vector<MapPair> maximaPairs(const Settings &s, Cut cut, std::string *why) {
  Trajectory tr = startOf(s);
  ReplaySettings r = staticReplay(s);
  std::vector<MapPoint> first = replayMaxima(r, tr, cut);
  double previous = first.empty() ? 0 : first.back().top;
  loadStart(tr);
  std::vector<MapPair> out;
  for (const MapPoint &p : replayMaxima(r, tr, cut)) {
    out.push_back({previous, p.shown});
    previous = p.top;
  }
  if (why && !mainFinite(tr)) *why = divergedAt(leftFiniteAt(r, tr));
  return out;
}

std::string maximaCsv(const Settings &s, std::string *why) {
  std::string out = "previous,maximum\n";
  for (const MapPair &p : maximaPairs(s, untilSignal(), why))
    out += shortest(p.previous) + "," + shortest(p.maximum) + "\n";
  return out;
}
