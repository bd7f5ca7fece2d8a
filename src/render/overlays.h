// The per-step overlays: the maximum map, the twin divergence marker and the tracer.
#pragma once

#include "render/picture.h"

// last: the frame's final step. The reference lines of both figures are the
// same every time a frame draws them, so only their last copy shows; they
// are drawn then (every time with literalCalls).
void drawMaxMap(const Settings &set, Picture &pic, bool last); // the test and point of the step
void drawMarker(const Settings &set, Picture &pic, bool last); // ln(distance) against t, two lines
void drawTracer(const Settings &set, Picture &pic);            // the dot on the head of the curve
