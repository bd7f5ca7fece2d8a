// The colouring schemes. Colours are computed in double, narrowed for
// glColor3f by the strokes; channels outside 0..1 are left for the
// pipeline to clamp.
#include "sim/colourings.h"

#include <algorithm>
#include <cmath>

#include "sim/models.h"

namespace {

bool quasiperiodic(const ColourInputs &in, double c[3]) {
  c[0] = 0.95 * (0.5 + 0.5 * std::sin(in.t / 10));
  c[1] = 0.95 * (0.5 + 0.5 * std::cos(in.t / 3.13));
  c[2] = 0.95 * (0.5 + 0.5 * std::sin(in.t / 5));
  return true;
}

// Red, greener with the speed |k1|, at the attractor's own gain.
bool speed(const ColourInputs &in, double c[3]) {
  if (!in.model) return false;
  double k = std::sqrt(in.k1[0] * in.k1[0] + in.k1[1] * in.k1[1] + in.k1[2] * in.k1[2]);
  c[0] = 1, c[1] = in.model->speedGain * k, c[2] = 0;
  return true;
}

// Young segments yellow, older ones red; the green goes below 0 with age.
bool redGhost(const ColourInputs &in, double c[3]) {
  double p = std::pow(10, in.tmax - in.t);
  c[0] = 1, c[1] = 1 - p / 20, c[2] = 0;
  return true;
}

// Three bells along x with base 2.7; the red one is the widest.
bool redGreenBlue(const ColourInputs &in, double c[3]) {
  double x = in.x;
  c[0] = std::pow(2.7, -((x + 20) * (x + 20)) / 625);
  c[1] = std::pow(2.7, -(x * x) / 100);
  c[2] = std::pow(2.7, -((x - 20) * (x - 20)) / 100);
  return true;
}

bool blackWhite(const ColourInputs &in, double c[3]) {
  c[0] = c[1] = c[2] = 1 - in.bg;
  return true;
}

bool greyGhost(const ColourInputs &in, double c[3]) {
  c[0] = c[1] = c[2] = std::pow(10, (in.t - in.tmax) * 0.5) + 0.2;
  return true;
}

bool greenBlue(const ColourInputs &in, double c[3]) {
  c[0] = 0;
  c[1] = 0.95 * (0.5 + 0.5 * std::cos(in.t / 3.13));
  c[2] = 0.95 * (0.5 + 0.5 * std::sin(in.t));
  return true;
}

} // namespace

const Colouring colourings[COLOURINGS] = {
    {1, "Quasiperiodic", quasiperiodic, false}, {2, "Speed", speed, false},
    {3, "Red ghost", redGhost, true},           {4, "Red/Green/Blue", redGreenBlue, false},
    {5, "Black/White", blackWhite, false},      {6, "Grey ghost", greyGhost, true},
    {7, "Green-Blue", greenBlue, false},
};

const Colouring *colouringFor(int id) {
  const Colouring *end = colourings + COLOURINGS;
  const Colouring *c =
      std::find_if(colourings, end, [id](const Colouring &k) { return k.id == id; });
  return c == end ? nullptr : c;
}

// 0 in single precision past an age of about 46, which GL refuses.
double ghostWidth(double t, double tmax) {
  return 4 * std::pow(10, t - tmax) / 0.7;
}
