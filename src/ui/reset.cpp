// The two action buttons, Reset and Random Initial Condition, as the
// panels press them. Both write state only and leave the drawing to the
// next frame.
#include "ui/reset.h"

#include <GL/freeglut.h>

#include "interact/actions.h"

void resetButton(Settings &set, Picture &pic) {
  reset(set, pic);
  glutPostRedisplay();
}

void initialButton(Picture &pic) {
  initial(pic);
  glutPostRedisplay();
}
