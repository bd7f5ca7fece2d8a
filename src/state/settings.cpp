// The settings file: one table of fields, each with its key, its comment,
// its kind and the panel's limits, from which the file is written and read.
#include "state/settings.h"

#include <toml++/toml.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "render/colourings.h"
#include "state/state.h"

namespace {

const double ANY = std::numeric_limits<double>::infinity();

struct Key {
  std::string key; // dotted: "tmin", "lorenz.ro", "view.rotate_x"
  std::string comment;
  float *f = nullptr;  // a float setting, or
  double *d = nullptr; // a double setting, or
  int *i = nullptr;    // a switch (with no choices) or a choice
  double lo = -ANY, hi = ANY;
  std::vector<std::pair<int, std::string>> choices; // value and its name in the file
};

std::vector<Key> fields(Settings &s) {
  std::vector<Key> out;
  auto choice = [&](const char *key, const char *comment, int *v,
                    std::vector<std::pair<int, std::string>> names) {
    Key f;
    f.key = key, f.comment = comment;
    f.i = v, f.choices = std::move(names);
    out.push_back(f);
  };
  auto real = [&](const std::string &key, const std::string &comment, float *v, double lo,
                  double hi) {
    Key f;
    f.key = key, f.comment = comment;
    f.f = v, f.lo = lo, f.hi = hi;
    out.push_back(f);
  };
  auto exact = [&](const std::string &key, const char *comment, double *v) {
    Key f;
    f.key = key, f.comment = comment;
    f.d = v;
    out.push_back(f);
  };
  auto flag = [&](const char *key, const char *comment, int *v) {
    Key f;
    f.key = key, f.comment = comment;
    f.i = v;
    out.push_back(f);
  };

  std::vector<std::pair<int, std::string>> attractors(MODELS), schemes(COLOURINGS);
  std::transform(models, models + MODELS, attractors.begin(), [](const Model &m) {
    return std::make_pair(int(&m - models), std::string(m.key));
  });
  std::transform(colourings, colourings + COLOURINGS, schemes.begin(),
                 [](const Colouring &c) { return std::make_pair(c.id, std::string(c.name)); });
  choice("attractor", "the attractor drawn", &s.attractor, attractors);
  real("tmin", "start of the drawn window, model time (0 to 5000)", &s.tmin, 0, 5000);
  real("tmax", "end of the drawn window, model time (0 to 10000)", &s.tmax, 0, 10000);
  real("dt", "integration step (0.0001 to 1)", &s.dt, 0.0001f, 1);
  choice("playback", "static: tmin to tmax; dynamic: growing; segment: sliding", &s.playback,
         {{0, "static"}, {1, "dynamic"}, {2, "segment"}});
  flag("twin", "the twin trajectory and its divergence graph", &s.twin);
  choice("colouring", "the colouring scheme", &s.colouring, schemes);
  choice("background", "black or white", &s.background, {{0, "black"}, {1, "white"}});
  choice("lines", "line width", &s.lines, {{1, "thin"}, {3, "thick"}, {5, "thicker"}});
  flag("grid", "the x-y grid", &s.grid);
  flag("box", "the box", &s.box);
  flag("axes", "the axes", &s.axes);
  flag("tracer", "the dot on the head of the curve (dynamic and segment)", &s.tracer);
  flag("maximum_map", "the maximum map instead of the curve", &s.map);
  real("zoom", "scene scale (0.1 to 300)", &s.zoom, 0.1f, 300);
  for (int m = 0; m < MODELS; m++)
    for (int k = 0; k < 3; k++) {
      const Parameter &q = models[m].params[k];
      std::string in = std::string(models[m].key) + ".";
      real(in + q.name,
           std::string(models[m].name) + " " + q.name + " (" + shortest(q.lo) + " to " +
               shortest(q.hi) + ")",
           &s.params[m][k], q.lo, q.hi);
      real(in + q.incName, std::string("added to ") + q.name + " by the space bar (-10 to 10)",
           &s.incs[m][k], -10, 10);
    }
  const char *axis[3] = {"x", "y", "z"};
  for (int k = 0; k < 3; k++)
    exact(std::string("start.") + axis[k], "main start state", &s.start[k]);
  for (int k = 0; k < 3; k++)
    exact(std::string("twin_start.") + axis[k], "twin start state", &s.twinStart[k]);
  exact("view.rotate_x", "degrees about x (left drag up and down)", &s.rotateX);
  exact("view.rotate_y", "degrees about y (left drag sideways)", &s.rotateY);
  exact("view.pan_x", "scene units (right drag)", &s.panX);
  exact("view.pan_y", "scene units (right drag)", &s.panY);
  return out;
}

std::string valueText(const Key &f) {
  if (f.f || f.d) { // a float in the file, never an integer
    std::string s = f.f ? shortest(*f.f) : shortest(*f.d);
    return s.find_first_of(".en") == std::string::npos ? s + ".0" : s;
  }
  if (f.choices.empty()) return *f.i ? "true" : "false";
  auto c = std::find_if(f.choices.begin(), f.choices.end(),
                        [&](const auto &choice) { return choice.first == *f.i; });
  return "\"" + (c == f.choices.end() ? std::string() : c->second) + "\"";
}

std::string table(const std::string &key) {
  size_t dot = key.find('.');
  return dot == std::string::npos ? "" : key.substr(0, dot);
}

std::string leaf(const std::string &key) {
  size_t dot = key.find('.');
  return dot == std::string::npos ? key : key.substr(dot + 1);
}

// Why node cannot be the value of f, or "" once f has taken it; floats
// are checked against the panel's limits as the panel would hold them.
std::string take(const Key &f, const toml::node &node) {
  if (f.f || f.d) {
    std::optional<double> v = node.value<double>();
    if (!v || node.is_boolean()) return "is not a number";
    bool inside =
        f.f ? (float)*v >= (float)f.lo && (float)*v <= (float)f.hi : *v >= f.lo && *v <= f.hi;
    if (!std::isfinite(*v) || !inside)
      return shortest(*v) + " is outside " + shortest((float)f.lo) + " to " + shortest((float)f.hi);
    if (f.f) *f.f = (float)*v;
    else *f.d = *v;
    return "";
  }
  if (f.choices.empty()) {
    std::optional<bool> b = node.value_exact<bool>();
    if (!b) return "is not true or false";
    *f.i = *b ? 1 : 0;
    return "";
  }
  std::optional<std::string> name = node.value_exact<std::string>();
  if (!name) return "is not a name in quotes";
  auto c = std::find_if(f.choices.begin(), f.choices.end(),
                        [&](const auto &choice) { return choice.second == *name; });
  if (c != f.choices.end()) {
    *f.i = c->first;
    return "";
  }
  std::string known;
  for (const auto &k : f.choices) known += (known.empty() ? "\"" : ", \"") + k.second + "\"";
  return "\"" + *name + "\" is not one of " + known;
}

} // namespace

std::string shortest(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

// A file's numbers are read as doubles and then narrowed; where that could
// round differently from reading a float, the double's own text is kept.
std::string shortest(float v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  double back = 0;
  std::from_chars(buf, r.ptr, back);
  return (float)back == v ? std::string(buf, r.ptr) : shortest((double)v);
}

Settings startUpSettings() {
  static const Settings s = viewerSettings(); // first asked before anything changed them
  return s;
}

Settings viewerSettings() {
  Settings s{};
  s.attractor = attype;
  for (int m = 0; m < MODELS; m++)
    for (int k = 0; k < 3; k++) {
      s.params[m][k] = *models[m].params[k].value;
      s.incs[m][k] = *models[m].params[k].inc;
    }
  s.tmin = tmin, s.tmax = tmaxstatic, s.dt = dt;
  s.playback = dynamic, s.twin = second, s.colouring = coloring, s.background = bg;
  s.lines = thickness, s.grid = xygrid, s.box = box, s.axes = axes, s.tracer = tracer;
  s.map = map, s.zoom = zoom;
  s.start[0] = xsec, s.start[1] = ysec, s.start[2] = zsec;
  s.twinStart[0] = x2sec, s.twinStart[1] = y2sec, s.twinStart[2] = z2sec;
  s.rotateX = t1, s.rotateY = t2; // the pan: read from the modelview matrix
  return s;
}

// The pan is left where it is: it lives in the modelview matrix.
void useSettings(const Settings &s) {
  attype = s.attractor;
  for (int m = 0; m < MODELS; m++)
    for (int k = 0; k < 3; k++) {
      *models[m].params[k].value = s.params[m][k];
      *models[m].params[k].inc = s.incs[m][k];
    }
  tmin = s.tmin, tmaxstatic = s.tmax, dt = s.dt;
  dynamic = s.playback, second = s.twin, coloring = s.colouring, bg = s.background;
  thickness = s.lines, xygrid = s.grid, box = s.box, axes = s.axes, tracer = s.tracer;
  map = s.map, zoom = s.zoom;
  xsec = s.start[0], ysec = s.start[1], zsec = s.start[2];
  x2sec = s.twinStart[0], y2sec = s.twinStart[1], z2sec = s.twinStart[2];
  t1 = s.rotateX, t2 = s.rotateY;
}

std::string settingsText(const Settings &s) {
  Settings copy = s;
  std::string out = "# Tresolva settings: every key may be left out (it then keeps its\n"
                    "# start-up value).\n";
  std::string current;
  for (const Key &f : fields(copy)) {
    if (table(f.key) != current) {
      current = table(f.key);
      out += "\n[" + current + "]\n";
    }
    out += "# " + f.comment + "\n" + leaf(f.key) + " = " + valueText(f) + "\n";
  }
  return out;
}

bool readSettings(const std::string &path, Settings &s, std::string &error) {
  toml::table doc;
  try {
    doc = toml::parse_file(path);
  } catch (const toml::parse_error &e) {
    auto line = e.source().begin.line;
    error = line ? path + ":" + std::to_string(line) + ": " + std::string(e.description())
                 : "cannot read " + path + ": " + std::string(e.description());
    return false;
  }
  Settings read = s;
  std::vector<Key> known = fields(read);
  bool ok = true;
  auto refuse = [&](const toml::node &n, const std::string &key, const std::string &why) {
    error = path + ":" + std::to_string(n.source().begin.line) + ": " + key + ": " + why;
    ok = false;
  };
  auto isTable = [&](const std::string &name) {
    return std::any_of(known.begin(), known.end(),
                       [&](const Key &k) { return table(k.key) == name; });
  };
  auto visit = [&](const toml::table &t, const std::string &prefix, auto &self) -> void {
    for (const auto &[k, node] : t) {
      if (!ok) return;
      std::string key = prefix + std::string(k.str());
      if (prefix.empty() && node.is_table() && isTable(key)) {
        self(*node.as_table(), key + ".", self);
        continue;
      }
      auto f = std::find_if(known.begin(), known.end(), [&](const Key &c) { return c.key == key; });
      std::string why = f == known.end() ? "unknown key" : take(*f, node);
      if (!why.empty()) refuse(node, key, why);
    }
  };
  visit(doc, "", visit);
  if (ok) s = read;
  return ok;
}
