// The reference figures: the x-y grid, the box and the axes.
#pragma once

#include "render/scene.h"
#include "render/widths.h"
#include "state/settings.h"

// Grid, box and axes, each when its switch is 1 and the maximum map is off.
void drawReference(const Settings &set, const SceneScale &k, Widths &w);
