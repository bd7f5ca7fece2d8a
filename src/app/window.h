// The window's tie to the panel layer: GLUT's callbacks, ImGui's OpenGL2
// renderer, and what waits in the window system's queue.
#pragma once

// Takes the current window's events for the layer and readies ImGui, its
// text and sizes at scale (the TrueType fontFile drawing text at scales
// other than 1). The text over the scene is published on the window as
// the UTF-8 property TRESOLVA_TEXT, for tools that read the screen.
void attachToWindow(float scale = 1, const char *fontFile = nullptr);
