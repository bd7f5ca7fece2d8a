// Reset and Random Initial Condition.
#include <gtest/gtest.h>

#include <vector>

#include "interact/actions.h"
#include "state/settings_file.h"
#include "support/startup.h"

// The twin keeps its start; the pan stays in the settings for the next frame to take out.
TEST(Reset, BringsBackStartUpButKeepsAttractorIncrementsTwinAndPan) {
  restoreStartup();
  Settings &set = viewer.set, want = startUpSettings();
  Trajectory &r = viewer.pic.run;
  set.attype = 1, set.incs[0][1] = 2, set.tmin = 7, set.t1 = 40, set.xtranslate = -2;
  r.xsec = 9, r.x2sec = 8, viewer.pic.tmax = 5;
  want.attype = 1, want.incs[0][1] = 2, want.xtranslate = -2;
  reset(set, viewer.pic);
  EXPECT_TRUE(settingsText(set) == settingsText(want));
  const std::vector<double> got = {r.xsec, r.x2sec, viewer.pic.tmax, (double)viewer.pic.pan.reseta};
  EXPECT_EQ(got, std::vector<double>({5, 8, 200, 1})); // main start, twin start, tmax, reseta
}

// x and y over [-20, 20], z over [10, 20], each reached within 5% of both ends.
TEST(Reset, RandomStartsSpreadOverTheirRangesWithTheTwinANanoAway) {
  const Trajectory &r = viewer.pic.run;
  const double range[3][2] = {{-20, 20}, {-20, 20}, {10, 20}};
  int nearEnds = 0; // bit 2a: near axis a's low end, bit 2a+1: near its high end
  for (int k = 0; k < 500; k++) {
    initial(viewer.pic);
    const double main[] = {r.xsec, r.ysec, r.zsec}, twin[] = {r.x2sec, r.y2sec, r.z2sec};
    for (int a = 0; a < 3; a++) {
      const double lo = range[a][0], hi = range[a][1], near = (hi - lo) / 20;
      ASSERT_TRUE(main[a] >= lo && main[a] <= hi && twin[a] == main[a] + 1e-9) << a;
      nearEnds |= (main[a] < lo + near) << 2 * a | (main[a] > hi - near) << (2 * a + 1);
    }
  }
  EXPECT_EQ(nearEnds, 0x3f);
}
