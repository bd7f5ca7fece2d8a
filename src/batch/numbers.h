// The subcommands behind the numbers: lyapunov and bifurcation, their
// options, their refusals, and the bifurcation diagram's picture.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "state/settings.h"

struct NumberOptions {
  // lyapunov
  double time = 10000, transient = 100, tau = 1, d0 = 1e-8;
  int blocks = 10, repeat = 1, lyapunovValues = 100;
  bool spectrum = false, json = false;
  std::string trace;
  std::string unswept; // an option of the sweep given without --sweep
  // bifurcation
  std::string param, shard = "1/1", out, png, svg, pdf, size = "1200x800";
  bool dark = false;
  double from = 0, to = 0;
  double sweepTransient = 500, sweepTime = 1000;
  int values = 2000;
  // both
  int threads = 0;         // 0: every core
  std::string simd = "on"; // on: the widest lanes the CPU has; off: one value at a time; or a set
};

// A file's name, which may not be empty: an empty one names no file.
CLI::Validator fileName();

void addLyapunovOptions(CLI::App *c, NumberOptions &o);
void addBifurcationOptions(CLI::App *c, NumberOptions &o);

// Each returns the program's status; a refusal or failure prints one line.
int lyapunovCommand(const Settings &s, const NumberOptions &o);
int bifurcationCommand(const Settings &s, const NumberOptions &o);
