// A sweep along one parameter, shared by the bifurcation diagram and the
// exponents' sweep: its values, the shard of them a run takes, the loop
// that computes them on every core, and the rows each value gives.
#pragma once

#include <functional>
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

// What one value of a sweep gives: its rows (the fields after the
// parameter; NaN, an empty field), or why it gives none; a warning to count.
struct SweepValue {
  float value;
  std::vector<std::vector<double>> rows;
  std::string problem, warning;
};

// The shard's values in increasing order, each computed into its own place
// by valuesOf(ks, out), which fills out[j] for the values ks[j]: in lanes a
// block of values a call on each core, else one; a round at a time with
// progress, until an interruption. The same whatever the number of threads.
using ValuesOf = std::function<void(const std::vector<int> &ks, SweepValue *out)>;
std::vector<SweepValue> sweepValues(const Sweep &s, const ValuesOf &valuesOf);

// Says on standard error why each value that gives no rows gives none.
void sayProblems(const Sweep &s, const std::vector<SweepValue> &values);

// The CSV of the rows, "parameter,..." each, after the header row on the
// first shard only, so that the shards' files merge into the whole.
std::string sweepCsv(const Sweep &s, const std::string &header,
                     const std::vector<SweepValue> &values);

// The rows' parameter and their fields columns, as series for a figure.
void seriesOf(const std::vector<SweepValue> &values, const std::vector<int> &columns,
              std::vector<double> &x, std::vector<std::vector<double>> &ys);
