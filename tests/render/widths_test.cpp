// Widths sent only when what they draw changes; the real-GL pixel test
// checks that the picture stays the same.
#include <gtest/gtest.h>

#include "render/widths.h"
#include "support/fake_gl.h"

// GL refuses a line width of 0 (after a wider one it would pass for a change of
// pixels) and draws one rounded to whole pixels.
TEST(Widths, RefusedAndSamePixelWidthsAreNotSent) {
  const struct {
    bool line, sent;
    float value;
  } calls[] = {{true, true, 1.0f},   {true, false, 1.49f},  {true, false, 0.2f},
               {true, true, 1.5f},   {true, false, 0.0f},   {true, false, 2.4f},
               {false, true, 10.0f}, {false, false, 10.0f}, {false, true, 1.0f}};
  Widths w;
  for (const auto &c : calls) {
    clearGl();
    c.line ? lineWidth(w, c.value) : pointSize(w, c.value);
    EXPECT_EQ(!glCalls.empty(), c.sent) << (c.line ? "line " : "point ") << c.value;
  }
}
