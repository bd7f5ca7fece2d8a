// One frame of the display callback, step by step.
#pragma once

void draw();     // the display callback
void drawStep(); // the drawing of one step inside the time window
