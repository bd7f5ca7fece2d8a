// Whole scenes under the recording GL, call for call: three frames of each
// settings file send the calls recorded in recordings.txt (their count and
// a digest of every name and argument). After a change meant to alter the
// drawing, TRESOLVA_RECORD=1 writes the file anew, to be looked at and
// committed with the change.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numeric>
#include <string>

#include "render/picture.h"
#include "state/settings_file.h"
#include "support/fake_gl.h"

namespace {

const std::string DATA = TRESOLVA_SOURCE_DIR "/tests/render/data/";

// FNV-1a over the names and argument bytes of every call.
uint64_t digest() {
  std::string bytes;
  for (const GlCall &c : glCalls)
    bytes.append(c.fn).append(reinterpret_cast<const char *>(c.a), sizeof c.a);
  return std::accumulate(bytes.begin(), bytes.end(), (uint64_t)14695981039346656037ull,
                         [](uint64_t h, unsigned char b) { return (h ^ b) * 1099511628211ull; });
}

// Three frames of the settings file, named from the source's top.
std::string recordingOf(const std::string &file) {
  Settings set = startUpSettings();
  std::string error;
  EXPECT_TRUE(readSettings(std::string(TRESOLVA_SOURCE_DIR "/").append(file), set, error)) << error;
  Picture pic = pictureOf(set, 950, 717, 1);
  clearGl();
  for (int frame = 0; frame < 3; frame++) nextFrame(set, pic);
  return std::to_string(glCalls.size()) + " " + std::to_string(digest());
}

} // namespace

TEST(Recording, ScenesSendTheCallsRecordedForThem) {
  std::map<std::string, std::string> recorded;
  std::ifstream in(DATA + "recordings.txt");
  for (std::string line; std::getline(in, line);)
    recorded[line.substr(0, line.find(' '))] = line.substr(line.find(' ') + 1);
  const bool recording = std::getenv("TRESOLVA_RECORD") != nullptr;
  std::ofstream out(recording ? DATA + "recordings.txt" : "/dev/null");
  for (const char *file :
       {"docs/twin.toml", "docs/roessler.toml", "tests/render/data/map-thick.toml",
        "tests/render/data/segment-twin.toml"}) {
    const std::string got = recordingOf(file);
    out << file << " " << got << "\n";
    EXPECT_TRUE(recording || got == recorded[file]) << file << ": " << got;
  }
}
