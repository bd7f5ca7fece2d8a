// The playback between frames: where the next frame's replay ends.
#pragma once

// Moves tmax, this frame's end time, one frame on as the playback mode
// dynamic says (0 Static, 1 Dynamic, 2 Segment), within tmin and the
// user's end time tmaxstatic.
void advancePlayback(int dynamic, float tmin, float tmaxstatic, float &tmax);

// The frame of playback, counted from 1 as frames follow from the
// settings (tmax starting at tmin in Dynamic, at tmaxstatic otherwise),
// whose replay ends at tmax; 0 when no frame of one cycle does.
int playbackFrame(int dynamic, float tmin, float tmaxstatic, float tmax);
