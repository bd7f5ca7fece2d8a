// A link's settings: the pairs a page's address carries for the settings
// that differ from a base, and such pairs read back as a file's values.
#include "state/link.h"

#include <algorithm>

#include "state/settings_file.h"

KeyValues linkSettings(const Settings &s, const Settings &base) {
  KeyValues out;
  for (const Setting &r : settingsTable()) {
    std::string v = valueText(r, s);
    if (v == valueText(r, base)) continue;
    if (r.kind == Kind::CHOICE) v = v.substr(1, v.size() - 2);
    out.push_back({r.key, v});
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
  for (const auto &pair : link) {
    const std::string &key = pair.first, &text = pair.second;
    const Setting *r = findSetting(key);
    std::string why = unreadable(key, text);
    if (why.empty()) why = r ? takeText(*r, text, s) : "unknown key";
    if (why.empty()) continue;
    refused.push_back(forMessage(key) + ": " + why);
  }
}
