// The trajectory strokes: width, twin colour and scheme colour of one drawn step.
#pragma once

// The segments of the step just taken: twin first (when on), then main.
void drawStrokes();

// The main segment's colour under the current scheme (false when it sets none).
bool schemeColour(double c[3]);
