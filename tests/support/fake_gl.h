// A stand-in for the GL and GLUT entry points the program calls: each call
// is recorded with its arguments, so tests can read back what a frame sent.
#pragma once

#include <vector>

struct GlCall {
  const char *fn;
  double a[6];
};

extern std::vector<GlCall> glCalls;

void clearGl();
// The calls named fn, in order.
std::vector<GlCall> callsOf(const char *fn);
