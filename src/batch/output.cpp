// What the batch program hands the user: files written whole or not at
// all, refusals (one line on standard error each), progress where a person
// watches, and an end by a signal that leaves no partial file.
#include "batch/output.h"

#include <tbb/parallel_for.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>

namespace {

// The one process-wide value: a handler may only set a flag.
volatile std::sig_atomic_t caught = 0;

void onSignal(int sig) {
  caught = sig;
}

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

// ======== Files ====================================================================
bool openOutput(Output &o, const std::string &path, std::string &error) {
  struct stat st;
  o = Output{};
  o.path = path;
  o.special = path == "-" || (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode));
  o.part = o.special ? path : path + ".part";
  o.f = path == "-" ? stdout : std::fopen(o.part.c_str(), "wb");
  if (o.f) return true;
  error = "cannot write " + path + ": " + std::strerror(errno);
  return false;
}

void writeOutput(Output &o, const std::string &text) {
  if (o.err == 0 && std::fwrite(text.data(), 1, text.size(), o.f) != text.size()) o.err = errno;
}

bool finishOutput(Output &o, bool keep, std::string &error) {
  if (o.err == 0 && std::fflush(o.f) != 0) o.err = errno;
  if (o.f != stdout && std::fclose(o.f) != 0 && o.err == 0) o.err = errno;
  o.f = nullptr;
  bool kept = keep && o.err == 0;
  if (kept && !o.special && std::rename(o.part.c_str(), o.path.c_str()) != 0) o.err = errno;
  kept = kept && o.err == 0;
  if (!kept && !o.special) std::remove(o.part.c_str());
  if (o.err != 0) error = "cannot write " + o.path + ": " + std::strerror(o.err);
  return kept;
}

std::string extensionOf(const std::string &path) {
  size_t dot = path.rfind('.');
  return dot == std::string::npos || path.find('/', dot) != std::string::npos
             ? ""
             : path.substr(dot + 1);
}

bool writeWhole(const std::string &path, const std::string &text, std::string &error) {
  return writeAll({{path, text}}, error);
}

// Every file is written beside its name before any is renamed into place.
bool writeAll(const std::vector<std::pair<std::string, std::string>> &files, std::string &error) {
  std::vector<Output> outs(files.size());
  bool ok = true;
  for (size_t k = 0; k < files.size() && ok; k++) {
    ok = openOutput(outs[k], files[k].first, error);
    if (!ok) break;
    writeOutput(outs[k], files[k].second);
    if (outs[k].err == 0 && std::fflush(outs[k].f) != 0) outs[k].err = errno;
    ok = outs[k].err == 0;
  }
  for (Output &o : outs)
    if (o.f) ok = finishOutput(o, ok, error) && ok;
  return ok;
}

int refuse(const std::string &why, int status) {
  std::fprintf(stderr, "tresolva-batch: %s\n", why.c_str());
  return status;
}

// ======== Signals ==================================================================
void watchInterrupts() {
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sa.sa_flags = SA_RESTART; // a write under way completes; the loop then stops
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
}

bool interrupted() {
  return caught != 0;
}

// The signal's own default action ends the program, so that whoever
// started it sees the signal; the exit only stands in should it not.
void endInterrupted() {
  const int sig = caught;
  std::signal(sig, SIG_DFL);
  std::raise(sig);
  // cppcheck-suppress unreachableCode
  std::_Exit(128 + sig);
}

// ======== Progress =================================================================
void showProgress(Progress &p, long done) {
  static const bool watched = isatty(2);
  if (!watched) return;
  double t = now();
  if (p.started < 0) p.started = t;
  if (done < p.total && t - p.shown < 0.5) return;
  p.shown = t;
  double left = done > 0 ? (t - p.started) * (double)(p.total - done) / (double)done : 0;
  std::fprintf(stderr, "\r%s %ld of %ld, about %.0f s left   ", p.what, done, p.total, left);
  if (done >= p.total) std::fputc('\n', stderr);
}

void inRounds(size_t count, size_t size, const char *what,
              const std::function<void(size_t)> &each) {
  Progress progress{what, (long)count};
  for (size_t first = 0; first < count && !interrupted(); first += size) {
    const size_t end = std::min(first + size, count);
    tbb::parallel_for(first, end, [&](size_t k) { each(k); });
    showProgress(progress, (long)end);
  }
}
