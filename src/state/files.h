// Files written whole or not at all, and pictures as PNG files: what the
// batch program writes, and the pictures the viewer keeps.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

// A file being written beside its name, under a name of this run's own
// (another run writing the same name takes another), renamed into place
// once whole. "-" is standard output, and a device or a pipe is written
// as it is.
struct Output {
  std::string path, part;
  FILE *f = nullptr;
  bool special = false;
  int err = 0; // the first failure's errno
};
// The name beside path, made empty for another to write into (ffmpeg).
bool reserveOutput(Output &o, const std::string &path, std::string &error);
// That name opened for this program to write into.
bool openOutput(Output &o, const std::string &path, std::string &error);
// Written as it is: "-", or a device or a pipe that path names.
bool special(const std::string &path);
void writeOutput(Output &o, const std::string &text);
// Closes it; true if every write went through, else error says why.
bool closeOutput(Output &o, std::string &error);
// Renames a closed output into place if keep, else removes what was
// written beside; true if it was kept.
bool placeOutput(Output &o, bool keep, std::string &error);
// Closes it, then places it: kept only if keep and every write went through.
bool finishOutput(Output &o, bool keep, std::string &error);
// A name in path's folder that no other file has, ending in path's name
// (so that its extension stays): FOLDER/.part-PID-N-NAME, created empty.
// "" and errno set when it cannot be made.
std::string besideOf(const std::string &path);
// Two names of the same file: the same name, or the same file on disk.
bool sameFile(const std::string &a, const std::string &b);

// Writes text to path whole: a failure (an unwritable folder, a full disk)
// leaves no file behind and says why in error.
bool writeWhole(const std::string &path, const std::string &text, std::string &error);
// What follows the last dot of the file's name, "" when there is none.
std::string extensionOf(const std::string &path);

// Several files (path, text), all of them or none.
bool writeAll(const std::vector<std::pair<std::string, std::string>> &files, std::string &error);

// The PNG file of an RGB picture, top row first.
std::string pngOf(const std::vector<unsigned char> &rgb, int width, int height);
