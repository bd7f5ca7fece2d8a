// The divergence marker's points, held back and drawn as one batch while
// nothing drawn after them can reach their pixels.
#pragma once

void holdPoint(float x, float y, float z); // a marker point, as glVertex3f would take it
// Before a stroke with these scene vertices (count of them): draws the held
// points first if the stroke may cover one of them.
void beforeStroke(const float (*v)[3], int count);
void releasePoints(); // draws every held point now
