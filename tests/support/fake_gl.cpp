// A stand-in for the GL and GLUT entry points the program calls: each call
// is recorded with its arguments, so tests can read back what a frame sent.
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

std::string callNames(size_t from, size_t to) {
  std::string s;
  for (size_t k = from; k < glCalls.size() && k < to; k++) {
    if (!s.empty()) s += ' ';
    s += glCalls[k].fn;
  }
  return s;
}

extern "C" {
void glBegin(GLenum mode) {
  rec("glBegin", mode);
}
void glEnd() {
  rec("glEnd");
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  rec("glVertex3f", x, y, z);
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
void glVertex2f(GLfloat x, GLfloat y) {
  rec("glVertex2f", x, y);
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
  rec("glColor3f", r, g, b);
}
void glLineWidth(GLfloat w) {
  rec("glLineWidth", w);
}
void glPointSize(GLfloat s) {
  rec("glPointSize", s);
}
void glClear(GLbitfield m) {
  rec("glClear", m);
}
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  rec("glClearColor", r, g, b, a);
}
void glPushMatrix() {
  rec("glPushMatrix");
}
void glPopMatrix() {
  rec("glPopMatrix");
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  rec("glTranslatef", x, y, z);
}
void glRotatef(GLfloat a, GLfloat x, GLfloat y, GLfloat z) {
  rec("glRotatef", a, x, y, z);
}
void glMatrixMode(GLenum m) {
  rec("glMatrixMode", m);
}
void glLoadIdentity() {
  rec("glLoadIdentity");
}
void glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  rec("glFrustum", l, r, b, t, n, f);
}
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
  rec("glViewport", x, y, w, h);
}
void glFlush() {
  rec("glFlush");
}

void glutPostRedisplay() {
  rec("glutPostRedisplay");
}
void glutSwapBuffers() {
  rec("glutSwapBuffers");
}
void glutSetCursor(int c) {
  rec("glutSetCursor", c);
}
}
