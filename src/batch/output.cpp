// What the batch program hands the user: files written whole or not at
// all, refusals (one line on standard error each), progress where a person
// watches, and an end by a signal that leaves no partial file.
#include "batch/output.h"
#include "state/settings_file.h"

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

int refuse(const std::string &why, int status) {
  std::fprintf(stderr, "tresolva-batch: %s\n", why.c_str());
  return status;
}

std::string roughly(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

std::string tooManySteps(double time, float dt, const char *what, double most) {
  char steps[96];
  std::snprintf(steps, sizeof steps, " is %.3g steps, more than the %.3g a run can count",
                time / dt, most);
  return what + std::string(" at dt ") + shortest(dt) + steps + ": use a shorter --time";
}

std::string divergedAt(double t) {
  return "the run diverged at t = " + roughly(t) +
         " (the state is no longer finite): use a smaller dt";
}

bool readSize(const std::string &text, int most, int &width, int &height, std::string &error) {
  char x = 0, rest = 0;
  if (std::sscanf(text.c_str(), "%d%c%d%c", &width, &x, &height, &rest) == 3 && x == 'x' &&
      width >= 1 && height >= 1 && width <= most && height <= most)
    return true;
  error = "--size " + text + ": expected WIDTHxHEIGHT, each 1 to " + std::to_string(most);
  return false;
}

int flushedOut(int status) {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
  return refuse(std::string("cannot write standard output: ") + std::strerror(errno), 1);
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

Cut untilSignal() {
  return {[](void *) { return interrupted(); }, nullptr};
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
  if (!watched || !p.what) return;
  double t = now();
  if (p.started < 0) p.started = t;
  if (done < p.total && t - p.shown < 0.5) return;
  p.shown = t;
  double left = done > 0 ? (t - p.started) * (double)(p.total - done) / (double)done : 0;
  std::fprintf(stderr, "\r%s %ld of %ld, about %.0f s left   ", p.what, done, p.total, left);
  if (done >= p.total) std::fputc('\n', stderr);
}

// Rounds of 64 blocks: enough to keep the cores busy as blocks finish,
// few enough that progress and an interruption are seen soon.
void inBlocks(size_t count, size_t block, const char *what,
              const std::function<void(size_t, size_t)> &each, Cut stop) {
  Progress progress{what, (long)count};
  const size_t round = 64 * block;
  for (size_t first = 0; first < count && !stop(); first += round) {
    const size_t end = std::min(first + round, count);
    tbb::parallel_for(first, end, block, [&](size_t a) { each(a, std::min(a + block, end)); });
    showProgress(progress, (long)end);
  }
}
