// A GL context without a window or X server: EGL on Mesa's surfaceless
// platform, drawing into an offscreen (pbuffer) surface of the picture's size.
#include "batch/headless.h"

#define GL_GLEXT_PROTOTYPES
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>

#include "render/scene.h"

namespace {

bool fail(std::string &error, const std::string &why, Canvas &c) {
  error = why;
  closeCanvas(c);
  return false;
}

// 8 bits a channel and no alpha, as the viewer's window has, and no depth
// or multisampling (EGL would offer deeper colour first).
EGLConfig chooseConfig(EGLDisplay d) {
  const EGLint want[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                         EGL_NONE};
  EGLConfig configs[256];
  EGLint found = 0;
  if (!eglChooseConfig(d, want, configs, 256, &found)) return nullptr;
  auto is = [d](EGLConfig c, EGLint attribute, EGLint value) {
    EGLint v = -1;
    return eglGetConfigAttrib(d, c, attribute, &v) && v == value;
  };
  for (int k = 0; k < found; k++)
    if (is(configs[k], EGL_RED_SIZE, 8) && is(configs[k], EGL_GREEN_SIZE, 8) &&
        is(configs[k], EGL_BLUE_SIZE, 8) && is(configs[k], EGL_ALPHA_SIZE, 0) &&
        is(configs[k], EGL_DEPTH_SIZE, 0) && is(configs[k], EGL_SAMPLES, 0))
      return configs[k];
  return nullptr;
}

// Drawing goes to a multisampled buffer; readCanvas resolves it into the
// surface. Mesa's software renderer offers 4 samples at most.
bool multisample(Canvas &c, int samples, std::string &error) {
  GLint most = 0;
  glGetIntegerv(GL_MAX_SAMPLES, &most);
  if (samples > most) {
    error = "--samples " + std::to_string(samples) + ": this OpenGL draws at most " +
            std::to_string(most) + " samples a pixel; use --samples " + std::to_string(most) +
            " or fewer";
    return false;
  }
  glGenRenderbuffers(1, &c.buffer);
  glBindRenderbuffer(GL_RENDERBUFFER, c.buffer);
  glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGB8, c.width, c.height);
  glGenFramebuffers(1, &c.framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, c.framebuffer);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, c.buffer);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    error = "OpenGL cannot draw " + std::to_string(samples) + " samples a pixel at " +
            std::to_string(c.width) + " x " + std::to_string(c.height) + " (out of memory?)";
    return false;
  }
  return true;
}

} // namespace

// A pbuffer is drawn as a window's framebuffer is (its row 0 at the top,
// with the same rounding), so its pictures are the viewer's pixel for pixel.
bool openCanvas(Canvas &c, int width, int height, int samples, std::string &error) {
  auto getDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!getDisplay) return fail(error, "no usable OpenGL: EGL has no platform displays", c);
  EGLDisplay d = getDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (d == EGL_NO_DISPLAY || !eglInitialize(d, nullptr, nullptr))
    return fail(error, "no usable OpenGL: Mesa's surfaceless EGL platform is missing", c);
  c.display = d;
  EGLConfig config = chooseConfig(d);
  if (!config || !eglBindAPI(EGL_OPENGL_API))
    return fail(error, "no usable OpenGL: EGL offers no desktop GL with 8-bit colour", c);
  const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
  c.surface = eglCreatePbufferSurface(d, config, size);
  if (c.surface == EGL_NO_SURFACE)
    return fail(error,
                "OpenGL cannot draw a picture of " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels (out of memory?)",
                c);
  c.context = eglCreateContext(d, config, EGL_NO_CONTEXT, nullptr);
  if (c.context == EGL_NO_CONTEXT || !eglMakeCurrent(d, c.surface, c.surface, c.context))
    return fail(error, "no usable OpenGL: EGL makes no desktop GL context", c);
  c.width = width, c.height = height;
  if (samples > 1 && !multisample(c, samples, error)) {
    closeCanvas(c);
    return false;
  }
  return true;
}

// A multisampled buffer is resolved into the surface first.
std::vector<unsigned char> readCanvas(const Canvas &c) {
  if (c.framebuffer) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, c.framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, c.width, c.height, 0, 0, c.width, c.height, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  }
  std::vector<unsigned char> rgb = readRgb(0, 0, c.width, c.height);
  if (c.framebuffer) glBindFramebuffer(GL_FRAMEBUFFER, c.framebuffer);
  return rgb;
}

void closeCanvas(Canvas &c) {
  if (c.framebuffer) glDeleteFramebuffers(1, &c.framebuffer);
  if (c.buffer) glDeleteRenderbuffers(1, &c.buffer);
  if (c.context) {
    eglMakeCurrent(c.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(c.display, c.context);
  }
  if (c.surface) eglDestroySurface(c.display, c.surface);
  if (c.display) eglTerminate(c.display);
  c = Canvas{};
}
