// The display, reshape and idle callbacks, and the panels they lay out.
#pragma once

void draw();                         // the display callback
void reshape(int width, int height); // the window's size, or the panels', changed
void idle();                         // the idle callback: the next frame's playback
void showPanels(); // both panels, from the panels' table, over the viewer's record
