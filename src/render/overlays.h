// The per-step overlays: the maximum map, the twin divergence marker and the tracer.
#pragma once

// last: the frame's final step. The reference lines of both figures are the
// same every time a frame draws them, so only their last copy shows; they
// are drawn then (every time with literalCalls).
void drawMaxMap(bool last); // the maximum-map test and point of the step just taken
void drawMarker(bool last); // ln(distance) against t, with its two reference lines
void drawTracer();          // the dot on the head of the curve
