// Line width and point size, sent to GL only when what they draw changes.
#pragma once

void lineWidth(float w); // glLineWidth, unless the drawn width stays the same
void pointSize(float s); // glPointSize, unless the size stays the same
void forgetWidths();     // at the start of a frame: GL's state is not known

// A vector recorder, while one records the picture, is told every width
// and size sent to GL (it cannot read them from GL's feedback).
extern void (*alsoLineWidth)(float w);
extern void (*alsoPointSize)(float s);
