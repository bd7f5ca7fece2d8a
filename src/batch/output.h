// What the batch program hands the user: files written whole or not at
// all, refusals (one line on standard error each), progress where a person
// watches, and an end by a signal that leaves no partial file.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// A file being written beside its name, renamed into place once whole.
// "-" is standard output, and a device or a pipe is written as it is.
struct Output {
  std::string path, part;
  FILE *f = nullptr;
  bool special = false;
  int err = 0; // the first failure's errno
};
bool openOutput(Output &o, const std::string &path, std::string &error);
void writeOutput(Output &o, const std::string &text);
// Closes it; keeps it only if keep and every write went through, else
// removes what was written beside. error says why it was not kept.
bool finishOutput(Output &o, bool keep, std::string &error);

// Writes text to path whole: a failure (an unwritable folder, a full disk)
// leaves no file behind and says why in error.
bool writeWhole(const std::string &path, const std::string &text, std::string &error);
// What follows the last dot of the file's name, "" when there is none.
std::string extensionOf(const std::string &path);

// Several files (path, text), all of them or none.
bool writeAll(const std::vector<std::pair<std::string, std::string>> &files, std::string &error);

// "tresolva-batch: why" on standard error; returns status.
int refuse(const std::string &why, int status);

// SIGINT, SIGTERM and SIGHUP only mark the run as interrupted; long loops
// ask interrupted() and stop, their outputs are abandoned, and then
// endInterrupted() ends the program as the signal would have.
void watchInterrupts();
bool interrupted();
[[noreturn]] void endInterrupted();

// "\rWHAT K of N, about S s left" on standard error when it is a terminal,
// at most every half second, and a new line at the end; nothing otherwise.
struct Progress {
  const char *what;
  long total;
  double started = -1, shown = -1;
};
void showProgress(Progress &p, long done);

// each(k) for k from 0 to count - 1 on every core, a round of size at a
// time, with progress between rounds; an interruption ends it after the
// round under way.
void inRounds(size_t count, size_t size, const char *what, const std::function<void(size_t)> &each);
