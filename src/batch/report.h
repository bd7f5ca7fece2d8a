// What the batch program prints of Lyapunov exponents: each with the digits
// its error supports, a run's or runs' lines, and the JSON of every number.
#pragma once

#include <nlohmann/json_fwd.hpp>

#include <string>
#include <vector>

#include "batch/lyapunov.h"
#include "state/settings.h"

// v with the digits its standard error e supports (e to two significant
// digits, v to the same decimal place), never "-0"; v in its shortest
// round-trip form when e is 0.
std::string withError(double v, double e);

// The exponents as the program prints them, "name = value +- error" lines.
std::string exponentLines(const Exponents &e);
// Each run's lines, then their mean's; a single run's alone.
std::string linesOf(const std::vector<Exponents> &runs, const Exponents &mean);

// The exponents' numbers in full: values, errors, zeros, and with the
// spectrum the sum, the divergence, the dimension; a fixed point's place.
nlohmann::json jsonOf(const Exponents &e);
// The mean's JSON with what produced it: the settings as they were read,
// the run's options, the program's version, and each of several runs.
nlohmann::json jsonReport(const Settings &s, const LyapunovRun &r,
                          const std::vector<Exponents> &runs, const Exponents &mean);
// The same as the program prints it.
std::string jsonText(const Settings &s, const LyapunovRun &r, const std::vector<Exponents> &runs,
                     const Exponents &mean);
