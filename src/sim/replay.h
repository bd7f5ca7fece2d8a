// The per-frame replay of the trajectory and the playback of idle.
#pragma once

void loadStartStates();          // current states from the start states, t = 0
void replay(void (*drawStep)()); // tmax/dt steps; drawStep for each one past tmin
void idle();                     // moves tmax according to the playback mode
