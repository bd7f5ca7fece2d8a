// The two vector fields and the classical fourth-order Runge-Kutta step.
// Every operation is one IEEE double operation in the order written below:
// the flows are chaotic, so another order shows as another curve.
#include "sim/rk4.h"

#include "app/state.h"

namespace {

struct Slope {
  double x, y, z;
};

// ======== Lorenz: sigma (y - x), x (rho - z) - y, x y - beta z ================
Slope lorenz(double x, double y, double z) {
  double s = sigma, r = ro, b = beta;
  return {s * (y - x), x * (r - z) - y, x * y - b * z};
}

// ======== Roessler: -y - z, x + a y, b + z (x - c) =============================
Slope roessler(double x, double y, double z) {
  double a = aa, b = bb, c = cc;
  return {-y - z, x + a * y, b + z * (x - c)};
}

Slope field(double x, double y, double z) {
  return attype == 1 ? roessler(x, y, z) : lorenz(x, y, z);
}

// S = k1 + 2 k2, then + 2 k3, then + k4; the update is (S dt) / 6.
double advance(double c, double k1, double k2, double k3, double k4, double D) {
  double S = k1 + 2 * k2;
  S = S + 2 * k3;
  S = S + k4;
  return c + (S * D) / 6;
}

} // namespace

// ======== One step of dt ======================================================
void rk4Step(double &x, double &y, double &z) {
  double D = dt;
  double h = D * 0.5;
  Slope a = field(x, y, z);
  Slope b = field(x + h * a.x, y + h * a.y, z + h * a.z);
  Slope c = field(x + h * b.x, y + h * b.y, z + h * b.z);
  Slope d = field(x + D * c.x, y + D * c.y, z + D * c.z);

  x = advance(x, a.x, b.x, c.x, d.x, D);
  y = advance(y, a.y, b.y, c.y, d.y, D);
  z = advance(z, a.z, b.z, c.z, d.z, D);

  k1x = a.x, k1y = a.y, k1z = a.z;
  k2x = b.x, k2y = b.y, k2z = b.z;
  k3x = c.x, k3y = c.y, k3z = c.z;
  k4x = d.x, k4y = d.y, k4z = d.z;
  stretcher = attype == 1 ? 1.5 : 1.0;
}
