// The settings file and the exported numbers: printed settings read back to
// the same text, every kind of bad line refused with its file, line and
// key, the CSV reading back to the core's states bit for bit, and the
// maxima the very points the viewer's map plots.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include <unistd.h>

#include "batch/export.h"
#include "render/picture.h"
#include "sim/core.h"
#include "state/settings.h"
#include "state/state.h"
#include "support/fake_gl.h"
#include "support/startup.h"

namespace {

// Files of this process's own (the tests run in parallel processes),
// removed when it ends.
struct Files {
  std::vector<std::string> made;
  ~Files() {
    for (const std::string &p : made) std::remove(p.c_str());
  }
} files;

std::string file(const std::string &text) {
  std::string path = ::testing::TempDir() + "tresolva-" + std::to_string(getpid()) + "-" +
                     std::to_string(files.made.size()) + ".toml";
  std::ofstream(path) << text;
  files.made.push_back(path);
  return path;
}

Settings unusual() {
  restoreStartup();
  Settings s = startUpSettings();
  s.attractor = 1, s.twin = 1, s.colouring = 6, s.background = 1, s.lines = 5, s.map = 1;
  s.params[1][2] = 4.3f, s.incs[0][0] = -0.25f, s.dt = 0.0001f, s.zoom = 2.5f;
  s.start[0] = -1.0 / 3, s.twinStart[2] = 1e-300, s.rotateX = 37.5, s.panY = -0.07;
  return s;
}

} // namespace

TEST(Settings, PrintedSettingsReadBackToTheSameText) {
  for (const Settings &s : {startUpSettings(), unusual()}) {
    std::string text = settingsText(s), error;
    Settings back = startUpSettings();
    ASSERT_TRUE(readSettings(file(text), back, error)) << error;
    EXPECT_EQ(settingsText(back), text);
  }
}

TEST(Settings, BadLinesAreRefusedWithFileLineAndKey) {
  const struct {
    const char *text, *said;
  } cases[] = {
      {"tmin = 10.0\ncolour = 3\n", ":2: colour: unknown key"},
      {"[lorenz]\nrho = 28.0\n", ":2: lorenz.rho: unknown key"},
      {"[shading]\nx = 1\n", ":1: shading: unknown key"},
      {"tmin = \"ten\"\n", ":1: tmin: is not a number"},
      {"twin = 1\n", ":1: twin: is not true or false"},
      {"lines = \"huge\"\n", ":1: lines: \"huge\" is not one of \"thin\", \"thick\", \"thicker\""},
      {"\n\ntmin = 6000.0\n", ":3: tmin: 6000 is outside 0 to 5000"},
      {"dt = 0.0\n", ":1: dt: 0 is outside 1e-04 to 1"},
      {"[roessler]\nc = 51\n", ":2: roessler.c: 51 is outside 0.1 to 50"},
      {"[start]\nx = nan\n", ":2: start.x: nan is outside"},
      {"tmin = = 3\n", ":1: "},
  };
  for (const auto &c : cases) {
    Settings s = startUpSettings();
    std::string path = file(c.text), error;
    EXPECT_FALSE(readSettings(path, s, error)) << c.text;
    EXPECT_NE(error.find(path + c.said), std::string::npos) << error;
    EXPECT_EQ(settingsText(s), settingsText(startUpSettings())) << c.text;
  }
}

// What the viewer's p key prints is the viewer's state as it is now.
TEST(Settings, TheViewersSettingsFollowItsState) {
  restoreStartup();
  attype = 1, tmin = 12.5f, second = 1, coloring = 4, t1 = 30, xsec = 2;
  Settings s = viewerSettings(), back = startUpSettings();
  std::string error;
  ASSERT_TRUE(readSettings(file(settingsText(s)), back, error)) << error;
  EXPECT_EQ(back.attractor, 1);
  EXPECT_EQ(back.tmin, 12.5f);
  EXPECT_EQ(back.twin, 1);
  EXPECT_EQ(back.colouring, 4);
  EXPECT_EQ(back.rotateX, 30.0);
  EXPECT_EQ(back.start[0], 2.0);
  restoreStartup();
}

namespace {
struct Kept {
  const Trajectory *tr;
  std::vector<double> *out;
};
void keep(void *ctx, bool) {
  const Kept &k = *static_cast<Kept *>(ctx);
  for (double v : {k.tr->t, k.tr->x, k.tr->y, k.tr->z, k.tr->x2, k.tr->y2, k.tr->z2})
    k.out->push_back(v);
}
} // namespace

TEST(Export, CsvReadsBackToTheCoresStatesBitForBit) {
  Settings s = unusual();
  s.attractor = 0, s.dt = 0.005f, s.tmin = 10, s.tmax = 30;
  std::string csv = trajectoryCsv(s);

  Trajectory tr = startOf(s);
  std::vector<double> want;
  Kept kept{&tr, &want};
  replaySteps(staticReplay(s), tr, keep, &kept);

  std::istringstream in(csv);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "t,x,y,z,x2,y2,z2,ln_d");
  std::vector<double> got;
  while (std::getline(in, line)) {
    const char *p = line.data(), *end = p + line.size();
    for (int col = 0; col < 7; col++) {
      double v;
      auto r2 = std::from_chars(p, end, v);
      ASSERT_EQ(r2.ec, std::errc()) << line;
      got.push_back(v);
      p = r2.ptr + 1;
    }
  }
  ASSERT_EQ(got.size(), want.size());
  for (size_t k = 0; k < got.size(); k++) ASSERT_EQ(got[k], want[k]) << "value " << k;
}

// The maxima file holds the very points the viewer's maximum map plots in
// its second frame of Static playback, for both attractors.
TEST(Export, MaximaAreThePointsTheViewersMapPlots) {
  for (int attractor : {0, 1}) {
    Settings s = startUpSettings();
    s.attractor = attractor, s.playback = 0, s.map = 1, s.zoom = 1.5f;
    restoreStartup();
    useSettings(s);
    tmax = tmaxstatic;
    drawScene();
    clearGl();
    drawScene();
    std::vector<GlCall> points = callsOf("glVertex2f");

    std::istringstream in(maximaCsv(s));
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "previous,maximum");
    double div = models[attractor].mapDivisor, zm = s.zoom;
    size_t k = 0;
    for (; std::getline(in, line); k++) {
      double previous = std::stod(line), maximum = std::stod(line.substr(line.find(',') + 1));
      ASSERT_LT(k, points.size());
      EXPECT_EQ(points[k].a[0], (float)(zm * previous / div - 2)) << line;
      EXPECT_EQ(points[k].a[1], (float)(zm * maximum / div - 2)) << line;
    }
    EXPECT_GT(k, 20u);
    EXPECT_EQ(k + 4, points.size()); // then the diagonal and the base line, once
    restoreStartup();
  }
}
