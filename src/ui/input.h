// Mouse and keyboard of the scene: rotate, pan, zoom, step the parameters, re-seed.
#pragma once

#include "render/picture.h"
#include "state/settings.h"

#include <string>
#include <vector>

// What the handlers remember between events.
struct Input {
  int KeyDown[256] = {};                   // 1 while the key with that character code is held
  int zkeydown = 0;                        // 1 while the zoom cursor is on show
  double xmouseold = 400, ymouseold = 400; // last pointer position seen, window pixels
  bool help = false, readout = false;      // shown over the scene (h or F1, i)
  bool keepAsked = false;                  // Ctrl+S: the next frame keeps its picture
};

// Hands the panel layer the scene's mouse and keyboard handlers, acting on
// these records; a press installs the drag's handler, as zoomKeyStep the zoom's.
void installInput(Settings &set, Picture &pic, Input &in);

void MouseDown(Settings &set, Input &in, int button, int state, int x, int y);
void mouseMotion(Settings &set, Input &in, int x, int y);      // rotate
void mouseTranslation(Settings &set, Input &in, int x, int y); // pan
void mouseZoom(Settings &set, Input &in, int x, int y);
void myKeyboardFunc(Settings &set, Picture &pic, Input &in, unsigned char key);
void keyboardUp(Input &in, unsigned char key);
void specialKey(Input &in, int key);        // the function keys, GLUT's numbers
void zoomKeyStep(Settings &set, Input &in); // last step of every frame
