// The two action buttons, Reset and Random Initial Condition, as the
// panels press them: the action, then a request for the next frame.
#pragma once

#include "render/picture.h"
#include "state/settings.h"

void resetButton(Settings &set, Picture &pic);
void initialButton(Picture &pic);
