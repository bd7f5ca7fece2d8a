// Every control of the two panels and every key of the scene, as two tables
// of values that the desktop's panels and handlers, the page's HTML and
// handlers, and both help boxes are built from.
#pragma once

#include <string>
#include <vector>

// Where a row shows: on both front ends, only on the desktop (Quit, its
// columns, p), or only on the page (touch, downloads, its link).
enum class Shown { BOTH, DESKTOP, PAGE };
// Whether a row shown so shows on the front end on (DESKTOP or PAGE).
inline bool shownOn(Shown s, Shown on) {
  return s == Shown::BOTH || s == on;
}

// ======== The panels ==================================================================
enum class Widget {
  GROUP,     // an embossed frame with a title, holding what follows up to its END
  ROLLOUT,   // the same, folding away under its title (closed at start-up)
  ROW,       // buttons side by side, up to its END
  END,       // of the last GROUP, ROLLOUT or ROW begun
  RADIOS,    // a setting's choices as radio buttons
  SPINNER,   // a number with its field and arrows
  LIST,      // a setting's choices as a drop-down list
  CHECK,     // a switch
  BUTTON,    // an action
  TEXT,      // a static line
  SEPARATOR, // a rule across
  COLUMN,    // the next column of the bottom panel, a bar between
};

// What a button does.
enum class Press {
  NONE,
  RESET,
  INITIAL,
  QUIT,
  DOWNLOAD_PICTURE,
  DOWNLOAD_SETTINGS,
  OPEN_SETTINGS,
  COPY_LINK
};

struct Control {
  Widget widget;
  std::string text = ""; // a title, a static line, a button's or a setting's label, blanks kept
  std::string key = ""; // a setting's key in the settings table; a rollout's name for its open flag
  Press press = Press::NONE;
  Shown shown = Shown::BOTH;
};

// The right panel top to bottom, the bottom panel left to right.
struct PanelLayout {
  std::vector<Control> right, bottom;
};
const PanelLayout &panelLayout();

// A press's name, as the page's script knows it ("reset", "copy_link").
const char *pressName(Press p);

// ======== The keys ====================================================================
enum class KeyAct { NONE, STEP, RESEED, KEEP, PRINT, NUMBERS, HELP };

struct KeyRow {
  int ch;           // the character the key gives (Ctrl+S: 19), or 0
  int fkey;         // the function key (F1: 1), or 0
  KeyAct act;       // NONE: a gesture, described only
  const char *keys; // as the help names them
  const char *help; // what they do
  Shown shown;
  const char *button; // the page's button for it under the scene, for touch screens, or ""
};
const std::vector<KeyRow> &keyTable();

// The row of a character or a function key (0 for none) on a front end
// (DESKTOP or PAGE), or null.
const KeyRow *keyRow(int ch, int fkey, Shown on);
// An act's name, as the page's script knows it ("numbers", "help").
const char *actName(KeyAct a);
// The help on a front end, "keys\twhat they do" a line.
std::vector<std::string> helpLines(Shown on);
