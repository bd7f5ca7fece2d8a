// Reads screenshots (binary PPM) for the end-to-end tests:
//   pixels FILE X Y W H         counts of each colour class in the rectangle,
//                               and the bounding box of the curve's red and yellow
//   pixels --diff A B X Y W H   how many pixels of the rectangle differ
//   pixels --boxes FILE X Y W H R G B
//                               "X0 Y0 X1 Y1" of each patch of colour (R, G, B)
//   pixels --alike A B X Y W H  status 0 when the rectangle is alike in both
//   pixels --find A B X Y W H   the shift "DX DY" at which B holds a rectangle
//                               alike to that of A (|DX| <= 48, the topmost), or "none"
// Alike: no channel differs by more than 8 levels, and at most 32 pixels
// differ at all. The same controls drawn at another place can differ so:
// anti-aliased fringes depend on the fractions of float vertex positions,
// which a shift rounds differently. Text or a control in another state
// differs by far more.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const int ALIKE_LEVELS = 8;   // per channel
const long ALIKE_PIXELS = 32; // in the rectangle

struct Image {
  int w = 0, h = 0;
  std::vector<unsigned char> px;
  const unsigned char *at(int x, int y) const { return &px[((size_t)y * w + x) * 3]; }
};

// ImageMagick writes the window's name, from xwd, as a comment line.
bool load(const char *path, Image *im) {
  FILE *f = std::fopen(path, "rb");
  int magic = 0, maxv = 0;
  bool ok = f && (std::fscanf(f, "P6 %n", &magic), magic) && std::fscanf(f, "#%*[^\n]") >= 0 &&
            std::fscanf(f, "%d %d %d", &im->w, &im->h, &maxv) == 3 && maxv == 255 &&
            std::fgetc(f) != EOF;
  if (ok) im->px.resize((size_t)im->w * im->h * 3);
  ok = ok && std::fread(im->px.data(), 1, im->px.size(), f) == im->px.size();
  if (f) std::fclose(f);
  if (!ok) std::fprintf(stderr, "pixels: cannot read %s\n", path);
  return ok;
}

struct Rect {
  int x, y, w, h;
  bool inside(const Image &im) const {
    return x >= 0 && y >= 0 && w > 0 && h > 0 && x + w <= im.w && y + h <= im.h;
  }
};
Rect rect(char **xywh) {
  return {std::atoi(xywh[0]), std::atoi(xywh[1]), std::atoi(xywh[2]), std::atoi(xywh[3])};
}

// Whether each channel of p lies within `by` levels of c.
bool near(const unsigned char *p, const int *c, int by) {
  return std::abs(p[0] - c[0]) <= by && std::abs(p[1] - c[1]) <= by && std::abs(p[2] - c[2]) <= by;
}

// The pixels of rectangle r of a that differ from the same-sized one at
// (bx, by) of b by more than `over` levels in a channel; counting stops
// past `limit`.
long differing(const Image &a, Rect r, const Image &b, int bx, int by, int over, long limit) {
  long n = 0;
  for (int y = 0; y < r.h && n <= limit; y++) {
    const unsigned char *p = a.at(r.x, r.y + y), *q = b.at(bx, by + y);
    if (std::memcmp(p, q, (size_t)r.w * 3) == 0) continue;
    for (int i = 0; i < r.w * 3 && n <= limit; i += 3) {
      const int c[3] = {q[i], q[i + 1], q[i + 2]};
      n += !near(p + i, c, over);
    }
  }
  return n;
}

bool alike(const Image &a, Rect r, const Image &b, int bx, int by) {
  return differing(a, r, b, bx, by, ALIKE_LEVELS, 0) == 0 &&
         differing(a, r, b, bx, by, 0, ALIKE_PIXELS) <= ALIKE_PIXELS;
}

// Compares two screenshots: --diff (the rectangle clipped to both),
// --alike (the rectangle inside both) or --find.
int compare(char **argv) {
  Image a, b;
  if (!load(argv[2], &a) || !load(argv[3], &b)) return 2;
  Rect r = rect(argv + 4);
  if (std::strcmp(argv[1], "--diff") == 0) {
    r.w = std::min({r.x + r.w, a.w, b.w}) - r.x, r.h = std::min({r.y + r.h, a.h, b.h}) - r.y;
    std::printf("%ld\n", r.inside(a) ? differing(a, r, b, r.x, r.y, 0, LONG_MAX) : 0);
    return 0;
  }
  if (std::strcmp(argv[1], "--alike") == 0)
    return r.inside(a) && r.inside(b) && alike(a, r, b, r.x, r.y) ? 0 : 1;
  // A panel's group of controls moves down as the rollouts above it open,
  // and sideways as the panel widens (a scroll bar).
  for (int dy = -r.y; r.inside(a) && r.y + dy + r.h <= b.h; dy++)
    for (int dx = -48; dx <= 48; dx++)
      if (r.x + dx >= 0 && r.x + dx + r.w <= b.w && alike(a, r, b, r.x + dx, r.y + dy))
        return std::printf("%d %d\n", dx, dy), 0;
  std::printf("none\n");
  return 0;
}

// Each patch of the colour (R, G, B), give or take 3 levels, in the
// rectangle: a button or a rollout's header, around the holes its label
// leaves. Patches of 100 pixels or more, in reading order: by their top
// row, then from the left.
int boxes(char **argv) {
  Image im;
  const Rect r = rect(argv + 3);
  const int c[3] = {std::atoi(argv[7]), std::atoi(argv[8]), std::atoi(argv[9])};
  if (!load(argv[2], &im) || !r.inside(im)) return 2;
  std::vector<char> seen((size_t)r.w * r.h);
  // Not yet seen and of the colour, inside the rectangle; marked seen.
  auto take = [&](int x, int y) {
    if (x < r.x || y < r.y || x >= r.x + r.w || y >= r.y + r.h) return false;
    char &s = seen[(size_t)(y - r.y) * r.w + (x - r.x)];
    return !s && near(im.at(x, y), c, 3) && (s = 1);
  };
  for (int y = r.y; y < r.y + r.h; y++)
    for (int x = r.x; x < r.x + r.w; x++) {
      if (!take(x, y)) continue;
      int x0 = x, x1 = x, y1 = y;
      long n = 0;
      for (std::vector<std::pair<int, int>> todo{{x, y}}; !todo.empty(); n++) {
        auto [px, py] = todo.back();
        todo.pop_back();
        x0 = std::min(x0, px), x1 = std::max(x1, px), y1 = std::max(y1, py);
        for (auto [qx, qy] : {std::pair{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}})
          if (take(qx, qy)) todo.push_back({qx, qy});
      }
      if (n >= 100) std::printf("%d %d %d %d\n", x0, y, x1, y1);
    }
  return 0;
}

int classes(char **argv) {
  Image im;
  if (!load(argv[1], &im)) return 2;
  const Rect a = rect(argv + 2);
  long red = 0, yellow = 0, blue = 0, black = 0, white = 0, panel = 0;
  int bx0 = 1 << 30, by0 = 1 << 30, bx1 = -1, by1 = -1;
  for (int y = std::max(a.y, 0); y < a.y + a.h && y < im.h; y++)
    for (int x = std::max(a.x, 0); x < a.x + a.w && x < im.w; x++) {
      const unsigned char *p = im.at(x, y);
      const int r = p[0], g = p[1], b = p[2];
      bool curve = false;
      if (r >= 200 && g <= 70 && b <= 70) red++, curve = true;
      else if (r >= 200 && g >= 150 && b <= 90) yellow++, curve = true;
      else if (r <= 70 && b >= 200) blue++;
      else if (r <= 12 && g <= 12 && b <= 12) black++;
      else if (r >= 243 && g >= 243 && b >= 243) white++;
      else if (std::abs(r - 41) <= 4 && std::abs(g - 43) <= 4 && std::abs(b - 48) <= 4) panel++;
      if (curve)
        bx0 = std::min(bx0, x), by0 = std::min(by0, y), bx1 = std::max(bx1, x),
        by1 = std::max(by1, y);
    }
  std::printf("red=%ld yellow=%ld blue=%ld black=%ld white=%ld panel=%ld "
              "left=%d top=%d right=%d bottom=%d\n",
              red, yellow, blue, black, white, panel, bx0, by0, bx1, by1);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  for (const char *two : {"--diff", "--alike", "--find"})
    if (argc == 8 && std::strcmp(argv[1], two) == 0) return compare(argv);
  if (argc == 10 && std::strcmp(argv[1], "--boxes") == 0) return boxes(argv);
  if (argc == 6) return classes(argv);
  std::fprintf(stderr, "usage: pixels FILE X Y W H | pixels --diff|--alike|--find A B X Y W H |"
                       " pixels --boxes FILE X Y W H R G B\n");
  return 2;
}
