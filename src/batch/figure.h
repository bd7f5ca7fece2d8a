// Figures of the sweeps for papers and slides: points, or curves, against a
// parameter inside axes with ticks, numbers and labels, in the light print
// style or the dark screen style, as PNG, SVG or PDF (drawn by PLplot).
#pragma once

#include <string>
#include <vector>

const int FIGURE_MAX = 8192; // pixels either way

struct Figure {
  std::string xLabel, yLabel;
  double xFrom = 0, xTo = 1; // the swept range: the x axis ends there
  bool dark = false;         // white points on black, as on the screen
  bool joined = false;       // each series a curve (broken where a value is NaN), and y = 0 dashed
  int width = 1200, height = 800;
};

// One or more series of y over the same x. out gets the file's bytes;
// format is "png", "svg" or "pdf". The y axis spans the values with a
// twentieth to spare either way.
bool drawFigure(const Figure &f, const std::vector<double> &x,
                const std::vector<std::vector<double>> &ys, const std::string &format,
                std::string &out, std::string &error);
