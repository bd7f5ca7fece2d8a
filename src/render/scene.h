// Where a model point lands on screen: viewport and projection, the camera
// at the start of a frame, and the model-to-scene mapping.
#pragma once

void reshape(int width, int height);
// glViewport, then the projection matrix loaded with the scene's square
// frustum; leaves the modelview matrix current.
void setViewportAndFrustum(int x, int y, int width, int height);

// Frame prologue: takes out the pan made since the last anchor when Reset
// asked for it, clears with last frame's colour and sets this frame's.
void reanchorPan();
void clearScene();
void rotateView();

// The scene vertex of the model point (x, y, z), as glVertex3f takes it.
void scenePoint(double x, double y, double z, float out[3]);
// Issues one glVertex3f for the model point (x, y, z).
void sceneVertex(double x, double y, double z);
