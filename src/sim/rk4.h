// The two vector fields and the classical fourth-order Runge-Kutta step.
#pragma once

// Advances (x, y, z) in place by one step of dt under the model attype
// selects; leaves the stage slopes k1x..k4z and the model's stretcher.
void rk4Step(double &x, double &y, double &z);
