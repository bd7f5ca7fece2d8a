// Whole scenes under the recording GL, call for call: three frames of each
// settings file send the calls recorded in recordings.txt (their count and
// a digest of every name and argument). After a change meant to alter the
// drawing, TRESOLVA_RECORD=1 writes the file anew, to be looked at and
// committed with the change.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include "render/picture.h"
#include "support/fake_gl.h"

namespace {

const std::string DATA = TRESOLVA_SOURCE_DIR "/tests/render/data/";

// FNV-1a over the names and argument bytes of every call.
uint64_t digest() {
  uint64_t h = 14695981039346656037ull;
  auto add = [&h](const void *bytes, size_t n) {
    for (size_t k = 0; k < n; k++)
      h = (h ^ static_cast<const unsigned char *>(bytes)[k]) * 1099511628211ull;
  };
  for (const GlCall &c : glCalls) add(c.fn, std::strlen(c.fn)), add(c.a, sizeof c.a);
  return h;
}

std::string recordingOf(const std::string &path) {
  Settings set = startUpSettings();
  std::string error;
  EXPECT_TRUE(readSettings(path, set, error)) << error;
  Picture pic = pictureOf(set, 950, 717, 1);
  clearGl();
  for (int frame = 0; frame < 3; frame++) nextFrame(set, pic);
  return std::to_string(glCalls.size()) + " " + std::to_string(digest());
}

} // namespace

TEST(Recording, ScenesSendTheCallsRecordedForThem) {
  const std::map<std::string, std::string> files = {
      {"twin", TRESOLVA_SOURCE_DIR "/docs/twin.toml"},
      {"roessler", TRESOLVA_SOURCE_DIR "/docs/roessler.toml"},
      {"map-thick", DATA + "map-thick.toml"},
      {"segment-twin", DATA + "segment-twin.toml"}};
  std::map<std::string, std::string> recorded;
  std::ifstream in(DATA + "recordings.txt");
  for (std::string name, count, hash; in >> name >> count >> hash;)
    recorded[name] = count + " " + hash;
  std::ofstream out;
  if (std::getenv("TRESOLVA_RECORD")) out.open(DATA + "recordings.txt");
  for (const auto &[name, path] : files) {
    const std::string got = recordingOf(path);
    if (out.is_open()) out << name << " " << got << "\n";
    else EXPECT_EQ(got, recorded[name]) << name;
  }
}
