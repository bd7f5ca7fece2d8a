// What the batch program prints of Lyapunov exponents: each with the digits
// its error supports, a run's or runs' lines, and the JSON of every number.
#include "batch/report.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "state/settings_file.h"

std::string withError(double v, double e) {
  if (!(e > 0) || !std::isfinite(e)) return shortest(v) + " +- 0";
  const int decimals = std::max(0, 1 - (int)std::floor(std::log10(e)));
  char vs[64], es[64];
  std::snprintf(vs, sizeof vs, "%.*f", decimals, v);
  std::snprintf(es, sizeof es, "%.*f", decimals, e);
  std::string shown = vs;
  if (shown[0] == '-' && shown.find_first_not_of("-0.") == std::string::npos) shown.erase(0, 1);
  return shown + " +- " + es;
}

std::string exponentLines(const Exponents &e) {
  std::string out, zeros;
  for (int c = 0; c < e.count; c++) {
    std::string name = "lambda" + std::to_string(c + 1);
    out += name + " = " + withError(e.value[c], e.error[c]);
    out += e.zero[c] ? " (zero within two standard errors)\n" : "\n";
    if (e.zero[c]) zeros += (zeros.empty() ? "" : " and ") + name;
  }
  if (e.fixedPoint)
    out = "the run stands on the fixed point (" + shortest(e.point[0]) + ", " +
          shortest(e.point[1]) + ", " + shortest(e.point[2]) +
          "): these are the point's exponents, not an attractor's\n" + out;
  if (e.count < 3) return out;
  out += "sum = " + withError(e.sum, e.sumError) + "\n";
  if (e.fixedPoint) return out; // a point has no attractor's dimension
  out += "kaplan_yorke = " + withError(e.dimension, e.dimensionError);
  return out + (zeros.empty() ? "\n" : " (" + zeros + " taken as zero)\n");
}

std::string linesOf(const std::vector<Exponents> &runs, const Exponents &mean) {
  if (runs.size() == 1) return exponentLines(mean);
  std::string out;
  for (size_t k = 0; k < runs.size(); k++)
    out += "run " + std::to_string(k + 1) + ":\n" + exponentLines(runs[k]);
  return out + "mean of " + std::to_string(runs.size()) + " runs:\n" + exponentLines(mean);
}

nlohmann::json jsonOf(const Exponents &e) {
  nlohmann::json j;
  for (int c = 0; c < e.count; c++)
    j["exponents"].push_back({{"value", e.value[c]}, {"error", e.error[c]}, {"zero", e.zero[c]}});
  if (e.fixedPoint) j["fixed_point"] = e.point;
  if (e.count < 3) return j;
  j["sum"] = {{"value", e.sum}, {"error", e.sumError}};
  j["divergence"] = e.divergence;
  if (!e.warning.empty()) j["warning"] = e.warning;
  if (!e.fixedPoint) j["kaplan_yorke"] = {{"value", e.dimension}, {"error", e.dimensionError}};
  return j;
}

nlohmann::json jsonReport(const Settings &s, const LyapunovRun &r,
                          const std::vector<Exponents> &runs, const Exponents &mean) {
  nlohmann::json j = jsonOf(mean);
  j["version"] = TRESOLVA_VERSION;
  j["method"] = r.spectrum ? "spectrum" : "twin";
  j["options"] = {{"transient", r.transient},
                  {"time", r.time},
                  {"tau", r.tau},
                  {"d0", r.d0},
                  {"blocks", r.blocks},
                  {"repeat", (int)runs.size()}};
  j["settings"] = settingsText(s);
  for (size_t k = 0; runs.size() > 1 && k < runs.size(); k++) j["runs"].push_back(jsonOf(runs[k]));
  return j;
}

std::string jsonText(const Settings &s, const LyapunovRun &r, const std::vector<Exponents> &runs,
                     const Exponents &mean) {
  return jsonReport(s, r, runs, mean).dump(2) + "\n";
}
