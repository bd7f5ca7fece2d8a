// The two control panels, laid out each frame from the panels' table: every
// control bound to its field of the settings, with the settings table's
// label, limits and choices; and the two action buttons.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "interact/controls.h"
#include "render/picture.h"
#include "state/settings.h"

// A number being typed or dragged.
struct SpinnerEdit {
  char text[32] = "";   // the field's text while it is edited
  bool editing = false; // the field is being typed into
  bool dragged = false; // an arrow held down has moved: its release is no click
};

// What the panels keep between frames, by the table's keys. ImGui keeps a
// header's open state under the header's id, which changes when the bottom
// panel wraps a rollout into another row: the program keeps it instead.
struct PanelMemory {
  std::map<std::string, bool> open;            // rollouts open (all closed at start-up)
  std::map<std::string, SpinnerEdit> spinners; // by settings key
  std::vector<float> columnWidths;             // the bottom panel's, as last laid out
};

// Lays out one panel's controls (the desktop's of them) this frame; what
// the user changes is written into set, and the buttons act on set and pic.
void layoutPanel(const std::vector<Control> &controls, Settings &set, Picture &pic,
                 PanelMemory &memory);

// Reset and Random Initial Condition, as the panels press them: the
// action, then a request for the next frame.
void resetButton(Settings &set, Picture &pic);
void initialButton(Picture &pic);
