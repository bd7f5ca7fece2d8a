// The two action buttons: Reset and Random Initial Condition.
#pragma once

#include "render/picture.h"
#include "state/settings.h"

// Parameters, times, options and view back to the start.
void reset(Settings &set, Picture &pic);
// A random main start, the twin 1e-9 away.
void initial(Picture &pic);
