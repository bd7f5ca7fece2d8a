// The settings file and the exported maxima: printed settings read back to
// the same text, every kind of bad line refused with its file, line and
// key, and the maxima the very points the viewer's map plots.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include <unistd.h>

#include "batch/export.h"
#include "render/picture.h"
#include "state/link.h"
#include "state/settings_file.h"
#include "support/fake_gl.h"

namespace {

// A file of this process's own (the tests run in parallel processes), written anew each time.
std::string file(const std::string &text) {
  std::string path = ::testing::TempDir() + "tresolva-" + std::to_string(getpid()) + ".toml";
  std::ofstream(path) << text;
  return path;
}

Settings unusual() {
  Settings s = startUpSettings();
  s.attype = 1, s.second = 1, s.coloring = 6, s.bg = 1, s.thickness = 5, s.map = 1;
  s.params[1][2] = 4.3f, s.incs[0][0] = -0.25f, s.dt = 0.0001f, s.zoom = 2.5f;
  s.start[0] = -1.0 / 3, s.twinStart[2] = 1e-300, s.t1 = 37.5, s.ytranslate = -0.07;
  return s;
}

} // namespace

TEST(Settings, PrintedSettingsReadBackToTheSameText) {
  for (const Settings &s : {startUpSettings(), unusual()}) {
    std::string text = settingsText(s), error, path = file(text);
    Settings back = startUpSettings();
    ASSERT_TRUE(readSettings(path, back, error)) << error;
    EXPECT_EQ(settingsText(back), text);
    std::remove(path.c_str());
  }
}

TEST(Settings, BadLinesAreRefusedWithFileLineAndKey) {
  // a key of 100,000 characters is named by its first 60
  const std::string longKey(100000, 'k'), longLine = longKey + " = 1\n",
                                          said = ":1: " + longKey.substr(0, 60) + "\u2026: unknown";
  const struct {
    std::string text, said;
  } cases[] = {
      {"tmin = 10.0\ncolour = 3\n", ":2: colour: unknown key"},
      {"[lorenz]\nrho = 28.0\n", ":2: lorenz.rho: unknown key"},
      {"[shading]\nx = 1\n", ":1: shading: unknown key"},
      {"tmin = \"ten\"\n", ":1: tmin: \"ten\" is not a number"},
      {"dt = [1]\n", ":1: dt: an array is not a number"},
      {"twin = 1\n", ":1: twin: is not true or false"},
      {"lines = \"huge\"\n", ":1: lines: \"huge\" is not one of \"thin\", \"thick\", \"thicker\""},
      {"\n\ntmin = 6000.0\n", ":3: tmin: 6000 is outside 0 to 5000"},
      {"dt = 0.0\n", ":1: dt: 0 is outside 1e-04 to 1"},
      {"[start]\nx = nan\n", ":2: start.x: nan is not a finite number"},
      {"tmin = = 3\n", ":1: "},
      {std::string("tmax = 300.0\n\0junk = 1\n", 23), ":2: "},
      {longLine, said},
  };
  for (const auto &c : cases) {
    Settings s = startUpSettings();
    std::string path = file(c.text), error;
    EXPECT_FALSE(readSettings(path, s, error)) << c.text;
    EXPECT_NE(error.find(path + c.said), std::string::npos) << error;
    EXPECT_EQ(settingsText(s), settingsText(startUpSettings())) << c.text;
    std::remove(path.c_str());
  }
}

// A page's address carries the settings that differ from the start-up
// ones; a bad pair leaves its key at the start-up value and is named, the
// good pairs beside it are taken.
TEST(Settings, LinkCarriesChangedKeysAndRefusesBadPairsOneByOne) {
  const Settings &start = startUpSettings();
  EXPECT_TRUE(linkSettings(start, start).empty());
  Settings back = start;
  std::vector<std::string> refused;
  readLink(linkSettings(unusual(), start), back, refused);
  EXPECT_EQ(settingsText(back), settingsText(unusual()));
  EXPECT_TRUE(refused.empty());

  // The value's text read as its kind; a value's range is the file's, pinned above.
  back = start, refused.clear();
  readLink(
      {{"colour", "3"}, {"tmin", "ten"}, {"twin", "1"}, {"roessler.c", "5e1x"}, {"zoom", "2.5"}},
      back, refused);
  EXPECT_EQ(refused, (std::vector<std::string>{
                         "colour: unknown key", "tmin: \"ten\" is not a number",
                         "twin: is not true or false", "roessler.c: \"5e1x\" is not a number"}));
  Settings want = start;
  want.zoom = 2.5f;
  EXPECT_EQ(settingsText(back), settingsText(want));

  // As the address bar holds it: encoded bytes, and names in any case.
  back = start, refused.clear();
  readLink(linkPairs("tmax=300%00&twin=true&attractor=Roessler&lines=a+b&tmin=%FF&%E2%82%AC=1"),
           back, refused);
  EXPECT_EQ(refused, (std::vector<std::string>{
                         "tmax: holds a NUL byte",
                         "lines: \"a b\" is not one of \"thin\", \"thick\", \"thicker\"",
                         "tmin: is not UTF-8 text", "€: unknown key"}));
  EXPECT_EQ(back.second, 1);
  EXPECT_EQ(back.attype, 1);
}

// The maxima file holds the very points the viewer's maximum map plots in
// its second frame of Static playback, for both attractors.
TEST(Export, MaximaAreThePointsTheViewersMapPlots) {
  for (int attractor : {0, 1}) {
    Settings s = startUpSettings();
    s.attype = attractor, s.dynamic = 0, s.map = 1, s.zoom = 1.5f;
    Picture pic = startUpPicture(s);
    drawScene(s, pic);
    clearGl();
    drawScene(s, pic);
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
  }
}
