// The panel layer's tie to the window: GLUT callbacks and ImGui's OpenGL2 renderer.
#pragma once

namespace ui {
// Takes the current window's events for the layer and readies ImGui.
void attachToWindow();
} // namespace ui
