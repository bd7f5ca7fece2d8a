// The numbers behind the picture: the replayed trajectory and the maximum
// map's points as CSV.
#pragma once

#include <string>

#include "batch/output.h"
#include "sim/core.h"
#include "state/settings.h"

// The rows of the frame Static playback shows for s, written out as they
// come: one per drawn step, "t,x,y,z" and with the twin ",x2,y2,z2,ln_d",
// after a header row; every number in its shortest round-trip form. An
// interruption ends it early. A run that leaves the finite numbers writes
// no row from there on, and returns false with why.
bool writeTrajectory(const Settings &s, Output &out, std::string &why);

// The maximum map's points of the same frame, "previous,maximum", in the
// model's units, as the viewer plots them from its second frame on: each
// accepted maximum against the one before it. A run that leaves the
// finite numbers sets why, when given.
std::string maximaCsv(const Settings &s, std::string *why = nullptr);
