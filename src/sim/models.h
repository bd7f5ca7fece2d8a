// What the program knows of each attractor, one entry each: the vector
// field and its scale on screen, how the colouring, the maximum map and the
// divergence marker read it, its parameters as the panel shows them, and
// its equations. Values only: adding an attractor is an entry here and
// its field.
#pragma once

template <typename T> struct Vec3T { T x, y, z; };
using Vec3 = Vec3T<double>;

// The field at (x, y, z); p holds the parameters widened to double, in
// the panel's order.
using Field = Vec3 (*)(const double *p, double x, double y, double z);
// The field's derivative at (x, y, z) applied to v: how a small
// displacement v grows (the tangent dynamics).
using Tangent = Vec3 (*)(const double *p, double x, double y, double z, const Vec3 &v);

struct Parameter {
  const char *name;    // spinner label and settings key (ro, sigma, beta; aa, bb, cc as a, b, c)
  float lo, hi;        // spinner limits
  float start;         // start-up value, restored by Reset
  const char *incName; // label of the increment's spinner (dro, dsigma, ...)
  float incStart;      // start-up increment, added by the space bar (never reset)
};

struct Model {
  const char *key;         // its table in a settings file
  const char *name;        // radio button of the "Attractor" panel
  const char *rollout;     // the parameters' rollout, blanks kept
  bool separatorInRollout; // the rollout's separator sits inside it (else after it)
  Field field;
  Tangent tangent;
  double stretcher;    // scale of the model in the scene (Lorenz 1, Roessler 1.5)
  double speedGain;    // "Speed" colouring: green per unit of |k1|
  double mapDivisor;   // maximum map: a value v plots at zoom v / divisor - 2
  bool mapAbsolute;    // maximum map: |x| (Lorenz), or x > 0 only (Roessler)
  double markerRate;   // divergence marker: model y falls this much per time unit
  Parameter params[3]; // in panel order
  const char *info[7]; // the "Info" rollout's lines
};

const int MODELS = 2;
extern const Model models[MODELS]; // by attype: 0 Lorenz, 1 Roessler

// The drawing's model: none for an attype outside the table, which then
// draws no maximum-map point, no marker point and no "Speed" colour.
const Model *drawnModel(int attype);
// The integration's entry: attype itself, or Lorenz (0) for an attype
// outside the table.
int integratedIndex(int attype);
