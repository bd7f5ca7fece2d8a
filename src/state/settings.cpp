// The settings table: one row a field of the record, with its file key,
// panel label, comment, kind, limits and start-up value, built once; the
// start-up settings made from it, and what a replay under them is asked.
#include "state/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <type_traits>
#include <unordered_map>

#include "sim/colourings.h"
#include "state/settings_file.h"

static_assert(std::is_standard_layout_v<Settings>, "rows find their fields by offset");

namespace {

const double ANY = std::numeric_limits<double>::infinity();
using Choices = std::vector<Setting::Choice>;

// In the file's order; the panels look rows up by key.
std::vector<Setting> makeTable() {
  static const Settings s{}; // where each field lies; its values are not read
  std::vector<Setting> out;
  auto row = [&](const std::string &key, const std::string &label, const std::string &comment,
                 Kind kind, const void *field, double lo, double hi, double start) -> Setting & {
    const size_t at =
        (size_t)(static_cast<const char *>(field) - reinterpret_cast<const char *>(&s));
    out.push_back({key, label, comment, kind, at, lo, hi, start, {}});
    return out.back();
  };
  auto real = [&](const std::string &key, const std::string &label, const std::string &comment,
                  const float &v, float lo, float hi,
                  float start) { row(key, label, comment, Kind::FLOAT, &v, lo, hi, start); };
  auto exact = [&](const std::string &key, const char *comment, const double &v, double start) {
    row(key, "", comment, Kind::DOUBLE, &v, -ANY, ANY, start);
  };
  auto flag = [&](const char *key, const char *label, const char *comment, const int &v,
                  int start) { row(key, label, comment, Kind::SWITCH, &v, 0, 1, start); };
  auto choice = [&](const char *key, const char *label, const char *comment, const int &v,
                    int start, Choices names) {
    row(key, label, comment, Kind::CHOICE, &v, 0, 0, start).choices = std::move(names);
  };
  Choices attractors(MODELS), schemes(COLOURINGS);
  std::transform(models, models + MODELS, attractors.begin(), [](const Model &m) {
    return Setting::Choice{int(&m - models), m.key, m.name};
  });
  std::transform(colourings, colourings + COLOURINGS, schemes.begin(), [](const Colouring &c) {
    return Setting::Choice{c.id, c.name, c.name};
  });
  choice("attractor", "", "the attractor drawn", s.attype, 0, attractors);
  real("tmin", "tmin", "start of the drawn window, model time (0 to 5000)", s.tmin, 0, 5000, 50);
  real("tmax", "tmax", "end of the drawn window, model time (0 to 10000)", s.tmaxstatic, 0, 10000,
       200);
  real("dt", "dt", "integration step (0.0001 to 1)", s.dt, 0.0001f, 1, 0.005f);
  choice("playback", "", "static: tmin to tmax; dynamic: growing; segment: sliding", s.dynamic, 2,
         {{0, "static", "Static"}, {1, "dynamic", "Dynamic"}, {2, "segment", "Segment"}});
  flag("twin", "    Twin trajectory", "the twin trajectory and its divergence graph", s.second, 0);
  choice("colouring", "Coloring: ", "the colouring scheme", s.coloring, 3, schemes);
  choice("background", "Background: ", "black or white", s.bg, 0,
         {{1, "white", "White"}, {0, "black", "Black"}});
  choice("lines", "Lines: ", "line width", s.thickness, 1,
         {{1, "thin", "Thin"}, {3, "thick", "Thick"}, {5, "thicker", "Thicker"}});
  flag("grid", "X-Y Grid", "the x-y grid", s.xygrid, 1);
  flag("box", "Box", "the box", s.box, 0);
  flag("axes", "Axes", "the axes", s.axes, 0);
  flag("tracer", "Tracer", "the dot on the head of the curve (dynamic and segment)", s.tracer, 0);
  flag("maximum_map", "Maximum Map", "the maximum map instead of the curve", s.map, 0);
  real("zoom", "Zoom", "scene scale (0.1 to 300)", s.zoom, 0.1f, 300, 1);
  for (int m = 0; m < MODELS; m++)
    for (int k = 0; k < 3; k++) {
      const Parameter &q = models[m].params[k];
      std::string in = std::string(models[m].key) + ".";
      real(in + q.name, q.name,
           std::string(models[m].name) + " " + q.name + " (" + shortest(q.lo) + " to " +
               shortest(q.hi) + ")",
           s.params[m][k], q.lo, q.hi, q.start);
      real(in + q.incName, q.incName,
           std::string("added to ") + q.name + " by the space bar (-10 to 10)", s.incs[m][k], -10,
           10, q.incStart);
    }
  // The built-in start point, the twin 1e-5 away in each coordinate.
  const double point[3] = {5, 5, 1};
  const char *axis[3] = {"x", "y", "z"};
  for (int k = 0; k < 3; k++)
    exact(std::string("start.") + axis[k], "main start state", s.start[k], point[k]);
  for (int k = 0; k < 3; k++)
    exact(std::string("twin_start.") + axis[k], "twin start state", s.twinStart[k],
          point[k] + 1e-5);
  exact("view.rotate_x", "degrees about x (left drag up and down)", s.t1, 0);
  exact("view.rotate_y", "degrees about y (left drag sideways)", s.t2, 0);
  exact("view.pan_x", "scene units (right drag)", s.xtranslate, 0);
  exact("view.pan_y", "scene units (right drag)", s.ytranslate, 0);
  return out;
}

} // namespace

const std::vector<Setting> &settingsTable() {
  static const std::vector<Setting> rows = makeTable();
  return rows;
}

const Setting *findSetting(const std::string &key) {
  static const std::unordered_map<std::string, const Setting *> byKey = [] {
    std::unordered_map<std::string, const Setting *> m;
    for (const Setting &r : settingsTable()) m[r.key] = &r;
    return m;
  }();
  auto r = byKey.find(key);
  return r == byKey.end() ? nullptr : r->second;
}

const Setting &settingRow(const std::string &key) {
  const Setting *r = findSetting(key);
  if (!r) std::abort(); // every key asked for is in the table
  return *r;
}

const Setting &parameterRow(int m, int k) {
  return settingRow(std::string(models[m].key) + "." + models[m].params[k].name);
}

void setWithin(const Setting &r, Settings &s, float v) {
  if (std::isnan(v)) return;
  float lo = (float)r.lo, hi = (float)r.hi;
  r.in<float>(s) = v < lo ? lo : v > hi ? hi : v;
}

const Settings &startUpSettings() {
  static const Settings s = [] {
    Settings s{};
    for (const Setting &r : settingsTable()) {
      if (r.kind == Kind::FLOAT) r.in<float>(s) = (float)r.start;
      else if (r.kind == Kind::DOUBLE) r.in<double>(s) = r.start;
      else r.in<int>(s) = (int)r.start;
    }
    return s;
  }();
  return s;
}

System systemOf(const Settings &s) {
  const int m = integratedIndex(s.attype);
  System y{&models[m], {}, s.dt, {s.start[0], s.start[1], s.start[2]}};
  for (int k = 0; k < 3; k++) y.p[k] = s.params[m][k];
  return y;
}

Trajectory startTrajectory(const Settings &s) {
  Trajectory r{};
  r.x = r.x2 = s.start[0], r.y = r.y2 = s.start[1], r.z = r.z2 = s.start[2];
  r.xsec = s.start[0], r.ysec = s.start[1], r.zsec = s.start[2];
  r.x2sec = s.twinStart[0], r.y2sec = s.twinStart[1], r.z2sec = s.twinStart[2];
  r.stretcher = 1.0;
  return r;
}

ReplaySettings replaySettings(const Settings &s, float tmax) {
  return {systemOf(s), s.tmin, tmax, s.dynamic, s.second};
}
