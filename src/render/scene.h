// Where a model point lands on screen: viewport and projection, the camera
// at the start of a frame, and the model-to-scene mapping.
#pragma once

#include <vector>

// glViewport, then the projection matrix loaded with the scene's square
// frustum; leaves the modelview matrix current.
void setViewportAndFrustum(int x, int y, int width, int height);

// The pixels of a rectangle of the framebuffer, GL coordinates, as RGB
// rows from the top.
std::vector<unsigned char> readRgb(int x, int y, int width, int height);

// The pan at the last re-anchoring, and whether the next frame takes the
// pan made since then back out (set by Reset).
struct Anchor {
  double xtranslatemp = 0, ytranslatemp = 0;
  int reseta = 0;
};

// Frame prologue: takes out the pan made since the last anchor when Reset
// asked for it (the pan so far is xtranslate, ytranslate), clears with
// last frame's colour and sets this frame's, turns the camera. clearColour
// is the background the clear colour in force stands for; when it is not
// bg, this frame's colour is set before the clear too.
void reanchorPan(double xtranslate, double ytranslate, Anchor &a);
void clearScene(int bg, int &clearColour);
void rotateView(double t1, double t2);

// The mapping's scale: the model's stretcher, as the latest step left it,
// and the zoom.
struct SceneScale {
  double stretcher;
  float zoom;
};
// The scene vertex of the model point (x, y, z), as glVertex3f takes it.
void scenePoint(const SceneScale &k, double x, double y, double z, float out[3]);
// Issues one glVertex3f for the model point (x, y, z).
void sceneVertex(const SceneScale &k, double x, double y, double z);
