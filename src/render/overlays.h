// The per-step overlays: the maximum map, the twin divergence marker and the tracer.
#pragma once

void drawMaxMap(); // the maximum-map test and point of the step just taken
void drawMarker(); // ln(distance) against t, with its two reference lines
void drawTracer(); // the dot on the head of the curve
