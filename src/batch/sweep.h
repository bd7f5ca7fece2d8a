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
  int param = 0;                       // which one sweeps, in panel order
  double from = 0, to = 0;             // its range, ends included
  int values = 0;                      // how many values, evenly spaced unless given
  double transient = 500, time = 1000; // time units: the run, of which the transient is skipped
  int shard = 1, shards = 1;           // only the values k with k % shards == shard - 1
  bool lanes = true;                   // many values per instruction (else one at a time)
  Cut stop{};                          // asked between runs of steps and rounds of values
  std::vector<float> given{};          // the values themselves, where given (from, to unread)
};

// The k-th value, as the viewer's spinner would hold it.
float sweepValue(const Sweep &s, int k);

// Why name is no parameter of the system's attractor, or "" once s.param
// holds its place; option names the parameter in the message.
std::string paramRefusal(Sweep &s, const std::string &name, const char *option);
// Why a bifurcation sweep's transient and time cannot run at its dt.
std::string timeRefusal(const Sweep &s);

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

// Why each value that gives no rows gives none, a line each, in order.
std::vector<std::string> problemLines(const Sweep &s, const std::vector<SweepValue> &values);

// The CSV of the rows, "parameter,..." each, after the header row on the
// first shard only, so that the shards' files merge into the whole.
std::string sweepCsv(const Sweep &s, const std::string &header,
                     const std::vector<SweepValue> &values);

// The rows' parameter and their fields columns, as series for a figure.
void seriesOf(const std::vector<SweepValue> &values, const std::vector<int> &columns,
              std::vector<double> &x, std::vector<std::vector<double>> &ys);
