// The viewer's Runge-Kutta step: the core's step on a process-wide state
// triple, under the model attype selects, with the parameters and dt as
// the panel holds them now.
#include "sim/rk4.h"

#include "sim/core.h"
#include "state/state.h"

void rk4Step(double &x, double &y, double &z) {
  const Model &m = integratedModel(attype);
  double p[3];
  currentParameters(m, p);
  rk4(m, p, dt, x, y, z, run.k);
  stretcher = m.stretcher;
}
