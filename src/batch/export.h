// The numbers behind the picture: the replayed trajectory and the maximum
// map's points as CSV.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "batch/output.h"
#include "sim/core.h"
#include "state/settings.h"

// Why s draws no frame: an empty time window; "" when it draws one.
std::string windowRefusal(const Settings &s);

// The rows of the frame Static playback shows for s, one per drawn step:
// t, x, y, z, and with the twin x2, y2, z2, ln_d (count 8), n the step's
// index, last on the final one. A run that leaves the finite numbers
// gives no row from there on, and returns false with why; cut ends it
// early.
using RowSink = std::function<void(const double *row, int count, long n, bool last)>;
bool trajectoryRows(const Settings &s, const RowSink &each, Cut cut, std::string &why);
// How many rows that is, at most.
long trajectorySteps(const Settings &s);

// The same rows, written out as they
// come: one per drawn step, "t,x,y,z" and with the twin ",x2,y2,z2,ln_d",
// after a header row; every number in its shortest round-trip form. An
// interruption ends it early. A run that leaves the finite numbers writes
// no row from there on, and returns false with why.
bool writeTrajectory(const Settings &s, Output &out, std::string &why);

// The maximum map's points of the same frame, in the model's units, as
// the viewer plots them from its second frame on: each accepted maximum
// against the one before it. A run that leaves the finite numbers sets
// why, when given.
struct MapPair {
  double previous, maximum;
};
std::vector<MapPair> maximaPairs(const Settings &s, Cut cut, std::string *why = nullptr);
// The same as CSV, "previous,maximum".
std::string maximaCsv(const Settings &s, std::string *why = nullptr);
