// The rules of a number's field and arrows on a panel, the desktop's and
// the page's alike, for a value v within lo to hi.
#pragma once

#include <string>

// Typed text that is not a number leaves v as it was; a number beyond the
// limits, infinities and overflows included, lands on the nearer limit.
float typedValue(const char *text, float v, float lo, float hi);
// An arrow's step: a tenth of v's leading decimal digit (28 -> 1,
// 0.005 -> 0.0001); at 0, taken from the range.
double arrowStep(float v, float lo, float hi);
// A click on the up (+1) or down (-1) arrow: the next multiple of the
// step that way, within the limits.
float arrowClick(float v, float lo, float hi, int way);
// A drag of dy pixels (down) on either arrow: half a step a pixel, up to
// increase, within the limits.
float arrowDrag(float v, float lo, float hi, double dy);
// The field's text for v: the fewest of 6 to 9 significant digits that
// read back as v.
std::string fieldText(float v);
