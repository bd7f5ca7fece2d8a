// The settings: one table of fields, each with its file key, panel label,
// comment, kind, limits and start-up value, from which the start-up
// settings are made and the file is written and read.
#include "state/settings.h"

#include <sys/stat.h>

#include <toml++/toml.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <vector>

#include "sim/colourings.h"

namespace {

const double ANY = std::numeric_limits<double>::infinity();
using Choices = std::vector<Setting::Choice>;

} // namespace

// ======== The table ================================================================
// In the file's order; the panels look rows up by key.
std::vector<Setting> settingsTable(Settings &s) {
  std::vector<Setting> out;
  auto row = [&](const std::string &key, const std::string &label, const std::string &comment,
                 double lo, double hi, double start) -> Setting & {
    Setting r;
    r.key = key, r.label = label, r.comment = comment, r.lo = lo, r.hi = hi, r.start = start;
    out.push_back(r);
    return out.back();
  };
  auto real = [&](const std::string &key, const std::string &label, const std::string &comment,
                  float *v, float lo, float hi,
                  float start) { row(key, label, comment, lo, hi, start).f = v; };
  auto exact = [&](const std::string &key, const char *comment, double *v, double start) {
    row(key, "", comment, -ANY, ANY, start).d = v;
  };
  auto flag = [&](const char *key, const char *label, const char *comment, int *v, int start) {
    row(key, label, comment, 0, 1, start).i = v;
  };
  auto choice = [&](const char *key, const char *label, const char *comment, int *v, int start,
                    Choices names) {
    Setting &r = row(key, label, comment, 0, 0, start);
    r.i = v, r.choices = std::move(names);
  };

  Choices attractors(MODELS), schemes(COLOURINGS);
  std::transform(models, models + MODELS, attractors.begin(), [](const Model &m) {
    return Setting::Choice{int(&m - models), m.key, m.name};
  });
  std::transform(colourings, colourings + COLOURINGS, schemes.begin(), [](const Colouring &c) {
    return Setting::Choice{c.id, c.name, c.name};
  });
  choice("attractor", "", "the attractor drawn", &s.attype, 0, attractors);
  real("tmin", "tmin", "start of the drawn window, model time (0 to 5000)", &s.tmin, 0, 5000, 50);
  real("tmax", "tmax", "end of the drawn window, model time (0 to 10000)", &s.tmaxstatic, 0, 10000,
       200);
  real("dt", "dt", "integration step (0.0001 to 1)", &s.dt, 0.0001f, 1, 0.005f);
  choice("playback", "", "static: tmin to tmax; dynamic: growing; segment: sliding", &s.dynamic, 2,
         {{0, "static", "Static"}, {1, "dynamic", "Dynamic"}, {2, "segment", "Segment"}});
  flag("twin", "    Twin trajectory", "the twin trajectory and its divergence graph", &s.second, 0);
  choice("colouring", "Coloring: ", "the colouring scheme", &s.coloring, 3, schemes);
  choice("background", "Background: ", "black or white", &s.bg, 0,
         {{1, "white", "White"}, {0, "black", "Black"}});
  choice("lines", "Lines: ", "line width", &s.thickness, 1,
         {{1, "thin", "Thin"}, {3, "thick", "Thick"}, {5, "thicker", "Thicker"}});
  flag("grid", "X-Y Grid", "the x-y grid", &s.xygrid, 1);
  flag("box", "Box", "the box", &s.box, 0);
  flag("axes", "Axes", "the axes", &s.axes, 0);
  flag("tracer", "Tracer", "the dot on the head of the curve (dynamic and segment)", &s.tracer, 0);
  flag("maximum_map", "Maximum Map", "the maximum map instead of the curve", &s.map, 0);
  real("zoom", "Zoom", "scene scale (0.1 to 300)", &s.zoom, 0.1f, 300, 1);
  for (int m = 0; m < MODELS; m++)
    for (int k = 0; k < 3; k++) {
      const Parameter &q = models[m].params[k];
      std::string in = std::string(models[m].key) + ".";
      real(in + q.name, q.name,
           std::string(models[m].name) + " " + q.name + " (" + shortest(q.lo) + " to " +
               shortest(q.hi) + ")",
           &s.params[m][k], q.lo, q.hi, q.start);
      real(in + q.incName, q.incName,
           std::string("added to ") + q.name + " by the space bar (-10 to 10)", &s.incs[m][k], -10,
           10, q.incStart);
    }
  // The built-in start point, the twin 1e-5 away in each coordinate.
  const double point[3] = {5, 5, 1};
  const char *axis[3] = {"x", "y", "z"};
  for (int k = 0; k < 3; k++)
    exact(std::string("start.") + axis[k], "main start state", &s.start[k], point[k]);
  for (int k = 0; k < 3; k++)
    exact(std::string("twin_start.") + axis[k], "twin start state", &s.twinStart[k],
          point[k] + 1e-5);
  exact("view.rotate_x", "degrees about x (left drag up and down)", &s.t1, 0);
  exact("view.rotate_y", "degrees about y (left drag sideways)", &s.t2, 0);
  exact("view.pan_x", "scene units (right drag)", &s.xtranslate, 0);
  exact("view.pan_y", "scene units (right drag)", &s.ytranslate, 0);
  return out;
}

Setting settingRow(Settings &s, const std::string &key) {
  std::vector<Setting> rows = settingsTable(s);
  auto r = std::find_if(rows.begin(), rows.end(), [&](const Setting &k) { return k.key == key; });
  if (r == rows.end()) std::abort(); // every key asked for is in the table
  return *r;
}

Setting parameterRow(Settings &s, int m, int k) {
  return settingRow(s, std::string(models[m].key) + "." + models[m].params[k].name);
}

void setWithin(const Setting &r, float v) {
  if (std::isnan(v)) return;
  float lo = (float)r.lo, hi = (float)r.hi;
  *r.f = v < lo ? lo : v > hi ? hi : v;
}

// ======== A number's field and arrows ================================================
float typedValue(const char *text, float v, float lo, float hi) {
  char *end;
  double d = std::strtod(text, &end);
  if (end == text || std::isnan(d)) return v;
  while (*end == ' ') end++;
  if (*end != '\0') return v;
  if (d <= (double)lo) return lo;
  if (d >= (double)hi) return hi;
  float f = (float)d;
  return f < lo ? lo : f > hi ? hi : f;
}

double arrowStep(float v, float lo, float hi) {
  double m = std::fabs((double)v);
  if (!(m > 0) || !std::isfinite(m)) m = ((double)hi - (double)lo) / 100;
  if (!(m > 0) || !std::isfinite(m)) m = 1;
  return std::pow(10.0, std::floor(std::log10(m)) - 1);
}

float arrowClick(float v, float lo, float hi, int way) {
  double s = arrowStep(v, lo, hi);
  float f = (float)(std::round(((double)v + way * s) / s) * s);
  return f < lo ? lo : f > hi ? hi : f;
}

float arrowDrag(float v, float lo, float hi, double dy) {
  float f = (float)(v - dy * arrowStep(v, lo, hi) * 0.5);
  return std::isnan(f) ? v : f < lo ? lo : f > hi ? hi : f;
}

std::string fieldText(float v) {
  char buf[32];
  for (int digits = 6; digits <= 9; digits++) {
    std::snprintf(buf, sizeof buf, "%.*g", digits, (double)v);
    if (std::strtof(buf, nullptr) == v) break;
  }
  return buf;
}

const Settings &startUpSettings() {
  static const Settings s = [] {
    Settings s{};
    for (const Setting &r : settingsTable(s)) {
      if (r.f) *r.f = (float)r.start;
      if (r.d) *r.d = r.start;
      if (r.i) *r.i = (int)r.start;
    }
    return s;
  }();
  return s;
}

ReplaySettings replaySettings(const Settings &s, float tmax) {
  int m = integratedIndex(s.attype);
  ReplaySettings r{&models[m], {}, s.dt, s.tmin, tmax, s.dynamic, s.second};
  for (int k = 0; k < 3; k++) r.p[k] = s.params[m][k];
  return r;
}

namespace {

std::string valueText(const Setting &f) {
  if (f.f || f.d) { // a float in the file, never an integer
    std::string s = f.f ? shortest(*f.f) : shortest(*f.d);
    return s.find_first_of(".en") == std::string::npos ? s + ".0" : s;
  }
  if (f.choices.empty()) return *f.i ? "true" : "false";
  auto c = std::find_if(f.choices.begin(), f.choices.end(),
                        [&](const auto &choice) { return choice.value == *f.i; });
  return "\"" + (c == f.choices.end() ? std::string() : c->name) + "\"";
}

std::string table(const std::string &key) {
  size_t dot = key.find('.');
  return dot == std::string::npos ? "" : key.substr(0, dot);
}

std::string leaf(const std::string &key) {
  size_t dot = key.find('.');
  return dot == std::string::npos ? key : key.substr(dot + 1);
}

// A choice's name as a person may type it: "Lorenz" is "lorenz".
bool sameLetters(const std::string &a, const std::string &b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower((unsigned char)x) == std::tolower((unsigned char)y);
         });
}

// The value of a node a message names: a string in quotes, else its kind.
std::string named(const toml::node &node) {
  if (auto text = node.value_exact<std::string>()) return "\"" + forMessage(*text) + "\"";
  if (auto b = node.value_exact<bool>()) return *b ? "true" : "false";
  std::ostringstream kind;
  kind << node.type();
  return (node.is_array() ? "an " : "a ") + kind.str();
}

// Why node cannot be the value of f, or "" once f has taken it; floats
// are checked against the panel's limits as the panel would hold them.
std::string take(const Setting &f, const toml::node &node) {
  if (f.f || f.d) {
    std::optional<double> v = node.value<double>();
    if (!v || node.is_boolean()) return named(node) + " is not a number";
    bool inside =
        f.f ? (float)*v >= (float)f.lo && (float)*v <= (float)f.hi : *v >= f.lo && *v <= f.hi;
    if (!std::isfinite(*v)) return shortest(*v) + " is not a finite number";
    if (!inside)
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
                        [&](const auto &choice) { return sameLetters(choice.name, *name); });
  if (c != f.choices.end()) {
    *f.i = c->value;
    return "";
  }
  // Named in the order of their values, whatever order the panel lists them in.
  std::vector<Setting::Choice> byValue = f.choices;
  std::sort(byValue.begin(), byValue.end(),
            [](const auto &a, const auto &b) { return a.value < b.value; });
  std::string known;
  for (const auto &k : byValue) known += (known.empty() ? "\"" : ", \"") + k.name + "\"";
  return "\"" + forMessage(*name) + "\" is not one of " + known;
}

} // namespace

#ifndef __EMSCRIPTEN__
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
#else
// The web page's C++ library has no floating-point to_chars: the fewest
// significant digits that read back as v, as %g writes them (the same
// value, if not always the same text, as the desktop writes).
std::string shortest(double v) {
  char buf[64];
  if (v == std::floor(v) && std::fabs(v) < 1e16) { // whole numbers as the desktop writes them
    std::snprintf(buf, sizeof buf, "%.0f", v);
    return buf;
  }
  for (int digits = 1; digits <= 17; digits++) {
    std::snprintf(buf, sizeof buf, "%.*g", digits, v);
    if (std::strtod(buf, nullptr) == v) break;
  }
  return buf;
}

std::string shortest(float v) {
  char buf[64];
  if (v == std::floor(v) && std::fabs(v) < 1e16f) return shortest((double)v);
  for (int digits = 1; digits <= 9; digits++) {
    std::snprintf(buf, sizeof buf, "%.*g", digits, (double)v);
    if ((float)std::strtod(buf, nullptr) == v) return buf;
  }
  return shortest((double)v);
}
#endif

// ======== Text from outside ===========================================================
bool isUtf8(const std::string &s) {
  const auto *p = reinterpret_cast<const unsigned char *>(s.data()), *end = p + s.size();
  while (p < end) {
    int more = *p < 0x80 ? 0 : (*p >> 5) == 6 ? 1 : (*p >> 4) == 14 ? 2 : (*p >> 3) == 30 ? 3 : -1;
    if (more < 0 || end - p <= more) return more == 0;
    unsigned cp = *p & (0x7f >> more);
    for (int k = 1; k <= more; k++) {
      if ((p[k] & 0xc0) != 0x80) return false;
      cp = cp << 6 | (p[k] & 0x3f);
    }
    const unsigned least[4] = {0, 0x80, 0x800, 0x10000};
    if (cp < least[more] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) return false;
    p += more + 1;
  }
  return true;
}

std::string forMessage(const std::string &text) {
  const size_t MOST = 60;
  std::string out;
  size_t chars = 0, k = 0;
  while (k < text.size() && chars < MOST) {
    unsigned char c = text[k];
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n > 1 && isUtf8(text.substr(k, n))) {
      out += text.substr(k, n);
    } else if (n == 1 && c >= 0x20 && c != 0x7f) {
      out += (char)c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex, n = 1;
    }
    k += n, chars++;
  }
  return k < text.size() ? out + "…" : out;
}

std::string settingsText(const Settings &s) {
  Settings copy = s;
  std::string out = "# Tresolva settings: every key may be left out (it then keeps its\n"
                    "# start-up value).\n";
  std::string current;
  for (const Setting &f : settingsTable(copy)) {
    if (table(f.key) != current) {
      current = table(f.key);
      out += "\n[" + current + "]\n";
    }
    out += "# " + f.comment + "\n" + leaf(f.key) + " = " + valueText(f) + "\n";
  }
  return out;
}

// ======== A link ====================================================================
KeyValues linkSettings(const Settings &s, const Settings &base) {
  Settings mine = s, theirs = base;
  std::vector<Setting> a = settingsTable(mine), b = settingsTable(theirs);
  KeyValues out;
  for (size_t k = 0; k < a.size(); k++) {
    std::string v = valueText(a[k]);
    if (v == valueText(b[k])) continue;
    if (!a[k].choices.empty()) v = v.substr(1, v.size() - 2);
    out.push_back({a[k].key, v});
  }
  return out;
}

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// As a form encodes it: '+' a blank, %XX a byte; a '%' without two hex
// digits stands for itself.
std::string unescaped(const std::string &s) {
  std::string out;
  for (size_t k = 0; k < s.size(); k++) {
    int hi = k + 2 < s.size() && s[k] == '%' ? hexDigit(s[k + 1]) : -1;
    int lo = hi >= 0 ? hexDigit(s[k + 2]) : -1;
    if (lo >= 0) out += (char)(hi * 16 + lo), k += 2;
    else out += s[k] == '+' ? ' ' : s[k];
  }
  return out;
}

// What a link's key or value holds that a settings file would refuse, or "".
std::string unreadable(const std::string &key, const std::string &text) {
  for (const std::string *t : {&key, &text}) {
    if (t->find('\0') != std::string::npos) return "holds a NUL byte";
    if (!isUtf8(*t)) return "is not UTF-8 text";
  }
  return "";
}

// Why a link's text cannot be the value of f, or "" once f has taken it,
// as the file's value of the same kind would be.
std::string takeText(const Setting &f, const std::string &text) {
  if (!f.choices.empty()) return take(f, toml::value<std::string>(text));
  if (!f.i) {
    char *end;
    double d = std::strtod(text.c_str(), &end);
    return end == text.c_str() || *end ? "\"" + forMessage(text) + "\" is not a number"
                                       : take(f, toml::value<double>(d));
  }
  return text == "true" || text == "false" ? take(f, toml::value<bool>(text == "true"))
                                           : "is not true or false";
}

} // namespace

KeyValues linkPairs(const std::string &query) {
  KeyValues out;
  for (size_t at = 0; at <= query.size();) {
    size_t end = std::min(query.find('&', at), query.size());
    std::string pair = query.substr(at, end - at);
    size_t eq = std::min(pair.find('='), pair.size());
    if (!pair.empty())
      out.push_back(
          {unescaped(pair.substr(0, eq)), eq < pair.size() ? unescaped(pair.substr(eq + 1)) : ""});
    at = end + 1;
  }
  return out;
}

void readLink(const KeyValues &link, Settings &s, std::vector<std::string> &refused) {
  std::vector<Setting> known = settingsTable(s);
  for (const auto &pair : link) {
    const std::string &key = pair.first, &text = pair.second;
    auto f =
        std::find_if(known.begin(), known.end(), [&](const Setting &c) { return c.key == key; });
    std::string why = unreadable(key, text);
    if (why.empty()) why = f == known.end() ? "unknown key" : takeText(*f, text);
    if (why.empty()) continue;
    refused.push_back(forMessage(key) + ": " + why);
  }
}

namespace {

// The parse's refusal as a settings file's refusals read: the name, the line, what is wrong.
std::string parseError(const toml::parse_error &e, const std::string &path) {
  auto line = e.source().begin.line;
  return line ? path + ":" + std::to_string(line) + ": " + std::string(e.description())
              : "cannot read " + path + ": " + std::string(e.description());
}

// A parsed file's settings over s.
bool takeSettings(const toml::table &doc, const std::string &path, Settings &s,
                  std::string &error) {
  Settings read = s;
  std::vector<Setting> known = settingsTable(read);
  bool ok = true;
  auto refuse = [&](const toml::node &n, const std::string &key, const std::string &why) {
    error =
        path + ":" + std::to_string(n.source().begin.line) + ": " + forMessage(key) + ": " + why;
    ok = false;
  };
  auto isTable = [&](const std::string &name) {
    return std::any_of(known.begin(), known.end(),
                       [&](const Setting &k) { return table(k.key) == name; });
  };
  auto visit = [&](const toml::table &t, const std::string &prefix, auto &self) -> void {
    for (const auto &[k, node] : t) {
      if (!ok) return;
      std::string key = prefix + std::string(k.str());
      if (prefix.empty() && node.is_table() && isTable(key)) {
        self(*node.as_table(), key + ".", self);
        continue;
      }
      auto f =
          std::find_if(known.begin(), known.end(), [&](const Setting &c) { return c.key == key; });
      std::string why = f == known.end() ? "unknown key" : take(*f, node);
      if (!why.empty()) refuse(node, key, why);
    }
  };
  visit(doc, "", visit);
  if (ok) s = read;
  return ok;
}

} // namespace

bool readSettings(const std::string &path, Settings &s, std::string &error) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    error = path + ": not a settings file but a " +
            (S_ISDIR(st.st_mode)    ? "folder"
             : S_ISFIFO(st.st_mode) ? "FIFO"
                                    : "device");
    return false;
  }
  try {
    return takeSettings(toml::parse_file(path), path, s, error);
  } catch (const toml::parse_error &e) {
    error = parseError(e, path);
    return false;
  }
}

bool readSettingsText(const std::string &text, const std::string &name, Settings &s,
                      std::string &error) {
  try {
    return takeSettings(toml::parse(text, name), name, s, error);
  } catch (const toml::parse_error &e) {
    error = parseError(e, name);
    return false;
  }
}
