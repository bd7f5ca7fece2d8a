// The statistics of Lyapunov exponents: a run's or runs' exponents with
// their standard errors, the zeros among them, their sum and the
// Kaplan-Yorke dimension, and the check of the sum against the flow.
#pragma once

#include <cmath>
#include <string>
#include <vector>

struct Exponents {
  int count = 0;                            // 1, or 3 with the spectrum
  double value[3] = {0, 0, 0};              // per time unit, largest first
  double error[3] = {0, 0, 0};              // standard error of each
  bool zero[3] = {false, false, false};     // within two standard errors of 0
  double sum = 0, sumError = 0;             // of the three, with the spectrum
  double dimension = 0, dimensionError = 0; // Kaplan-Yorke, zeros taken as 0
  double divergence = NAN;                  // the flow's, averaged along the run (spectrum)
  std::string warning;                      // the sum misses it: what to change
  bool fixedPoint = false;                  // the run stood still: a point's exponents
  double point[3] = {0, 0, 0};              // where
  int status = 0;                           // not 0: the run failed, and no number stands
  std::string problem;                      // then: what went wrong and what to change
};

// The exponents of the samples' mean (blocks of one run, or runs), with the
// samples' standard errors.
Exponents summarise(int count, const double *value,
                    const std::vector<std::vector<double>> &samples);

// The runs' mean, with their spread as its standard error; a point's
// exponents when every run stood on one.
Exponents meanOf(const std::vector<Exponents> &runs, float dt);

// A sum of the spectrum that misses the flow's divergence (beyond ten of its
// errors and a thousandth) comes from a step too coarse: e.warning says so.
void checkDivergence(Exponents &e, float dt);
// What that warning says of the step.
std::string coarseStep(float dt);

// Standard error of the values' mean; 0 for fewer than two.
double standardError(const std::vector<double> &values);

// Kaplan-Yorke dimension of exponents sorted largest first.
double kaplanYorke(const double *l, int n);
