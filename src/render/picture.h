// One picture of the scene, from the clear to the flush: what the viewer's
// frame draws under its panels and what the batch program renders.
#pragma once

void drawStep(bool last); // the drawing of one step inside the time window
// The scene for the current settings; cut, asked every 256 steps, may end
// the replay early (the viewer's frame does so when input waits).
void drawScene(bool (*cut)() = nullptr);
