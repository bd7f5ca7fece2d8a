// The contents of the two control panels.
#pragma once

#include "render/picture.h"
#include "state/settings.h"

namespace ui {
class Subwindow;
}

// Which rollouts start open (all closed at start-up).
struct Rollouts {
  int open = 0, open2 = 0, open3 = 0, open4 = 0;
};

// Builds every control, right panel's first group, then the bottom panel,
// then the rest of the right panel, each bound to its field of set with
// the table's label and limits; Reset and Random Initial Condition act on
// set and pic.
void buildPanels(ui::Subwindow *right, ui::Subwindow *bottom, Settings &set, Picture &pic,
                 const Rollouts &rollouts);
