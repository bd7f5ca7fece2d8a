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

// One row of the table, bound to one record: exactly one of f, d, i is set.
struct Setting {
  std::string key;     // in the file, dotted: "tmin", "lorenz.ro", "view.rotate_x"
  std::string label;   // on the panel ("" where the panel has none)
  std::string comment; // in the file
  float *f = nullptr;  // a float setting, or
  double *d = nullptr; // a double setting, or
  int *i = nullptr;    // a switch (with no choices) or a choice
  double lo, hi;       // a number's limits (the panel's for a float)
  double start;        // start-up value
  struct Choice {
    int value;
    std::string name;  // in the file
    std::string label; // on the panel
  };
  std::vector<Choice> choices;
};

// The table, bound to the fields of s.
std::vector<Setting> settingsTable(Settings &s);
// The row of key, bound to s; the table holds every key the program asks for.
Setting settingRow(Settings &s, const std::string &key);

// The row of attractor m's parameter k.
Setting parameterRow(Settings &s, int m, int k);
// Sets the float of row r to v within its limits; a NaN leaves it as it was.
void setWithin(const Setting &r, float v);

// The rules of a number's field and arrows on a panel, for lo to hi:
// typed text that is not a number leaves v as it was; a number beyond the
// limits, infinities and overflows included, lands on the nearer limit.
float typedValue(const char *text, float v, float lo, float hi);
// An arrow's step: a tenth of v's leading decimal digit (28 -> 1,
// 0.005 -> 0.0001); at 0, taken from the range.
double arrowStep(float v, float lo, float hi);
// A click on the up (+1) or down (-1) arrow: the next multiple of the
// step that way, within the limits.
float arrowClick(float v, float lo, float hi, int way);

// A drag of dy pixels (down) on either arrow: half a step a pixel, up to
// increase, within the limits.
float arrowDrag(float v, float lo, float hi, double dy);
// The field's text for v: the fewest of 6 to 9 significant digits that
// read back as v.
std::string fieldText(float v);

// The settings the viewer starts with, from the table.
const Settings &startUpSettings();

// What one replay under s is asked, ending at tmax: the attractor attype
// integrates (Lorenz for one outside the table) with its parameters.
ReplaySettings replaySettings(const Settings &s, float tmax);

// The whole file, every key with a comment, in a fixed order.
std::string settingsText(const Settings &s);

// Reads a settings file over s (a missing key keeps its value). On a
// refusal, returns false with one line naming the file, the line and the
// key; s is then left as it was.
bool readSettings(const std::string &path, Settings &s, std::string &error);

// The same for a settings file's text; name stands for the file in refusals.
bool readSettingsText(const std::string &text, const std::string &name, Settings &s,
                      std::string &error);

// A link's settings: the keys whose value in s differs from base, each
// with its value as the file writes it (a choice by its name, unquoted),
// in the table's order.
using KeyValues = std::vector<std::pair<std::string, std::string>>;
KeyValues linkSettings(const Settings &s, const Settings &base);
// The key=value pairs of a link's query (after its '?'), decoded as a form
// encodes them: '+' a blank, %XX a byte.
KeyValues linkPairs(const std::string &query);
// Takes a link's settings over s. A key the table lacks, or a value the
// file would refuse, leaves s as it was for that key and adds "key: why"
// to refused. A choice's name is read without regard to case, as in a file.
void readLink(const KeyValues &link, Settings &s, std::vector<std::string> &refused);

// Whether s is UTF-8 text, every character encoded in its shortest form.
bool isUtf8(const std::string &s);
// A text from outside (a key, a name) fit for one line of a message: its
// first 60 characters, bytes that are no character as \xNN, then "…".
std::string forMessage(const std::string &text);

// Shortest text that reads back as the same number, locale-independent.
std::string shortest(double v);
// The same for a float, read back through double as a settings file is.
std::string shortest(float v);
