// The simulation core: the Runge-Kutta step and one frame's replay. Every
// operation is one IEEE double operation in the order written: the flows
// are chaotic, so another order shows as another curve. Step counts and
// the time window are decided in single precision.
#include "sim/core.h"

#include <climits>
#include <cmath>

namespace {

void shiftHistory(Trajectory &tr) {
  tr.xoldt = tr.xold;
  tr.xold = tr.x, tr.yold = tr.y, tr.zold = tr.z;
  tr.x2old = tr.x2, tr.y2old = tr.y2, tr.z2old = tr.z2;
}

bool allFinite(const Trajectory &tr) {
  return std::isfinite(tr.x) && std::isfinite(tr.y) && std::isfinite(tr.z) &&
         std::isfinite(tr.x2) && std::isfinite(tr.y2) && std::isfinite(tr.z2);
}

// Segment playback: the next frame starts ten steps further on. A run that
// has blown up is not carried over, so bringing dt back brings the curve back.
void anchorSegment(const ReplaySettings &r, Trajectory &tr) {
  if (r.dynamic != 2 || tr.n != 10 || !allFinite(tr)) return;
  tr.xsec = tr.x, tr.ysec = tr.y, tr.zsec = tr.z;
  tr.x2sec = tr.x2, tr.y2sec = tr.y2, tr.z2sec = tr.z2;
}

} // namespace

// ======== One step of dt ========================================================
namespace {

// The comparisons of the maximum test, on numbers.
double magnitude(double v) {
  return std::fabs(v);
}
bool greater(double a, double b) {
  return a > b;
}
bool both(bool a, bool b) {
  return a && b;
}

#include "sim/fields-inl.h"

// The table's field, as the step's template calls a field.
struct TableField {
  const Model *m;
  Vec3 field(const double *p, double x, double y, double z) const { return m->field(p, x, y, z); }
};

} // namespace

void rk4(const Model &m, const double *p, float dt, double &x, double &y, double &z, Slopes &k) {
  Vec3 stages[4];
  rk4Stages(TableField{&m}, p, (double)dt, x, y, z, stages);
  k = {stages[0], stages[1], stages[2], stages[3]};
}

// ======== The maximum map's maxima ================================================
bool mapMaximum(const Model &m, const Trajectory &tr, float dt, double &top, double &shown) {
  const Slopes &k = tr.k;
  const double start = std::fabs(stepStart(tr.x, k.k1.x, k.k2.x, k.k3.x, k.k4.x, (double)dt));
  if (!isMaximum(start, tr.xoldt, tr.x, m.mapAbsolute)) return false;
  top = start;
  shown = m.mapAbsolute ? std::fabs(tr.x) : tr.x;
  return true;
}

double lnSeparation(const Trajectory &tr) {
  double dx = tr.x - tr.x2, dy = tr.y - tr.y2, dz = tr.z - tr.z2;
  return std::log(std::sqrt(dx * dx + dy * dy + dz * dz));
}

// ======== Load ==================================================================
void loadStart(Trajectory &tr) {
  tr.x = tr.xsec, tr.y = tr.ysec, tr.z = tr.zsec;
  tr.x2 = tr.x2sec, tr.y2 = tr.y2sec, tr.z2 = tr.z2sec;
  tr.t = 0;
}

bool mainFinite(const Trajectory &tr) {
  return std::isfinite(tr.x) && std::isfinite(tr.y) && std::isfinite(tr.z);
}

double leftFiniteAt(const ReplaySettings &r, Trajectory tr) {
  loadStart(tr);
  Slopes k;
  while (mainFinite(tr) && (float)tr.t < r.tmax) {
    rk4(*r.model, r.p, r.dt, tr.x, tr.y, tr.z, k);
    tr.t = tr.t + (double)r.dt;
  }
  return tr.t;
}

// ======== Step counts ===========================================================
namespace {

// The first n for which below(n) is false, below being true up to some n
// and false from there on: doubling until it is false, then halving the gap.
template <typename Below> long firstNot(Below below) {
  if (!below(0)) return 0;
  long yes = 0, no = 1;
  while (below(no)) {
    if (no > LONG_MAX / 4) return no; // no window is this long
    yes = no, no *= 2;
  }
  while (no - yes > 1) {
    const long mid = yes + (no - yes) / 2;
    (below(mid) ? yes : no) = mid;
  }
  return no;
}

} // namespace

long stepsBelow(float limit) {
  return firstNot([limit](long n) { return (float)n < limit; });
}

long stepsUpTo(float limit) {
  return firstNot([limit](long n) { return (float)n <= limit; });
}

long stepsBelow(double limit) {
  return firstNot([limit](long n) { return (double)n < limit; });
}

// ======== Replay ================================================================
// The twin is stepped before the main trajectory, so the slopes left for
// the drawing are the main one's. A replay cut short ends on the step it
// was asked at; the anchoring at step 10 comes before the first question.
namespace {

enum Stop { ENDED, CUT, PAUSED };

Stop steps(const ReplaySettings &r, Trajectory &tr, StepSink drawStep, void *ctx, Cut cut,
           Cut pause) {
  Slopes twin;
  const long end = stepsBelow(r.tmax / r.dt), drawnFrom = stepsUpTo(r.tmin / r.dt);
  for (; tr.n < end; tr.n = tr.n + 1) {
    shiftHistory(tr);
    anchorSegment(r, tr);
    if (r.second == 1) rk4(*r.model, r.p, r.dt, tr.x2, tr.y2, tr.z2, twin);
    rk4(*r.model, r.p, r.dt, tr.x, tr.y, tr.z, tr.k);
    tr.stretcher = r.model->stretcher;
    tr.t = tr.t + (double)r.dt;
    bool asked = (tr.n & 255) == 255;
    bool ended = asked && cut();
    bool last = ended || tr.n + 1 >= end;
    if (tr.n >= drawnFrom) drawStep(ctx, last);
    if (ended || (!last && asked && pause())) {
      tr.n = tr.n + 1;
      return ended ? CUT : PAUSED;
    }
  }
  return ENDED;
}

} // namespace

void replaySteps(const ReplaySettings &r, Trajectory &tr, StepSink drawStep, void *ctx, Cut cut) {
  tr.n = 0;
  steps(r, tr, drawStep, ctx, cut, {});
}

bool continueSteps(const ReplaySettings &r, Trajectory &tr, StepSink drawStep, void *ctx,
                   Cut pause) {
  return steps(r, tr, drawStep, ctx, {}, pause) != PAUSED;
}

// ======== The maxima of a replay ================================================
namespace {

struct MaximaSink {
  const ReplaySettings *r;
  const Trajectory *tr;
  std::vector<MapPoint> *out;
};

void keepMaximum(void *ctx, bool) {
  const MaximaSink &m = *static_cast<MaximaSink *>(ctx);
  MapPoint p;
  if (mapMaximum(*m.r->model, *m.tr, m.r->dt, p.top, p.shown)) m.out->push_back(p);
}

} // namespace

std::vector<MapPoint> replayMaxima(const ReplaySettings &r, Trajectory &tr, Cut cut) {
  std::vector<MapPoint> out;
  MaximaSink sink{&r, &tr, &out};
  replaySteps(r, tr, keepMaximum, &sink, cut);
  return out;
}
