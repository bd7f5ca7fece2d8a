// What the batch program hands the user: files written whole or not at
// all (state/files.h), refusals (one line on standard error each), progress where a person
// watches, and an end by a signal that leaves no partial file.
#pragma once

#include <functional>
#include <string>

#include "sim/core.h"
#include "state/files.h"

// "tresolva-batch: why" on standard error; returns status.
int refuse(const std::string &why, int status);
// Four significant digits: enough to say what went wrong, and where.
std::string roughly(double v);
// Why time at dt is more steps than a run counts (most): what names the options.
std::string tooManySteps(double time, float dt, const char *what, double most);
// Why a run that left the finite numbers at time t gives no result.
std::string divergedAt(double t);
// "WIDTHxHEIGHT", each 1 to most; otherwise error says so.
bool readSize(const std::string &text, int most, int &width, int &height, std::string &error);
// Standard output flushed: status if all of it went out, else 1 and a
// line saying why (a full disk, a closed pipe).
int flushedOut(int status);

// SIGINT, SIGTERM and SIGHUP only mark the run as interrupted; long loops
// ask interrupted() and stop, their outputs are abandoned, and then
// endInterrupted() ends the program as the signal would have.
void watchInterrupts();
bool interrupted();
// The same as a replay asks it.
Cut untilSignal();
[[noreturn]] void endInterrupted();

// "\rWHAT K of N, about S s left" on standard error when it is a terminal,
// at most every half second, and a new line at the end; nothing otherwise,
// nor for a null what.
struct Progress {
  const char *what;
  long total;
  double started = -1, shown = -1;
};
void showProgress(Progress &p, long done);

// each(first, end) for blocks of block items, the blocks on every core, a
// round of them at a time, with progress in items between rounds; stop,
// asked between rounds, ends it after the round under way.
void inBlocks(size_t count, size_t block, const char *what,
              const std::function<void(size_t, size_t)> &each, Cut stop);
