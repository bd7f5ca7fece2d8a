// Files written whole or not at all, and pictures as PNG files: what the
// batch program writes, and the pictures the viewer keeps.
#pragma once

#include <cstdio>
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

// The PNG file of an RGB picture, top row first.
std::string pngOf(const std::vector<unsigned char> &rgb, int width, int height);
