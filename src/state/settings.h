// The batch program's settings: every setting the viewer shows, as values
// (no process-wide state), read from and written as a TOML file.
#pragma once

#include <string>

#include "sim/models.h"

struct Settings {
  int attractor;           // index into the attractor table
  float params[MODELS][3]; // each attractor's parameters, in panel order
  float incs[MODELS][3];   // their space-bar increments
  float tmin, tmax, dt;    // time window and step (tmax: the user's end time)
  int playback;            // 0 Static, 1 Dynamic, 2 Segment
  int twin;                // 1 = the twin trajectory is on
  int colouring;           // id in the colouring table
  int background;          // 0 black, 1 white
  int lines;               // 1, 3 or 5 pixels
  int grid, box, axes, tracer, map;
  float zoom;
  double start[3];         // main start state
  double twinStart[3];     // twin start state
  double rotateX, rotateY; // view: degrees about x, then about y (t1, t2)
  double panX, panY;       // view: pan, scene units
};

// The settings the viewer starts with.
Settings startUpSettings();
// The viewer's settings now, from its process-wide state; the pan, which
// lives in the modelview matrix, is left at 0 for the caller to fill in.
Settings viewerSettings();
// Sets the viewer's process-wide state to s, all but the pan.
void useSettings(const Settings &s);

// The whole file, every key with a comment, in a fixed order.
std::string settingsText(const Settings &s);

// Reads a settings file over s (a missing key keeps its value). On a
// refusal, returns false with one line naming the file, the line and the
// key; s is then left as it was.
bool readSettings(const std::string &path, Settings &s, std::string &error);

// Shortest text that reads back as the same number, locale-independent.
std::string shortest(double v);
// The same for a float, read back through double as a settings file is.
std::string shortest(float v);
