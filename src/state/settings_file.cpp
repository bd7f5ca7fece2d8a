// The settings file: its text from a record, a record from its text with
// every refusal naming the file, the line and the key; a value's text; the
// shortest text of a number; text from outside made fit for a message.
#include "state/settings_file.h"

#include <sys/stat.h>

#include <toml++/toml.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

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

// Why node cannot be the value of r in s, or "" once r has taken it;
// floats are checked against the panel's limits as the panel would hold them.
std::string take(const Setting &r, const toml::node &node, Settings &s) {
  if (r.kind == Kind::FLOAT || r.kind == Kind::DOUBLE) {
    std::optional<double> v = node.value<double>();
    if (!v || node.is_boolean()) return named(node) + " is not a number";
    bool inside = r.kind == Kind::FLOAT ? (float)*v >= (float)r.lo && (float)*v <= (float)r.hi
                                        : *v >= r.lo && *v <= r.hi;
    if (!std::isfinite(*v)) return shortest(*v) + " is not a finite number";
    if (!inside)
      return shortest(*v) + " is outside " + shortest((float)r.lo) + " to " + shortest((float)r.hi);
    if (r.kind == Kind::FLOAT) r.in<float>(s) = (float)*v;
    else r.in<double>(s) = *v;
    return "";
  }
  if (r.kind == Kind::SWITCH) {
    std::optional<bool> b = node.value_exact<bool>();
    if (!b) return "is not true or false";
    r.in<int>(s) = *b ? 1 : 0;
    return "";
  }
  std::optional<std::string> name = node.value_exact<std::string>();
  if (!name) return "is not a name in quotes";
  auto c = std::find_if(r.choices.begin(), r.choices.end(),
                        [&](const auto &choice) { return sameLetters(choice.name, *name); });
  if (c != r.choices.end()) {
    r.in<int>(s) = c->value;
    return "";
  }
  // Named in the order of their values, whatever order the panel lists them in.
  std::vector<Setting::Choice> byValue = r.choices;
  std::sort(byValue.begin(), byValue.end(),
            [](const auto &a, const auto &b) { return a.value < b.value; });
  std::string known;
  for (const auto &k : byValue) known += (known.empty() ? "\"" : ", \"") + k.name + "\"";
  return "\"" + forMessage(*name) + "\" is not one of " + known;
}

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
  const std::vector<Setting> &known = settingsTable();
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
      const Setting *r = findSetting(key);
      std::string why = r ? take(*r, node, read) : "unknown key";
      if (!why.empty()) refuse(node, key, why);
    }
  };
  visit(doc, "", visit);
  if (ok) s = read;
  return ok;
}

} // namespace

// ======== Values ====================================================================
std::string valueText(const Setting &r, const Settings &s) {
  if (r.kind == Kind::FLOAT || r.kind == Kind::DOUBLE) { // a float in the file, never an integer
    std::string t = r.kind == Kind::FLOAT ? shortest(r.in<float>(s)) : shortest(r.in<double>(s));
    return t.find_first_of(".en") == std::string::npos ? t + ".0" : t;
  }
  const int v = r.in<int>(s);
  if (r.kind == Kind::SWITCH) return v ? "true" : "false";
  auto c = std::find_if(r.choices.begin(), r.choices.end(),
                        [&](const auto &choice) { return choice.value == v; });
  return "\"" + (c == r.choices.end() ? std::string() : c->name) + "\"";
}

std::string takeText(const Setting &r, const std::string &text, Settings &s) {
  if (r.kind == Kind::CHOICE) return take(r, toml::value<std::string>(text), s);
  if (r.kind != Kind::SWITCH) {
    char *end;
    double d = std::strtod(text.c_str(), &end);
    return end == text.c_str() || *end ? "\"" + forMessage(text) + "\" is not a number"
                                       : take(r, toml::value<double>(d), s);
  }
  return text == "true" || text == "false" ? take(r, toml::value<bool>(text == "true"), s)
                                           : "is not true or false";
}

SettingValue valueOf(const Setting &r, const Settings &s) {
  if (r.kind == Kind::FLOAT) return std::strtod(shortest(r.in<float>(s)).c_str(), nullptr);
  if (r.kind == Kind::DOUBLE) return r.in<double>(s);
  if (r.kind == Kind::SWITCH) return r.in<int>(s) != 0;
  const std::string quoted = valueText(r, s);
  return quoted.substr(1, quoted.size() - 2);
}

std::string takeValue(const Setting &r, const SettingValue &v, Settings &s) {
  return std::visit([&](const auto &x) { return take(r, toml::value(x), s); }, v);
}

// ======== The file ==================================================================
std::string settingsText(const Settings &s) {
  std::string out = "# Tresolva settings: every key may be left out (it then keeps its\n"
                    "# start-up value).\n";
  std::string current;
  for (const Setting &r : settingsTable()) {
    if (table(r.key) != current) {
      current = table(r.key);
      out += "\n[" + current + "]\n";
    }
    out += "# " + r.comment + "\n" + leaf(r.key) + " = " + valueText(r, s) + "\n";
  }
  return out;
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

// A file that is no regular file is named as what it is; the rest is read
// whole and taken as text.
bool readSettings(const std::string &path, Settings &s, std::string &error) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    error = path + ": not a settings file but a " +
            (S_ISDIR(st.st_mode)    ? "folder"
             : S_ISFIFO(st.st_mode) ? "FIFO"
                                    : "device");
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  std::string text(std::istreambuf_iterator<char>(file), {});
  if (!file.is_open() || file.bad()) {
    error = "cannot read " + path + ": File could not be opened for reading";
    return false;
  }
  return readSettingsText(text, path, s, error);
}

// ======== Numbers ===================================================================
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
