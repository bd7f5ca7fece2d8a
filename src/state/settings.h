// The settings: every value the panels show and a settings file holds, as
// one record, and the one table of them (file key, panel label, limits,
// start-up value) that the panels, the settings file and Reset share.
#pragma once

#include <string>
#include <vector>

#include "sim/core.h"
#include "sim/models.h"

struct Settings {
  int attype; // attractor: index into the attractor table (0 Lorenz, 1 Roessler)
  float params[MODELS]
              [3];       // each attractor's parameters in panel order: ro, sigma, beta; aa, bb, cc
  float incs[MODELS][3]; // their space-bar increments: dro, dsigma, dbeta; daa, dbb, dcc
  float tmin;            // start of the drawn window, model time
  float tmaxstatic;      // end time the user chose on the "tmax" spinner
  float dt;              // integration step
  int dynamic;           // playback: 0 Static, 1 Dynamic, 2 Segment
  int second;            // 1 = integrate and draw the twin trajectory
  int coloring;          // colouring scheme: id in the colouring table
  int bg;                // background: 0 black, 1 white
  int thickness;         // stroke width in pixels: 1, 3 or 5
  int xygrid, box, axes; // reference figures on/off
  int tracer;            // 1 = dot on the head of the curve
  int map;               // 1 = maximum map instead of the 3-D curve
  float zoom;            // scene scale factor
  double start[3];       // main start state (the viewer's live one is its trajectory's xsec...)
  double twinStart[3];   // twin start state (x2sec...)
  double t1, t2;         // rotation about x, then about y, degrees
  double xtranslate, ytranslate; // pan, scene units
};

// What kind of field a row names: a single-precision number (a panel's
// spinner where it has a label), a double, a switch (0 or 1) or a choice
// among the row's choices.
enum class Kind { FLOAT, DOUBLE, SWITCH, CHOICE };

// One row of the table: a field of the record and what is known of it.
struct Setting {
  std::string key;     // in the file, dotted: "tmin", "lorenz.ro", "view.rotate_x"
  std::string label;   // on the panel ("" where the panel has none)
  std::string comment; // in the file
  Kind kind;
  size_t at;     // where the field lies in the record
  double lo, hi; // a number's limits (the panel's for a float)
  double start;  // start-up value
  struct Choice {
    int value;
    std::string name;  // in the file
    std::string label; // on the panel
  };
  std::vector<Choice> choices;

  // The row's field in s, of its kind: a float for FLOAT, a double for
  // DOUBLE, an int for the others. The record is standard-layout and at is
  // a field's own offset, taken from its address, so this is that field.
  template <typename T> T &in(Settings &s) const {
    return *static_cast<T *>(static_cast<void *>(reinterpret_cast<char *>(&s) + at));
  }
  template <typename T> const T &in(const Settings &s) const {
    return *static_cast<const T *>(
        static_cast<const void *>(reinterpret_cast<const char *>(&s) + at));
  }
};

// The table, built once, in the file's order.
const std::vector<Setting> &settingsTable();
// The row of key; the table holds every key the program asks for.
const Setting &settingRow(const std::string &key);
// The row of key, or null for a key the table lacks.
const Setting *findSetting(const std::string &key);
// The row of attractor m's parameter k.
const Setting &parameterRow(int m, int k);
// Sets s's float of row r to v within the row's limits; a NaN leaves it as it was.
void setWithin(const Setting &r, Settings &s, float v);

// The settings the viewer starts with, from the table.
const Settings &startUpSettings();

// The system s runs: the attractor attype integrates (Lorenz for one
// outside the table) with its parameters, at dt, from the main start.
System systemOf(const Settings &s);
// The trajectory before its first step: both states at the main start,
// the start states as s gives them, not yet loaded.
Trajectory startTrajectory(const Settings &s);
// What one replay under s is asked, ending at tmax.
ReplaySettings replaySettings(const Settings &s, float tmax);
