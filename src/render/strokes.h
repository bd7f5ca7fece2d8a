// The trajectory strokes: width, twin colour and scheme colour of one drawn step.
#pragma once

#include "render/picture.h"

// The segments of the step just taken: twin first (when on), then main.
void drawStrokes(const Settings &set, Picture &pic);
