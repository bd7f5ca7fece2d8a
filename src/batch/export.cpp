// The trajectory as CSV, from the simulation core, and writing a file
// whole or not at all.
#include "batch/export.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

#include "sim/core.h"

namespace {

struct Rows {
  const Trajectory *tr;
  bool twin;
  std::string *out;
};

void addRow(void *ctx, bool) {
  const Rows &r = *static_cast<Rows *>(ctx);
  const Trajectory &tr = *r.tr;
  std::string &o = *r.out;
  o += shortest(tr.t) + "," + shortest(tr.x) + "," + shortest(tr.y) + "," + shortest(tr.z);
  if (r.twin) {
    double dx = tr.x - tr.x2, dy = tr.y - tr.y2, dz = tr.z - tr.z2;
    double l = std::log(std::sqrt(dx * dx + dy * dy + dz * dz));
    o += "," + shortest(tr.x2) + "," + shortest(tr.y2) + "," + shortest(tr.z2) + "," + shortest(l);
  }
  o += "\n";
}

} // namespace

ReplaySettings staticReplay(const Settings &s) {
  ReplaySettings r{&models[s.attractor], {}, s.dt, s.tmin, s.tmax, 0, s.twin};
  for (int k = 0; k < 3; k++) r.p[k] = s.params[s.attractor][k];
  return r;
}

Trajectory startOf(const Settings &s) {
  Trajectory tr{};
  tr.xsec = s.start[0], tr.ysec = s.start[1], tr.zsec = s.start[2];
  tr.x2sec = s.twinStart[0], tr.y2sec = s.twinStart[1], tr.z2sec = s.twinStart[2];
  loadStart(tr);
  return tr;
}

std::string trajectoryCsv(const Settings &s) {
  Trajectory tr = startOf(s);
  std::string out = s.twin == 1 ? "t,x,y,z,x2,y2,z2,ln_d\n" : "t,x,y,z\n";
  Rows rows{&tr, s.twin == 1, &out};
  replaySteps(staticReplay(s), tr, addRow, &rows);
  return out;
}

// The viewer's frames show the same points from the second on, the first
// of them against the previous frame's last maximum.
std::string maximaCsv(const Settings &s) {
  Trajectory tr = startOf(s);
  ReplaySettings r = staticReplay(s);
  std::vector<MapPoint> first = replayMaxima(r, tr);
  double previous = first.empty() ? 0 : first.back().top;
  loadStart(tr);
  std::string out = "previous,maximum\n";
  for (const MapPoint &p : replayMaxima(r, tr)) {
    out += shortest(previous) + "," + shortest(p.shown) + "\n";
    previous = p.top;
  }
  return out;
}

namespace {

bool writeTo(const std::string &path, const std::string &text, int &err) {
  FILE *f = std::fopen(path.c_str(), "wb");
  bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = f && std::fflush(f) == 0 && ok;
  err = errno;
  if (f && std::fclose(f) != 0 && ok) ok = false, err = errno;
  return ok;
}

} // namespace

// A regular file (or none yet) is written beside and renamed into place; a
// device or a pipe (/dev/stdout) is written as it is.
bool writeWhole(const std::string &path, const std::string &text, std::string &error) {
  struct stat st;
  bool special = ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
  std::string part = special ? path : path + ".part";
  int err = 0;
  bool ok = writeTo(part, text, err);
  if (ok && !special && std::rename(part.c_str(), path.c_str()) != 0) ok = false, err = errno;
  if (!ok && !special) std::remove(part.c_str());
  if (!ok) error = "cannot write " + path + ": " + std::strerror(err);
  return ok;
}
