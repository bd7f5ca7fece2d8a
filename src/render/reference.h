// The reference figures: the x-y grid, the box and the axes.
#pragma once

// Grid, box and axes, each when its flag is 1 and the maximum map is off.
void drawReference();
