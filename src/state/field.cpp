// The rules of a number's field and arrows on a panel: typed text, a
// click and a drag on the arrows, and the text the field shows.
#include "state/field.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

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
