// The simulation core: the Runge-Kutta step and one frame's replay over
// explicit state and parameters. Nothing here reads or writes a
// process-wide variable, so threads may run it at once on states of their
// own; the viewer runs it on the trajectory of its record.
#pragma once

#include <vector>

#include "sim/models.h"

struct Slopes {
  Vec3 k1, k2, k3, k4; // the field at the four stage points of a step
};

// One classical fourth-order step of dt, in place; p as the model's field takes it.
void rk4(const Model &m, const double *p, float dt, double &x, double &y, double &z, Slopes &k);

// What a replay reads and writes, between frames and during one.
struct Trajectory {
  double x, y, z;                 // main state after the latest step
  double x2, y2, z2;              // twin state after the latest step
  double xsec, ysec, zsec;        // main start state (replay time 0)
  double x2sec, y2sec, z2sec;     // twin start state
  double xold, yold, zold, xoldt; // main state one step back; x two steps back
  double x2old, y2old, z2old;     // twin state one step back
  Slopes k;                       // the main trajectory's slopes of the latest step
  double t;                       // model time reached
  int n;                          // step index
  double stretcher;               // the model's scene scale, left by every step
};

// The steps of a time window, counted as the replay and the sweeps count
// them, in single precision: how many n = 0, 1, ... have (float)n < limit
// (a window's steps), and how many have (float)n <= limit (the first step
// past it). The Lyapunov runs count in double: (double)n < limit.
long stepsBelow(float limit);
long stepsUpTo(float limit);
long stepsBelow(double limit);

// A system the core runs: the attractor integrated, its parameters widened,
// the step and where it starts. Made once from a settings record; the
// replay, the twin, the spectrum and both sweeps each run one.
struct System {
  const Model *model;
  double p[3];
  float dt;
  double start[3]; // the replay starts from its trajectory's own
};

// What one frame's replay is asked.
struct ReplaySettings : System {
  float tmin, tmax;
  int dynamic; // 2 = Segment: the start moves ten steps a frame
  int second;  // 1 = the twin is stepped too
};

// Whether a replay stops after the step it has just taken, asked every 256
// steps with the context it was given: a frame's deadline, a signal's flag.
// Without a question it never stops.
struct Cut {
  bool (*ask)(void *context) = nullptr;
  void *context = nullptr;
  bool operator()() const { return ask && ask(context); }
};

// The maximum map's test of the latest step: a strict local maximum of |x|
// at the step's start (recovered from the new x and the slopes as the step
// formed it), which m may keep only when x is then positive. On acceptance
// top is that |x| and shown the value the map plots against the previous top.
bool mapMaximum(const Model &m, const Trajectory &tr, float dt, double &top, double &shown);

// The points the maximum map takes over one replay, in time order: each
// drawn step that mapMaximum accepts; cut as for replaySteps.
struct MapPoint {
  double top, shown;
};
std::vector<MapPoint> replayMaxima(const ReplaySettings &r, Trajectory &tr, Cut cut = {});

// The natural logarithm of the distance between the main and twin states.
double lnSeparation(const Trajectory &tr);

// Current states from the start states, t = 0; the history is kept.
void loadStart(Trajectory &tr);

// Whether the main state is finite: NaN and infinity, once reached, never leave.
bool mainFinite(const Trajectory &tr);
// For a replay that ended outside the finite numbers: the time the main
// trajectory left them, stepping again from tr's start states.
double leftFiniteAt(const ReplaySettings &r, Trajectory tr);

// Up to tmax/dt steps. Each step past tmin is handed to
// drawStep(ctx, last), last being true on the final one. cut, asked every
// 256 steps after the step is taken, ends the replay early: that step is
// then the last.
using StepSink = void (*)(void *ctx, bool last);
void replaySteps(const ReplaySettings &r, Trajectory &tr, StepSink drawStep, void *ctx,
                 Cut cut = {});

// The same replay in parts: from step tr.n on (0 begins it), until pause,
// asked every 256 steps, stops it after a step that is not its last; true
// once the replay has ended. Parts make the same steps, bit for bit, as one
// replay.
bool continueSteps(const ReplaySettings &r, Trajectory &tr, StepSink drawStep, void *ctx,
                   Cut pause);
