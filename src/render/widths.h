// Line width and point size, sent to GL only when what they draw changes.
#pragma once

void lineWidth(float w); // glLineWidth, unless the drawn width stays the same
void pointSize(float s); // glPointSize, unless the size stays the same
void forgetWidths();     // at the start of a frame: GL's state is not known
