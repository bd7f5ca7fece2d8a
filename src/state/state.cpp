// Definitions and start-up values of the process-wide state, and the
// static initialisation that derives the start states before main runs.
#include "state/state.h"

#include "sim/core.h"

float sigma = 10.0f, ro = 28.0f, beta = 8.0f / 3.0f;
float aa = 0.2f, bb = 0.2f, cc = 5.7f;
float dsigma = 0.0f, dro = 0.1f, dbeta = 0.0f;
float daa = 0.01f, dbb = 0.0f, dcc = 0.0f;

int attype = 0;
float dt = 0.005f;
float tmin = 50.0f;
float tmax = 200.0f;
int dynamic = 2;
int second = 0;

int map = 0;
int xygrid = 1, box = 0, axes = 0;
int tracer = 0;
int coloring = 3;
int bg = 0;
int thickness = 1;
float zoom = 1.0f;
int literalCalls = 0;

int nx = 1, ny = 1;
int i = 0;
double xo = 5, yo = 5, zo = 1;
double xmaxold = 0;

double t1 = 0, t2 = 0;
double xtranslate = 0, ytranslate = 0;
double xtranslatemp = 0, ytranslatemp = 0;
int reseta = 0;

int KeyDown[256] = {0};
int zkeydown = 0;
double xmouseold = 400, ymouseold = 400;

ui::Spinner *ro_spinner = nullptr, *sigma_spinner = nullptr, *beta_spinner = nullptr;
ui::Spinner *aa_spinner = nullptr, *bb_spinner = nullptr, *cc_spinner = nullptr;
ui::Spinner *tmin_spinner = nullptr, *tmax_spinner = nullptr, *dt_spinner = nullptr,
            *zoom_spinner = nullptr;
ui::Checkbox *axes_checkbox = nullptr, *box_checkbox = nullptr, *xy_checkbox = nullptr;
ui::Checkbox *tracer_checkbox = nullptr, *max_checkbox = nullptr, *twin_checkbox = nullptr;
ui::Listbox *listbox = nullptr, *listback = nullptr, *listthick = nullptr;
int open = 0, open2 = 0, open3 = 0, open4 = 0;

// Derived before main, in this translation unit's definition order: the
// start states from the built-in point, the twin 1e-5 away in each
// coordinate, and the user's end time from the replayed one. History,
// slopes, t and n start at 0, stretcher at 1.
Trajectory run = {
    5, 5, 1, 5, 5, 1, xo, yo, zo, xo + 1e-5, yo + 1e-5, zo + 1e-5,
    0, 0, 0, 0, 0, 0, 0,  {}, 0,  0,         1.0,
};
float tmaxstatic = tmax;

double &x = run.x, &y = run.y, &z = run.z;
double &x2 = run.x2, &y2 = run.y2, &z2 = run.z2;
double &xsec = run.xsec, &ysec = run.ysec, &zsec = run.zsec;
double &x2sec = run.x2sec, &y2sec = run.y2sec, &z2sec = run.z2sec;
double &xold = run.xold, &yold = run.yold, &zold = run.zold, &xoldt = run.xoldt;
double &x2old = run.x2old, &y2old = run.y2old, &z2old = run.z2old;
double &k1x = run.k.k1.x, &k2x = run.k.k2.x, &k3x = run.k.k3.x, &k4x = run.k.k4.x;
double &k1y = run.k.k1.y, &k2y = run.k.k2.y, &k3y = run.k.k3.y, &k4y = run.k.k4.y;
double &k1z = run.k.k1.z, &k2z = run.k.k2.z, &k3z = run.k.k3.z, &k4z = run.k.k4.z;
double &t = run.t;
int &n = run.n;
double &stretcher = run.stretcher;
