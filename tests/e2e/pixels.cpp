// Counts the pixels of a screenshot (binary PPM) by colour class inside a
// rectangle, for the end-to-end tests:  pixels FILE X Y W H
#include <cstdio>
#include <cstdlib>
#include <vector>

// Reads the next header number, passing over blanks and # comments.
static bool number(FILE *f, int *v) {
  int c;
  while ((c = std::fgetc(f)) != EOF) {
    if (c == '#')
      while ((c = std::fgetc(f)) != EOF && c != '\n') {
      }
    else if (c > ' ') break;
  }
  if (c == EOF) return false;
  std::ungetc(c, f);
  return std::fscanf(f, "%d", v) == 1;
}

// "P6", width, height, maximum, then one blank before the pixels.
static bool header(FILE *f, int *w, int *h, int *maxv) {
  if (std::fgetc(f) != 'P' || std::fgetc(f) != '6') return false;
  bool ok = number(f, w) && number(f, h) && number(f, maxv);
  std::fgetc(f);
  return ok;
}

int main(int argc, char **argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: pixels FILE.ppm X Y W H\n");
    return 2;
  }
  FILE *f = std::fopen(argv[1], "rb");
  int w = 0, h = 0, maxv = 0;
  if (!f || !header(f, &w, &h, &maxv) || maxv != 255) {
    std::fprintf(stderr, "pixels: cannot read %s\n", argv[1]);
    return 2;
  }
  std::vector<unsigned char> px((size_t)w * h * 3);
  if (std::fread(px.data(), 1, px.size(), f) != px.size()) return 2;
  std::fclose(f);

  int x0 = std::atoi(argv[2]), y0 = std::atoi(argv[3]);
  int x1 = x0 + std::atoi(argv[4]), y1 = y0 + std::atoi(argv[5]);
  long red = 0, yellow = 0, black = 0, white = 0, grey = 0, panel = 0, total = 0;
  for (int y = y0; y < y1 && y < h; y++)
    for (int x = x0; x < x1 && x < w; x++) {
      const unsigned char *p = &px[((size_t)y * w + x) * 3];
      int r = p[0], g = p[1], b = p[2];
      total++;
      if (r >= 200 && g <= 70 && b <= 70) red++;
      else if (r >= 200 && g >= 150 && b <= 90) yellow++;
      else if (r <= 12 && g <= 12 && b <= 12) black++;
      else if (r >= 243 && g >= 243 && b >= 243) white++;
      else if (std::abs(r - 41) <= 4 && std::abs(g - 43) <= 4 && std::abs(b - 48) <= 4) panel++;
      else if (std::abs(r - g) <= 6 && std::abs(g - b) <= 6) grey++;
    }
  std::printf("red=%ld yellow=%ld black=%ld white=%ld grey=%ld panel=%ld total=%ld\n", red, yellow,
              black, white, grey, panel, total);
  return 0;
}
