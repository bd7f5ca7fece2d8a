// Frame-time benchmark: the real frame (scene and panels) in a 1200 x 750
// window, at named settings, with widths sent only when they change and
// with every width sent as asked (the reference), plus integration alone
// against a bare loop of the same Runge-Kutta steps. Run it under X
// (bench/run.sh starts Xvfb); figures compare as ratios within one run.
#include <GL/freeglut.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "app/frame.h"
#include "app/state.h"
#include "render/scene.h"
#include "sim/replay.h"
#include "sim/rk4.h"
#include "ui/layer.h"
#include "ui/layer_glut.h"
#include "ui/panels.h"
#include "ui/reset.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Setting {
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
  reset();
  attype = 0, dro = 0.1f, daa = 0.01f;
  dynamic = 0;
}

double frameMs(const Setting &s, int literal) {
  startUp();
  s.apply();
  literalWidths = literal;
  draw(); // warm-up
  glFinish();
  std::vector<double> times;
  for (int f = 0; f < s.frames; f++) {
    auto a = Clock::now();
    draw();
    glFinish();
    times.push_back(ms(a, Clock::now()));
  }
  return median(times);
}

void report(const char *name, double t, double peak) {
  double steps = (double)(float)(tmax / dt) * (second == 1 ? 2 : 1);
  std::printf("%-34s %9.2f ms %8.1f fps %10.3g steps/s %7.1f MiB\n", name, t, 1000 / t,
              steps * 1000 / t, peak);
}

void frames(const std::vector<Setting> &settings) {
  std::printf("%-34s %12s %12s %18s %11s\n", "setting", "median", "", "", "peak RSS");
  for (const Setting &s : settings) {
    double lit = frameMs(s, 1);
    double peakLit = peakMiB();
    double fast = frameMs(s, 0);
    report((std::string(s.name) + " (reference)").c_str(), lit, peakLit);
    report(s.name, fast, peakMiB());
    std::printf("%-34s %9.2fx faster than the reference\n", "", lit / fast);
  }
}

// Ghost colouring against the same steps drawn with a single width.
void floorRatio() {
  Setting ghost{"defaults", [] {}, 30};
  Setting flat{"floor: same steps, one width", [] { coloring = 5; }, 30};
  double g = frameMs(ghost, 0), f = frameMs(flat, 0), lit = frameMs(ghost, 1);
  std::printf("\ndefaults: %.2f ms, floor (Black/White, one width): %.2f ms, ratio %.3f; "
              "reference %.2f ms, %.2fx\n",
              g, f, g / f, lit, lit / g);
}

void noStep() {}

// The replay with nothing drawn, against rk4Step alone as many times.
void integration() {
  startUp();
  std::vector<double> replayMs, bareMs;
  for (int r = 0; r < 15; r++) {
    auto a = Clock::now();
    loadStartStates();
    replay(noStep);
    auto b = Clock::now();
    double p = xsec, q = ysec, w = zsec;
    for (int k = 0; k < 40000; k++) rk4Step(p, q, w);
    auto c = Clock::now();
    replayMs.push_back(ms(a, b));
    bareMs.push_back(ms(b, c));
    if (p == 12345.678) std::puts(""); // keeps the loop's result alive
  }
  double rp = median(replayMs), bare = median(bareMs);
  std::printf("integration, 40000 steps: replay %.3f ms, bare RK4 loop %.3f ms, ratio %.3f\n", rp,
              bare, rp / bare);
}

bool exposed = false;
void onExpose() {
  exposed = true;
}

} // namespace

int main(int argc, char **argv) {
  bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE);
  glutInitWindowSize(1200, 750);
  int window = glutCreateWindow("Tresolva");
  ui::attachToWindow();
  glLoadIdentity();
  ui::master.set_glutReshapeFunc(reshape);
  buildPanels(ui::master.create_subwindow(window, ui::SUBWINDOW_RIGHT),
              ui::master.create_subwindow(window, ui::SUBWINDOW_BOTTOM));
  glutDisplayFunc(onExpose);
  while (!exposed) glutMainLoopEvent();
  for (int k = 0; k < 3; k++) draw(); // the panels take their size

  std::vector<Setting> settings = {
      {"defaults", [] {}, 30},
      {"twin on", [] { second = 1; }, 20},
      {"Black/White, Thicker", [] { coloring = 5, thickness = 5; }, 30},
      {"Grey ghost", [] { coloring = 6; }, 30},
      {"maximum map", [] { map = 1; }, 30},
      {"tmax 2000", [] { tmax = tmaxstatic = 2000; }, 5},
      {"tmax 10000, dt 0.001 (1e7 steps)", [] { tmax = tmaxstatic = 10000, dt = 0.001f; }, 2},
  };
  if (quick) settings.resize(2);
  frames(settings);
  floorRatio();
  integration();
  return 0;
}
