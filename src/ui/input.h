// Mouse and keyboard of the scene: rotate, pan, zoom, step the parameters, re-seed.
#pragma once

void MouseDown(int button, int state, int x, int y);
void mouseMotion(int x, int y);
void mouseTranslation(int x, int y);
void mouseZoom(int x, int y);
void myKeyboardFunc(unsigned char key, int x, int y);
void keyboardUp(unsigned char key, int x, int y);
void zoomKeyStep(); // last step of every frame
