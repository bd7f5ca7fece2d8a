// Definitions and start-up values of the process-wide state, and the
// static initialisation that derives the start states before main runs.
#include "app/state.h"

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
double stretcher = 1.0;
int i = 0;

double x = 5, y = 5, z = 1;
double x2 = 5, y2 = 5, z2 = 1;
double xo = 5, yo = 5, zo = 1;
double xold = 0, yold = 0, zold = 0;
double xoldt = 0;
double x2old = 0, y2old = 0, z2old = 0;
double k1x = 0, k2x = 0, k3x = 0, k4x = 0;
double k1y = 0, k2y = 0, k3y = 0, k4y = 0;
double k1z = 0, k2z = 0, k3z = 0, k4z = 0;
double t = 0;
int n = 0;
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
// coordinate, and the user's end time from the replayed one.
double xsec = xo, ysec = yo, zsec = zo;
double x2sec = xo + 1e-5, y2sec = yo + 1e-5, z2sec = zo + 1e-5;
float tmaxstatic = tmax;
