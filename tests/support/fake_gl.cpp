// The recording GL: each entry point keeps its call and arguments in glCalls.
#include "support/fake_gl.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

#include <cstring>

std::vector<GlCall> glCalls;

namespace {
void rec(const char *fn, double a = 0, double b = 0, double c = 0, double d = 0, double e = 0,
         double f = 0) {
  glCalls.push_back({fn, {a, b, c, d, e, f}});
}
} // namespace

void clearGl() {
  glCalls.clear();
}

std::vector<GlCall> callsOf(const char *fn) {
  std::vector<GlCall> out;
  for (auto &c : glCalls)
    if (std::strcmp(c.fn, fn) == 0) out.push_back(c);
  return out;
}

// One recorded entry point per line: its name, then its arguments.
// clang-format off
#define REC0(fn) void fn() { rec(#fn); }
#define REC1(fn, A) void fn(A a) { rec(#fn, a); }
#define REC2(fn, A, B) void fn(A a, B b) { rec(#fn, a, b); }
#define REC3(fn, A, B, C) void fn(A a, B b, C c) { rec(#fn, a, b, c); }
#define REC4(fn, A, B, C, D) void fn(A a, B b, C c, D d) { rec(#fn, a, b, c, d); }
// clang-format on

extern "C" {
REC1(glBegin, GLenum)
REC0(glEnd)
REC3(glVertex3f, GLfloat, GLfloat, GLfloat)
REC2(glVertex2f, GLfloat, GLfloat)
REC3(glColor3f, GLfloat, GLfloat, GLfloat)
REC1(glLineWidth, GLfloat)
REC1(glPointSize, GLfloat)
REC1(glClear, GLbitfield)
REC4(glClearColor, GLclampf, GLclampf, GLclampf, GLclampf)
REC0(glPushMatrix)
REC0(glPopMatrix)
REC3(glTranslatef, GLfloat, GLfloat, GLfloat)
REC4(glRotatef, GLfloat, GLfloat, GLfloat, GLfloat)
REC1(glMatrixMode, GLenum)
REC0(glLoadIdentity)
REC4(glViewport, GLint, GLint, GLsizei, GLsizei)
REC0(glFlush)
REC0(glutPostRedisplay)
REC0(glutSwapBuffers)
void glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  rec("glFrustum", l, r, b, t, n, f);
}
void glutSetCursor(int cursor) {
  rec("glutSetCursor", cursor);
}
// Queries answer without being recorded: an identity transform and the
// window's size.
void glGetDoublev(GLenum, GLdouble *m) {
  for (int k = 0; k < 16; k++) m[k] = k % 5 == 0;
}
void glGetFloatv(GLenum, GLfloat *m) {
  for (int k = 0; k < 16; k++) m[k] = k % 5 == 0;
}
void glGetIntegerv(GLenum, GLint *v) {
  v[0] = 0, v[1] = 0, v[2] = 1200, v[3] = 750;
}
// A framebuffer of one grey level.
void glReadPixels(GLint, GLint, GLsizei w, GLsizei h, GLenum, GLenum, void *to) {
  std::memset(to, 128, (((size_t)w * 3 + 3) & ~(size_t)3) * h);
}
}
