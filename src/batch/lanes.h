// The sweeps at the machine's full width: one vector instruction steps as
// many parameter values as the instruction set has double lanes, through
// the same field templates and in the same operation order as the scalar
// core, so that every lane gives the scalar path's bits. The widest
// instruction set the CPU has is chosen at run time.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "batch/lyapunov.h"
#include "batch/sweep.h"

// The instruction sets this machine runs the lanes on, widest first, by
// name ("AVX3" is AVX-512, "EMU128" plain scalar code in 128-bit lanes).
std::vector<std::string> laneTargets();
// Runs the lanes on the named one from now on ("" for the widest); false,
// changing nothing, for a name not in laneTargets().
bool chooseLaneTarget(const std::string &name);
// --simd: on, off or an instruction set (then chosen); "" once taken,
// else why not.
std::string takeSimd(const std::string &simd);
// The instruction set the lanes run on, and how many doubles it holds.
std::string laneTarget();
int laneCount();

// How many of count values one core takes at a time in lanes: enough to
// keep its lanes full as values finish, few enough that the cores share
// the blocks out evenly.
size_t laneBlock(size_t count);
// each(first, end) for the count items on every core, in rounds with
// progress until stop: blocks of laneBlock(count) items in lanes, or one
// at a time.
void onEveryCore(size_t count, bool lanes, const char *what,
                 const std::function<void(size_t, size_t)> &each, Cut stop);

// The maxima of the sweep's values ks, each exactly as sweepMaxima(s, k)
// gives them, the values taking lanes as lanes finish.
// finite[j] says whether value ks[j]'s run stayed finite.
std::vector<std::vector<double>> sweepMaximaLanes(const Sweep &s, const std::vector<int> &ks,
                                                  std::vector<char> &finite);

// The exponents of each run, exactly as lyapunov(run) gives them: the
// largest by the renormalised twin, or all three by the tangent dynamics
// (the QR of each lane's vectors scalar, when that lane's QR falls due).
// The runs differ only in their parameters and start; a run that ends
// early gives its lane to the next.
std::vector<Exponents> lyapunovLanes(const std::vector<LyapunovRun> &runs);
