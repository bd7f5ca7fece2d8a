// Frame-time benchmark: the real frame (scene and panels) in a 1200 x 750
// window, at named settings, with widths sent only when they change and
// with every width sent as asked (the reference), plus integration alone
// against a bare loop of the same Runge-Kutta steps. Run it under X
// (bench/run.sh starts Xvfb); figures compare as ratios within one run.
//   frame_bench list | N | floor | twin | integration
#include <GL/freeglut.h>
#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "app/frame.h"
#include "app/viewer.h"
#include "app/window.h"
#include "interact/actions.h"
#include "ui/layer.h"
#include "ui/panels.h"

namespace {

using Clock = std::chrono::steady_clock;

Settings &set = viewer.set;
Picture &pic = viewer.pic;

struct Named {
  const char *name;
  std::function<void()> apply; // from the start-up values
  int frames;
};

double ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double peakMiB() {
  rusage r;
  getrusage(RUSAGE_SELF, &r);
  return r.ru_maxrss / 1024.0;
}

// Start-up values, Static playback so every frame replays the same steps.
void startUp() {
  reset(set, pic);
  set.attype = 0, set.incs[0][0] = 0.1f, set.incs[1][0] = 0.01f;
  set.dynamic = 0;
}

// Median frame times of the drawn frame and of the reference, timed in
// turns so that both see the same machine; the drawn frame warms up alone
// first, so that the peak memory read after it is its own.
struct Times {
  double fast, literal, fastPeak;
};

double oneFrame(int literal) {
  pic.widths.literalCalls = literal;
  auto a = Clock::now();
  draw();
  glFinish();
  return ms(a, Clock::now());
}

Times frameMs(const Named &s) {
  startUp();
  s.apply();
  for (int f = 0; f < 3; f++) oneFrame(0);
  Times got{0, 0, peakMiB()};
  oneFrame(1);
  std::vector<double> fast, literal;
  for (int f = 0; f < s.frames; f++) {
    fast.push_back(oneFrame(0));
    literal.push_back(oneFrame(1));
  }
  got.fast = median(fast), got.literal = median(literal);
  return got;
}

void report(const char *name, double t, double peak) {
  double steps = (double)(float)(pic.tmax / set.dt) * (set.second == 1 ? 2 : 1);
  std::printf("%-34s %9.2f ms %8.1f fps %10.3g steps/s %7.1f MiB\n", name, t, 1000 / t,
              steps * 1000 / t, peak);
}

void frames(const Named &s) {
  Times got = frameMs(s);
  report(s.name, got.fast, got.fastPeak);
  report((std::string(s.name) + " (reference)").c_str(), got.literal, peakMiB());
  std::printf("%-34s %9.2fx faster than the reference\n", "", got.literal / got.fast);
}

// Ghost colouring against the same steps drawn with a single width.
void floorRatio() {
  Named ghost{"defaults", [] {}, 30};
  Named flat{"floor", [] { set.coloring = 5; }, 30};
  Times g = frameMs(ghost), f = frameMs(flat);
  std::printf("defaults: %.2f ms, floor (the same steps in Black/White, one width): %.2f ms, "
              "ratio %.3f; reference %.2f ms, %.2fx\n",
              g.fast, f.fast, g.fast / f.fast, g.literal, g.literal / g.fast);
}

// The twin's cost: twin off and twin on at the same settings, timed in
// turns, with the ratio of their medians.
void twinRatios() {
  struct Pair {
    const char *name;
    float tmin;
    int thickness;
  };
  const Pair pairs[] = {{"tmin 50, Thin", 50, 1},
                        {"tmin 0, Thin", 0, 1},
                        {"tmin 0, Thicker", 0, 5},
                        {"tmin 50, Thicker", 50, 5}};
  for (const Pair &p : pairs) {
    startUp();
    set.tmin = p.tmin, set.thickness = p.thickness;
    std::vector<double> off, on;
    for (int f = 0; f < 12; f++) {
      set.second = 0;
      off.push_back(oneFrame(0));
      set.second = 1;
      on.push_back(oneFrame(0));
    }
    std::printf("%-22s twin off %8.2f ms, twin on %8.2f ms, ratio %5.2f\n", p.name, median(off),
                median(on), median(on) / median(off));
  }
}

void noStep(void *, bool) {}

// The replay with nothing drawn, against the bare step alone as many times; and
// what the replay allocates (nothing).
void integration() {
  startUp();
  std::vector<double> replayMs, bareMs;
  replayMs.reserve(15), bareMs.reserve(15); // so that the heap changes only if the replay allocates
  size_t before = mallinfo2().uordblks;
  for (int r = 0; r < 15; r++) {
    auto a = Clock::now();
    loadStart(pic.run);
    replaySteps(replaySettings(set, pic.tmax), pic.run, noStep, nullptr);
    auto b = Clock::now();
    const double par[3] = {set.params[0][0], set.params[0][1], set.params[0][2]};
    double p = pic.run.xsec, q = pic.run.ysec, w = pic.run.zsec;
    Slopes k4;
    for (int k = 0; k < 40000; k++) rk4(models[0], par, set.dt, p, q, w, k4);
    auto c = Clock::now();
    replayMs.push_back(ms(a, b));
    bareMs.push_back(ms(b, c));
    if (p == 12345.678) std::puts(""); // keeps the loop's result alive
  }
  long grown = (long)mallinfo2().uordblks - (long)before;
  double rp = median(replayMs), bare = median(bareMs);
  std::printf("integration, 40000 steps: replay %.3f ms, bare RK4 loop %.3f ms, ratio %.3f; "
              "heap grown by the replays: %ld bytes\n",
              rp, bare, rp / bare, grown);
}

bool exposed = false;
void onExpose() {
  exposed = true;
}

} // namespace

int main(int argc, char **argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE);
  glutInitWindowSize(1200, 750);
  glutCreateWindow("Tresolva");
  attachToWindow();
  glLoadIdentity();
  ui::master.reshape = reshape;
  showPanels();
  glutDisplayFunc(onExpose);
  while (!exposed) glutMainLoopEvent();
  for (int k = 0; k < 3; k++) draw(); // the panels take their size

  const std::vector<Named> settings = {
      {"defaults", [] {}, 30},
      {"twin on", [] { set.second = 1; }, 20},
      {"Black/White, Thicker", [] { set.coloring = 5, set.thickness = 5; }, 30},
      {"Grey ghost", [] { set.coloring = 6; }, 30},
      {"maximum map", [] { set.map = 1; }, 30},
      {"tmax 2000", [] { pic.tmax = set.tmaxstatic = 2000; }, 5},
      {"tmax 10000, dt 0.001 (1e7 steps)",
       [] { pic.tmax = set.tmaxstatic = 10000, set.dt = 0.001f; }, 2},
  };
  // One setting a process, so that each peak memory is that setting's.
  const char *what = argc > 1 ? argv[1] : "list";
  if (std::strcmp(what, "list") == 0)
    for (size_t k = 0; k < settings.size(); k++) std::printf("%zu\n", k);
  else if (std::strcmp(what, "floor") == 0) floorRatio();
  else if (std::strcmp(what, "integration") == 0) integration();
  else if (std::strcmp(what, "twin") == 0) twinRatios();
  else frames(settings.at((size_t)std::atoi(what)));
  return 0;
}
