// The per-frame replay of the trajectory and the playback between frames.
#pragma once

// drawStep(last) for each step past tmin; last is true on the frame's final
// step. overdue, asked every 256 steps, may end the frame early.
using DrawStep = void (*)(bool last);
void loadStartStates(); // current states from the start states, t = 0
void replay(DrawStep drawStep, bool (*overdue)() = nullptr); // up to tmax/dt steps
void advancePlayback(); // moves tmax one frame on, as the playback mode says
