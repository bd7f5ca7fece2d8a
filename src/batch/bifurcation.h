// The maxima of x as one parameter sweeps a range: the same maxima the
// maximum map plots, after a transient, for each value of the sweep.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "sim/core.h"

// The system's parameter param swept (the others as the system has them).
struct Sweep : System {
  int param;                           // which one sweeps, in panel order
  double from, to;                     // its range, ends included
  int values;                          // how many values, evenly spaced
  double transient = 500, time = 1000; // time units: the run, of which the transient is skipped
  int shard = 1, shards = 1;           // only the values k with k % shards == shard - 1
  bool lanes = true;                   // many values per instruction (else one at a time)
};

// The k-th value, as the viewer's spinner would hold it.
float sweepValue(const Sweep &s, int k);
// The accepted maxima of |x| (each the x at a step's start) for value k,
// in time order; finite, when given, says whether the run stayed finite.
std::vector<double> sweepMaxima(const Sweep &s, int k, bool *finite = nullptr);
struct SweepPoint {
  float value;                // of the parameter
  std::vector<double> maxima; // in time order; none for a run that left the finite numbers
  double leftAt = NAN;        // the time it left them; NaN if it never did
};
// The shard's values in increasing order with their maxima, computed on
// every core; the same whatever the number of threads.
std::vector<SweepPoint> sweepAll(const Sweep &s);
// "parameter,maximum" rows; the first shard has the header row.
std::string sweepCsv(const Sweep &s, const std::vector<SweepPoint> &points);
