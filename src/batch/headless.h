// A GL context without a window or X server: EGL on Mesa's surfaceless
// platform, drawing into an offscreen (pbuffer) surface of the picture's size.
#pragma once

#include <string>
#include <vector>

struct Canvas {
  int width = 0, height = 0;            // pixels
  void *display = nullptr;              // EGLDisplay
  void *context = nullptr;              // EGLContext
  void *surface = nullptr;              // EGLSurface
  unsigned buffer = 0, framebuffer = 0; // the multisampled buffer drawn into, if any
};

const int CANVAS_MAX = 8192; // pixels either way

// Makes a current context drawing into a width x height surface, through a
// buffer of that many samples a pixel when samples > 1; on a failure says
// why (no usable GL, a size or a count of samples GL refuses).
bool openCanvas(Canvas &c, int width, int height, int samples, std::string &error);
// The picture as RGB bytes, top row first (the samples of a pixel averaged).
std::vector<unsigned char> readCanvas(const Canvas &c);
void closeCanvas(Canvas &c);
