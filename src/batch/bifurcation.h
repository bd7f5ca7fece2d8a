// The maxima of x as one parameter sweeps a range: the same maxima the
// maximum map plots, after a transient, for each value of the sweep.
#pragma once

#include <vector>

#include "batch/sweep.h"

// The accepted maxima of |x| (each the x at a step's start) for value k,
// in time order; finite, when given, says whether the run stayed finite.
std::vector<double> sweepMaxima(const Sweep &s, int k, bool *finite = nullptr);

// The shard's values with a row "maximum" for each of their maxima; a
// value whose run left the finite numbers has none, and says when it left.
std::vector<SweepValue> maximaSweep(const Sweep &s);
