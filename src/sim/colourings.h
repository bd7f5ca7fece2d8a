// The colouring schemes, one row each: the panel's listbox lists them and
// the strokes colour with them. Adding a scheme is a row and its function.
#pragma once

struct Model;

// What a scheme may read of the step just taken.
struct ColourInputs {
  double t;           // model time of the step's end
  double tmax;        // this frame's end time
  double x;           // main x after the step
  double k1[3];       // the step's first slope
  int bg;             // background: 0 black, 1 white
  const Model *model; // the drawn attractor, null for an unknown one
};

struct Colouring {
  int id;           // the listbox item's id, the value of `coloring`
  const char *name; // the listbox item's text
  // Writes the colour, channels as computed (the pipeline clamps them);
  // false where the scheme sets none.
  bool (*colour)(const ColourInputs &in, double c[3]);
  bool ghost; // the stroke width tapers with age instead of the thickness
};

const int COLOURINGS = 7;
extern const Colouring colourings[COLOURINGS]; // in the listbox's order
const Colouring *colouringFor(int id);         // null for an id not listed

// The ghost schemes' width: about 5.714 px at the head, tapering with age.
double ghostWidth(double t, double tmax);
