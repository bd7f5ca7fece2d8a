// A stand-in for the GL and GLUT entry points the program calls: each call
// is recorded with its arguments, so tests can read back what a frame sent.
#pragma once

#include <algorithm>
#include <cstring>
#include <vector>

struct GlCall {
  const char *fn;
  double a[6];
};
inline bool operator==(const GlCall &x, const GlCall &y) {
  return std::strcmp(x.fn, y.fn) == 0 && std::equal(x.a, x.a + 6, y.a);
}

extern std::vector<GlCall> glCalls;

void clearGl();
// The calls named fn, in order.
std::vector<GlCall> callsOf(const char *fn);
