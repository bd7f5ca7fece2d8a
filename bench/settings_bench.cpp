// Settings benchmark: lookups of a row by its key a second, as the wheel,
// the z gesture, the space bar and the page's hooks make them, and
// settings files read a second from their text. Medians of five rounds.
//   settings_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "state/settings_file.h"

namespace {

// Calls of f a second, the median of five rounds of n calls.
template <typename F> double perSecond(long n, F f) {
  std::vector<double> rates;
  for (int round = 0; round < 5; round++) {
    auto began = std::chrono::steady_clock::now();
    for (long k = 0; k < n; k++) f(k);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
    rates.push_back((double)n / took.count());
  }
  std::sort(rates.begin(), rates.end());
  return rates[2];
}

} // namespace

int main() {
  Settings s = startUpSettings();
  const char *keys[] = {"zoom", "lorenz.ro", "roessler.c", "view.pan_y"};
  volatile double kept = 0; // the lookups' results are used, so they stay
  const double lookups =
      perSecond(200000, [&](long k) { kept = kept + settingRow(keys[k % 4]).lo; });
  const std::string text = settingsText(s);
  const double files = perSecond(2000, [&](long) {
    Settings read = startUpSettings();
    std::string error;
    kept = kept + readSettingsText(text, "bench.toml", read, error);
  });
  std::printf("%-40s %14.0f\n", "settingRow lookups a second", lookups);
  std::printf("%-40s %14.0f\n", "settings files read a second", files);
  return 0;
}
