// The process-wide state of the viewer: every variable the frame, the panels
// and the input handlers share, grouped by concern, with its unit or meaning.
#pragma once

struct Trajectory;

namespace ui {
class Spinner;
class Checkbox;
class Listbox;
} // namespace ui

// ---- Model parameters (single precision, as the panel edits them) ----------
extern float sigma, ro, beta;    // Lorenz sigma, rho, beta (10, 28, 8/3)
extern float aa, bb, cc;         // Roessler a, b, c (0.2, 0.2, 5.7)
extern float dsigma, dro, dbeta; // space-bar increments, Lorenz (0, 0.1, 0)
extern float daa, dbb, dcc;      // space-bar increments, Roessler (0.01, 0, 0)

// ---- Model, time window and playback ----------------------------------------
extern int attype;       // 0 Lorenz, 1 Roessler (any other value: Lorenz)
extern float dt;         // integration step, model time units (0.005)
extern float tmin;       // start of the drawn window, model time (50)
extern float tmax;       // end of this frame's replay, animated by idle (200)
extern float tmaxstatic; // end time the user chose on the "tmax" spinner (200)
extern int dynamic;      // playback: 0 Static, 1 Dynamic, 2 Segment (2)
extern int second;       // 1 = integrate and draw the twin trajectory (0)

// ---- Display options ---------------------------------------------------------
extern int map;               // 1 = maximum map instead of the 3-D curve (0)
extern int xygrid, box, axes; // reference figures on/off (1, 0, 0)
extern int tracer;            // 1 = dot on the head of the curve (0)
extern int coloring;          // colouring scheme 1..7 (3, "Red ghost")
extern int bg;                // background: 0 black, 1 white (0)
extern int thickness;         // stroke width in pixels: 1, 3 or 5 (1)
extern float zoom;            // scene scale factor (1)
extern int literalCalls;      // 1 = every width as asked and no flush within the frame:
                              // the calls exactly as the figures ask them (0)

// ---- Scene mapping -----------------------------------------------------------
extern int nx, ny;        // mapping divisors, both 1 and never changed
extern double &stretcher; // model scale: 1.0 Lorenz, 1.5 Roessler, set by each step
extern int i;             // loop counter of the x-y grid

// ---- Trajectories (double precision) -----------------------------------------
// The simulation core works on the record; the names are its fields.
extern Trajectory run;
extern double &x, &y, &z;             // main state after the latest step
extern double &x2, &y2, &z2;          // twin state after the latest step
extern double xo, yo, zo;             // built-in start point (5, 5, 1)
extern double &xsec, &ysec, &zsec;    // main start state, replay time 0
extern double &x2sec, &y2sec, &z2sec; // twin start state (main + 1e-5 at start-up)
extern double &xold, &yold, &zold;    // main state one step back
extern double &xoldt;                 // main x two steps back
extern double &x2old, &y2old, &z2old; // twin state one step back
extern double &k1x, &k2x, &k3x, &k4x; // stage slopes of the latest step, x
extern double &k1y, &k2y, &k3y, &k4y; // ... y
extern double &k1z, &k2z, &k3z, &k4z; // ... z
extern double &t;                     // model time reached in this frame's replay
extern int &n;                        // step index of this frame's replay
extern double xmaxold;                // previous maximum of |x| on the maximum map, never cleared

// ---- View ----------------------------------------------------------------------
extern double t1, t2;                     // rotation about the x and y axes, degrees
extern double xtranslate, ytranslate;     // pan summed over every right drag, scene units
extern double xtranslatemp, ytranslatemp; // pan at the last re-anchoring
extern int reseta;                        // 1 = the next frame takes the pan back out

// ---- Input memory ----------------------------------------------------------------
extern int KeyDown[256];            // 1 while the key with that character code is held
extern int zkeydown;                // 1 while the zoom cursor is on show
extern double xmouseold, ymouseold; // last pointer position seen, window pixels (400, 400)

// ---- Panel handles (owned by the panel layer, set once at start-up) --------------
extern ui::Spinner *ro_spinner, *sigma_spinner, *beta_spinner;
extern ui::Spinner *aa_spinner, *bb_spinner, *cc_spinner;
extern ui::Spinner *tmin_spinner, *tmax_spinner, *dt_spinner, *zoom_spinner;
extern ui::Checkbox *axes_checkbox, *box_checkbox, *xy_checkbox;
extern ui::Checkbox *tracer_checkbox, *max_checkbox, *twin_checkbox;
extern ui::Listbox *listbox, *listback, *listthick;
extern int open, open2, open3, open4; // rollouts open at start (all 0: closed)
