// Lyapunov exponents of a run of the simulation core: the largest by a
// renormalised twin, or all three by the tangent dynamics with QR; their
// standard errors, the zeros among them, and the numbers printed of them.
#pragma once

#include <string>
#include <vector>

#include "sim/models.h"

struct LyapunovRun {
  const Model *model;
  double p[3];                          // its parameters, widened
  float dt;                             // the step, as the viewer holds it
  double start[3];                      // where the transient starts
  double transient = 100, time = 10000; // time units: skipped, then measured
  double tau = 1;                       // time units between reported renormalisations
  double d0 = 1e-8;                     // the twin's distance after each renormalisation
  int blocks = 10;                      // the run is cut into these for the standard errors
  bool spectrum = false;
};

struct Exponents {
  int count = 0;                            // 1, or 3 with the spectrum
  double value[3] = {0, 0, 0};              // per time unit, largest first
  double error[3] = {0, 0, 0};              // standard error of each
  bool zero[3] = {false, false, false};     // within two standard errors of 0
  double sum = 0, sumError = 0;             // of the three, with the spectrum
  double dimension = 0, dimensionError = 0; // Kaplan-Yorke, zeros taken as 0
  int status = 0;                           // not 0: the run failed, and no number stands
  std::string problem;                      // then: what went wrong and what to change
};

// trace, when given, gets "t,lambda1[,lambda2,lambda3]" rows: the running
// estimate at each reported renormalisation.
Exponents lyapunov(const LyapunovRun &r, std::string *trace = nullptr);

// The exponents of the samples' mean (blocks of one run, or runs), with the
// samples' standard errors.
Exponents summarise(int count, const double *value,
                    const std::vector<std::vector<double>> &samples);

// Standard error of the mean of n values, from their sum and the sum of
// their squares; 0 for fewer than two.
double standardError(double sum, double squares, int n);

// Kaplan-Yorke dimension of exponents sorted largest first.
double kaplanYorke(const double *l, int n);

// v with the digits its standard error e supports (e to two significant
// digits, v to the same decimal place), never "-0"; v in its shortest
// round-trip form when e is 0.
std::string withError(double v, double e);

// The exponents as the program prints them, "name = value +- error" lines.
std::string exponentLines(const Exponents &e);
