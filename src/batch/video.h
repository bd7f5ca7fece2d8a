// A video made from frames piped straight into ffmpeg, which writes it
// beside the file asked for; renamed into place only once it is whole.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "state/files.h"

struct Video {
  int pid = -1;         // ffmpeg
  int pipe = -1;        // its standard input: raw RGB frames
  size_t frameSize = 0; // bytes
  long frames = 0;      // sent whole
  FILE *log = nullptr;  // ffmpeg's standard error
  Output out;           // the video, written beside its name until whole
};

// 0 when ffmpeg runs; 2 when there is none on the PATH, 1 when it cannot
// be started; error says why.
int openVideo(Video &v, const std::string &path, int width, int height, int fps,
              std::string &error);
bool videoFrame(Video &v, const std::vector<unsigned char> &rgb, std::string &error);
// Waits for ffmpeg; keeps the video only if every frame went in (whole),
// ffmpeg succeeded and the file holds them all; else error says why, with
// ffmpeg's last word.
bool closeVideo(Video &v, bool whole, std::string &error);
