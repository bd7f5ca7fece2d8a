// The fixed-function GL 1.x calls of the drawing code, carried out on
// WebGL2: the matrix stacks in the page's memory, and each glBegin/glEnd
// figure turned into triangles in the order drawn. WebGL draws lines one
// pixel wide whatever the width asked, so a line becomes a parallelogram
// widened along its minor axis, as desktop GL widens aliased lines, and a
// point a square of its size. Triangles wait in one buffer, drawn when it
// fills, at a flush, a clear or a change of viewport.
#include <GL/gl.h>
#include <GLES3/gl3.h>

#include <cmath>
#include <cstring>
#include <vector>

extern "C" {
void emscripten_glClear(GLbitfield mask);
void emscripten_glClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void emscripten_glViewport(GLint x, GLint y, GLsizei w, GLsizei h);
void emscripten_glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                             void *pixels);
}

namespace {

struct Matrix {
  double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; // column-major
};

Matrix times(const Matrix &a, const Matrix &b) {
  Matrix c;
  for (int col = 0; col < 4; col++)
    for (int row = 0; row < 4; row++) {
      double s = 0;
      for (int k = 0; k < 4; k++) s += a.m[k * 4 + row] * b.m[col * 4 + k];
      c.m[col * 4 + row] = s;
    }
  return c;
}

struct State {
  std::vector<Matrix> modelview{Matrix{}}, projection{Matrix{}};
  std::vector<Matrix> *current = &modelview;
  GLint viewport[4] = {0, 0, 1, 1};
  float colour[3] = {1, 1, 1};
  float lineWidth = 1, pointSize = 1;
  GLenum mode = 0;
  bool haveFirst = false;  // GL_LINES: the first vertex of a pair is waiting
  float first[5];          // its x, y (NDC) and colour
  std::vector<float> tris; // x, y, r, g, b per vertex
  GLuint program = 0, buffer = 0, vao = 0;
};
State gl;

const size_t MOST_FLOATS = 5 * 3 * 2 * 65536; // 65536 figures of two triangles

GLuint compile(GLenum type, const char *source) {
  GLuint s = glCreateShader(type);
  glShaderSource(s, 1, &source, nullptr);
  glCompileShader(s);
  return s;
}

void ready() {
  if (gl.program) return;
  gl.program = glCreateProgram();
  glAttachShader(gl.program, compile(GL_VERTEX_SHADER,
                                     "#version 300 es\n"
                                     "in vec2 p; in vec3 c; out vec3 v;\n"
                                     "void main() { v = c; gl_Position = vec4(p, 0.0, 1.0); }\n"));
  glAttachShader(gl.program,
                 compile(GL_FRAGMENT_SHADER, "#version 300 es\n"
                                             "precision highp float; in vec3 v; out vec4 o;\n"
                                             "void main() { o = vec4(v, 1.0); }\n"));
  glBindAttribLocation(gl.program, 0, "p");
  glBindAttribLocation(gl.program, 1, "c");
  glLinkProgram(gl.program);
  glGenVertexArrays(1, &gl.vao);
  glBindVertexArray(gl.vao);
  glGenBuffers(1, &gl.buffer);
  glBindBuffer(GL_ARRAY_BUFFER, gl.buffer);
  glEnableVertexAttribArray(0);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
  glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float),
                        reinterpret_cast<void *>(2 * sizeof(float)));
}

void drawWaiting() {
  if (gl.tris.empty()) return;
  ready();
  glUseProgram(gl.program);
  glBindVertexArray(gl.vao);
  glBindBuffer(GL_ARRAY_BUFFER, gl.buffer);
  glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(gl.tris.size() * sizeof(float)), gl.tris.data(),
               GL_STREAM_DRAW);
  glDrawArrays(GL_TRIANGLES, 0, (GLsizei)(gl.tris.size() / 5));
  gl.tris.clear();
}

void corner(float x, float y, const float *c) {
  gl.tris.insert(gl.tris.end(), {x, y, c[0], c[1], c[2]});
}

// Two triangles: the quadrilateral a, b, c, d in order, each corner with
// its colour (desktop GL shades a line smoothly from end to end).
void quad(const float *a, const float *b, const float *c, const float *d, const float *ca,
          const float *cb) {
  corner(a[0], a[1], ca), corner(b[0], b[1], ca), corner(c[0], c[1], cb);
  corner(a[0], a[1], ca), corner(c[0], c[1], cb), corner(d[0], d[1], cb);
  if (gl.tris.size() >= MOST_FLOATS) drawWaiting();
}

// NDC across h pixels of the viewport's width (x) or height (y).
float acrossX(float h) {
  return 2 * h / (float)gl.viewport[2];
}
float acrossY(float h) {
  return 2 * h / (float)gl.viewport[3];
}

// The vertex through modelview and projection, in single precision as GL
// computes; false when clipped by the near or far plane or behind the eye.
bool toNdc(float x, float y, float z, float *ndc) {
  const double *mv = gl.modelview.back().m, *pr = gl.projection.back().m;
  float e[4], c[4];
  for (int r = 0; r < 4; r++)
    e[r] = (float)mv[r] * x + (float)mv[4 + r] * y + (float)mv[8 + r] * z + (float)mv[12 + r];
  for (int r = 0; r < 4; r++)
    c[r] = (float)pr[r] * e[0] + (float)pr[4 + r] * e[1] + (float)pr[8 + r] * e[2] +
           (float)pr[12 + r] * e[3];
  if (!(c[3] > 0) || c[2] < -c[3] || c[2] > c[3]) return false;
  ndc[0] = c[0] / c[3], ndc[1] = c[1] / c[3];
  return true;
}

// A segment widened by half pixels either side across its minor axis.
void segment(const float *a, const float *b, float half) {
  float dx = (b[0] - a[0]) * (float)gl.viewport[2], dy = (b[1] - a[1]) * (float)gl.viewport[3];
  float ox = 0, oy = 0;
  if (std::fabs(dx) >= std::fabs(dy)) oy = acrossY(half);
  else ox = acrossX(half);
  float p0[2] = {a[0] - ox, a[1] - oy}, p1[2] = {a[0] + ox, a[1] + oy};
  float p2[2] = {b[0] + ox, b[1] + oy}, p3[2] = {b[0] - ox, b[1] - oy};
  quad(p0, p1, p2, p3, a + 2, b + 2);
}

// A square of half pixels either side of the point.
void point(const float *p, float half) {
  float ox = acrossX(half), oy = acrossY(half);
  float p0[2] = {p[0] - ox, p[1] - oy}, p1[2] = {p[0] + ox, p[1] - oy};
  float p2[2] = {p[0] + ox, p[1] + oy}, p3[2] = {p[0] - ox, p[1] + oy};
  quad(p0, p1, p2, p3, p + 2, p + 2);
}

void multiply(const Matrix &by) {
  gl.current->back() = times(gl.current->back(), by);
}

} // namespace

// ======== Matrices =================================================================
void glMatrixMode(GLenum mode) {
  gl.current = mode == GL_PROJECTION ? &gl.projection : &gl.modelview;
}
void glLoadIdentity() {
  gl.current->back() = Matrix{};
}
void glPushMatrix() {
  gl.current->push_back(gl.current->back());
}
void glPopMatrix() {
  if (gl.current->size() > 1) gl.current->pop_back();
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  Matrix t;
  t.m[12] = x, t.m[13] = y, t.m[14] = z;
  multiply(t);
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  double a = angle * M_PI / 180, n = std::sqrt((double)x * x + (double)y * y + (double)z * z);
  double u = x / n, v = y / n, w = z / n, c = std::cos(a), s = std::sin(a), k = 1 - c;
  Matrix r;
  double m[16] = {u * u * k + c,
                  v * u * k + w * s,
                  w * u * k - v * s,
                  0,
                  u * v * k - w * s,
                  v * v * k + c,
                  w * v * k + u * s,
                  0,
                  u * w * k + v * s,
                  v * w * k - u * s,
                  w * w * k + c,
                  0,
                  0,
                  0,
                  0,
                  1};
  std::memcpy(r.m, m, sizeof m);
  multiply(r);
}
void glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  Matrix p;
  double m[16] = {2 * n / (r - l),
                  0,
                  0,
                  0,
                  0,
                  2 * n / (t - b),
                  0,
                  0,
                  (r + l) / (r - l),
                  (t + b) / (t - b),
                  -(f + n) / (f - n),
                  -1,
                  0,
                  0,
                  -2 * f * n / (f - n),
                  0};
  std::memcpy(p.m, m, sizeof m);
  multiply(p);
}
void glGetDoublev(GLenum what, GLdouble *out) {
  const Matrix &m = what == GL_PROJECTION_MATRIX ? gl.projection.back() : gl.modelview.back();
  std::memcpy(out, m.m, sizeof m.m);
}
void glGetFloatv(GLenum what, GLfloat *out) {
  const Matrix &m = what == GL_PROJECTION_MATRIX ? gl.projection.back() : gl.modelview.back();
  for (int k = 0; k < 16; k++) out[k] = (float)m.m[k];
}
void glGetIntegerv(GLenum, GLint *out) {
  std::memcpy(out, gl.viewport, sizeof gl.viewport);
}

// ======== Framebuffer ===============================================================
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
  drawWaiting();
  gl.viewport[0] = x, gl.viewport[1] = y, gl.viewport[2] = w > 0 ? w : 1,
  gl.viewport[3] = h > 0 ? h : 1;
  emscripten_glViewport(x, y, w, h);
}
void glClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
  emscripten_glClearColor(r, g, b, a);
}
void glClear(GLbitfield mask) {
  drawWaiting();
  emscripten_glClear(mask & GL_COLOR_BUFFER_BIT);
}
void glFlush() {
  drawWaiting();
}
void glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, void *to) {
  drawWaiting();
  emscripten_glReadPixels(x, y, w, h, format, type, to);
}

// ======== Figures ===================================================================
void glLineWidth(GLfloat w) {
  gl.lineWidth = w;
}
void glPointSize(GLfloat s) {
  gl.pointSize = s;
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
  auto clamp = [](float v) { return v < 0 ? 0.0f : v > 1 ? 1.0f : v; };
  gl.colour[0] = clamp(r), gl.colour[1] = clamp(g), gl.colour[2] = clamp(b);
}
void glBegin(GLenum mode) {
  gl.mode = mode;
  gl.haveFirst = false;
}
void glEnd() {
  gl.mode = 0;
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  float v[5];
  bool seen = toNdc(x, y, z, v);
  std::memcpy(v + 2, gl.colour, sizeof gl.colour);
  if (gl.mode == GL_POINTS) {
    if (seen) point(v, gl.pointSize / 2);
    return;
  }
  if (!gl.haveFirst) {
    std::memcpy(gl.first, v, sizeof v);
    gl.first[0] = seen ? v[0] : NAN;
    gl.haveFirst = true;
    return;
  }
  gl.haveFirst = false;
  if (seen && !std::isnan(gl.first[0])) segment(gl.first, v, gl.lineWidth / 2);
}
void glVertex2f(GLfloat x, GLfloat y) {
  glVertex3f(x, y, 0);
}
