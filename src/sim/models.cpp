// The attractor table: Lorenz and Roessler, with every number the program
// uses of them; their fields are written once, for any number type, in
// fields-inl.h.
#include "sim/models.h"

namespace {

#include "sim/fields-inl.h"

// Entry m's field and tangent for the scalar core: the m-th of Fields.
template <int M> Vec3 fieldOf(const double *p, double x, double y, double z) {
  return typename FieldAt<M, Fields>::type{}.field(p, x, y, z);
}
template <int M> Vec3 tangentOf(const double *p, double x, double y, double z, const Vec3 &v) {
  return typename FieldAt<M, Fields>::type{}.tangent(p, x, y, z, v);
}

} // namespace

const Model models[MODELS] = {
    {"lorenz",
     "Lorentz",
     " Lorentz  Parameters",
     true,
     fieldOf<0>,
     tangentOf<0>,
     1.0,
     0.005,
     6,
     true,
     0.5,
     {{"ro", 1, 300, 28, "dro", 0.1f},
      {"sigma", 0.1f, 20, 10, "dsigma", 0},
      {"beta", 0.1f, 60, 8.0f / 3.0f, "dbeta", 0}},
     {"Lorentz attractor:", "dx/dt = sigma*(y-x),", "dy/dt = x*(ro-z)-y,", "dz/dt = x*y-beta*z.",
      "Maximum Map:", "|(n+1)th x maximum| vs", "|nth x maximum|."}},
    {"roessler",
     "Roessler",
     "   Roessler  Parameters",
     false,
     fieldOf<1>,
     tangentOf<1>,
     1.5,
     0.02,
     5,
     false,
     0.05,
     {{"a", 0.01f, 10, 0.2f, "da", 0.01f},
      {"b", 0.01f, 10, 0.2f, "db", 0},
      {"c", 0.1f, 50, 5.7f, "dc", 0}},
     {"Roessler attractor:", "dx/dt =-y-z,", "dy/dt=x+a*y,", "dz/dt=b+z*(x-c).",
      "Maximum Map:", "(n+1)th x maximum vs", "nth x maximum."}},
};

const Model *drawnModel(int attype) {
  return attype >= 0 && attype < MODELS ? &models[attype] : nullptr;
}

int integratedIndex(int attype) {
  return attype >= 0 && attype < MODELS ? attype : 0;
}
