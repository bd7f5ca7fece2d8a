// One frame of the display callback, step by step.
#pragma once

void draw();              // the display callback
void drawStep(bool last); // the drawing of one step inside the time window
bool overdue();           // the frame has run 0.1 s and input is waiting
