// Figures of the sweeps for papers and slides: points against a parameter
// inside axes with ticks, numbers and labels, in the light print style or
// the dark screen style, as PNG, SVG or PDF (drawn by PLplot).
#pragma once

#include <string>
#include <vector>

struct Figure {
  std::string xLabel, yLabel;
  double xFrom, xTo; // the swept range: the x axis ends there
  bool dark = false; // white points on black, as on the screen
  int width = 1200, height = 800;
};

// out gets the file's bytes; format is "png", "svg" or "pdf". The y axis
// spans the points with a twentieth to spare either way.
bool drawFigure(const Figure &f, const std::vector<double> &x, const std::vector<double> &y,
                const std::string &format, std::string &out, std::string &error);
