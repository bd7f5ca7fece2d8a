// The contents of the two control panels.
#pragma once

namespace ui {
class Subwindow;
}

// Builds every control, right panel's first group, then the bottom panel,
// then the rest of the right panel; stores the handles the program uses.
void buildPanels(ui::Subwindow *right, ui::Subwindow *bottom);
