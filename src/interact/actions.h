// What the scene's gestures, keys and buttons do to the settings and the
// picture, for any front end: the desktop's GLUT handlers and the web
// page's event listeners call these, then ask for the next frame.
#pragma once

#include "render/picture.h"
#include "state/settings.h"

// Left drag by (dx, dy) pixels: half a degree a pixel; a jump of 200
// pixels or more along one axis is dropped for that axis.
void rotateBy(Settings &set, double dx, double dy);
// Right drag by (dx, dy) pixels (y down): 0.01 scene units a pixel, put
// into the modelview matrix, where the pan lives between frames.
void panBy(Settings &set, double dx, double dy);
// The zoom plus change, in double, stored in single precision and put
// within the zoom's limits as its spinner would.
void zoomBy(Settings &set, double change);
// Notches of the wheel (up positive): the zoom moves a tenth a notch and
// lands on a multiple of a tenth, as a person reads it ("0.7", never
// "0.6999999"), within its limits.
void wheelZoom(Settings &set, int notches);
const double WHEEL_ZOOM = 0.1;      // a notch of the wheel
const double Z_ZOOM_PER_PX = 0.004; // z held, pointer up one pixel

// Space: the shown attractor's parameters plus their increments, each
// within its limits.
void stepParameters(Settings &set);
// s: with the twin on, both trajectories start again from where the main
// curve is, 1e-9 apart, the window opening at time 0; false with it off.
bool reseed(Settings &set, Picture &pic);

// Reset: parameters, times, options and view back to the start, but for
// the attractor, the increments and the pan (the next frame takes the pan
// out); the main start goes back, the twin's start and the maximum map's
// memory stay.
void reset(Settings &set, Picture &pic);
// Random Initial Condition: a random main start, the twin 1e-9 away.
void initial(Picture &pic);

// The C library's rand as glibc makes it, never seeded: every build (the
// page's too) draws the same sequence of random starts.
int unseededRand();
