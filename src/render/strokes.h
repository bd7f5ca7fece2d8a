// The trajectory strokes: width, twin colour and scheme colour of one drawn step.
#pragma once

// The segments of the step just taken: twin first (when on), then main.
void drawStrokes();
