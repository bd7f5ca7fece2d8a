// The two action buttons: Reset and Random Initial Condition.
#pragma once

void reset(int id = 0);   // parameters, times, options and view back to the start
void initial(int id = 0); // a random main start, the twin 1e-9 away
