// The two action buttons: Reset and Random Initial Condition. Both write
// state only and leave the drawing to the next frame.
#include "ui/reset.h"

#include <GL/freeglut.h>

#include <cstdlib>
#include <cstring>

// ======== Reset ===================================================================
// The start-up settings, but for the attractor, the increments and the pan
// (the next frame takes the pan out); the main start goes back, the twin's
// start and the maximum map's memory stay.
void reset(Settings &set, Picture &pic) {
  const Settings &s = startUpSettings();
  Settings kept = set;
  set = s;
  set.attype = kept.attype;
  std::memcpy(set.incs, kept.incs, sizeof set.incs);
  set.xtranslate = kept.xtranslate, set.ytranslate = kept.ytranslate;
  Trajectory &r = pic.run;
  r.xsec = s.start[0], r.ysec = s.start[1], r.zsec = s.start[2];
  pic.tmax = s.tmaxstatic;
  pic.pan.reseta = 1;
  glutPostRedisplay();
}

// ======== Random Initial Condition ==================================================
// x and y uniform over [-20, 20], z over [10, 20]. The generator is never
// seeded, so every run draws the same sequence of starts.
void initial(Picture &pic) {
  Trajectory &r = pic.run;
  double r1 = std::rand(), r2 = std::rand(), r3 = std::rand();
  r.xsec = r1 * 40.0 / 2147483647.0 - 20.0;
  r.ysec = r2 * 40.0 / 2147483647.0 - 20.0;
  r.zsec = r3 * 10.0 / 2147483647.0 + 10.0;
  r.x2sec = r.xsec + 1e-9, r.y2sec = r.ysec + 1e-9, r.z2sec = r.zsec + 1e-9;
  glutPostRedisplay();
}
