// Line width and point size, sent to GL only when what they draw changes.
#pragma once

struct Widths {
  int literalCalls = 0; // 1 = every width as asked and no flush within the frame:
                        // the calls exactly as the figures ask them
  int drawnLine = 0;    // whole pixels of the width in force, 0 = not known
  float drawnPoint = 0; // the point size in force, 0 = not known
  // A vector recorder, while one records the picture, is told every width
  // and size sent to GL (it cannot read them from GL's feedback).
  void (*alsoLineWidth)(float w) = nullptr;
  void (*alsoPointSize)(float s) = nullptr;
  // Every width and size as asked, times this: a picture larger than the
  // screen's draws its lines as thick against its size.
  float scale = 1;
};

void lineWidth(Widths &k, float asked); // glLineWidth, unless the drawn width stays the same
void pointSize(Widths &k, float asked); // glPointSize, unless the size stays the same
void forgetWidths(Widths &k);           // at the start of a frame: GL's state is not known
