// Lyapunov exponents of a run of the simulation core: the largest by a
// renormalised twin, or all three by the tangent dynamics with QR.
#pragma once

#include <string>

#include "sim/models.h"

struct LyapunovRun {
  const Model *model;
  double p[3];                          // its parameters, widened
  float dt;                             // the step, as the viewer holds it
  double start[3];                      // where the transient starts
  double transient = 100, time = 10000; // time units: skipped, then measured
  double tau = 1;                       // time units between renormalisations
  double d0 = 1e-8;                     // the twin's distance after each renormalisation
  int blocks = 10;                      // the run is cut into these for the standard errors
  bool spectrum = false;
};

struct Exponents {
  int count;        // 1, or 3 with the spectrum
  double value[3];  // per time unit, largest first
  double error[3];  // standard error of each over the blocks
  double dimension; // Kaplan-Yorke, with the spectrum
};

// trace, when given, gets "t,lambda1[,lambda2,lambda3]" rows: the running
// estimate at each renormalisation.
Exponents lyapunov(const LyapunovRun &r, std::string *trace = nullptr);

// Standard error of the mean of n values, from their sum and the sum of
// their squares; 0 for fewer than two.
double standardError(double sum, double squares, int n);

// Kaplan-Yorke dimension of exponents sorted largest first.
double kaplanYorke(const double *l, int n);
