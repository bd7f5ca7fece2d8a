// The two action buttons: Reset and Random Initial Condition. Both write
// state and controls only and leave the drawing to the next frame.
#include "ui/reset.h"

#include <GL/freeglut.h>

#include <cstdlib>

#include "sim/models.h"
#include "state/state.h"
#include "ui/layer.h"

// ======== Reset ===================================================================
// Leaves the attractor, the increments, the twin's start and the maximum
// map's memory alone; the pan is taken out by the next frame.
void reset(int) {
  for (const Model &m : models)
    for (const Parameter &q : m.params) {
      *q.value = q.start;
      (*q.spinner)->set_float_val(*q.value);
    }
  zoom = 1;
  zoom_spinner->set_float_val(1);

  tmin = 50;
  xsec = 5, ysec = 5, zsec = 1;
  t1 = 0, t2 = 0;
  dynamic = 2;
  map = 0, tracer = 0, box = 0;
  dt = 0.005f;
  second = 0;
  xygrid = 1, axes = 0;
  coloring = 3, bg = 0, thickness = 1;
  tmax = 200;
  tmin_spinner->set_float_val(50);
  tmax_spinner->set_float_val(tmax);
  dt_spinner->set_float_val(dt);

  axes_checkbox->set_int_val(axes);
  box_checkbox->set_int_val(box);
  xy_checkbox->set_int_val(xygrid);
  max_checkbox->set_int_val(map);
  listbox->set_int_val(coloring);
  listback->set_int_val(bg);
  listthick->set_int_val(thickness);
  tracer_checkbox->set_int_val(tracer);
  twin_checkbox->set_int_val(second);

  reseta = 1;
  glutPostRedisplay();
}

// ======== Random Initial Condition ==================================================
// x and y uniform over [-20, 20], z over [10, 20]. The generator is never
// seeded, so every run draws the same sequence of starts.
void initial(int) {
  double r1 = std::rand(), r2 = std::rand(), r3 = std::rand();
  xsec = r1 * 40.0 / 2147483647.0 - 20.0;
  ysec = r2 * 40.0 / 2147483647.0 - 20.0;
  zsec = r3 * 10.0 / 2147483647.0 + 10.0;
  x2sec = xsec + 1e-9, y2sec = ysec + 1e-9, z2sec = zsec + 1e-9;
  glutPostRedisplay();
}
