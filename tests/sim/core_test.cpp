// The core's arithmetic, pinned bit for bit: the flows are chaotic, so a
// reordered operation shows as another state within one frame.
#include <gtest/gtest.h>

#include "render/picture.h"

// 50..200 at dt 0.005; an attractor outside the table is integrated as Lorenz.
TEST(Core, FirstFrameOfEachAttractorEndsOnItsReferenceStateBitForBit) {
  const std::vector<double> lorenz = {-1.4112439470743039, -2.6143778244816493, 18.182988280243318};
  const std::vector<double> roessler = {-4.6374465665436535, 6.834623745866297,
                                        0.02151768165181831};
  for (auto [attype, end] : {std::pair{0, lorenz}, {1, roessler}, {7, lorenz}}) {
    Settings set = startUpSettings();
    set.attype = attype;
    Picture pic = startUpPicture(set);
    replayMaxima(replaySettings(set, pic.tmax), pic.run);
    const Trajectory &t = pic.run;
    EXPECT_EQ((std::pair{t.n, t.t}), (std::pair{40000, 199.99999552965164}))
        << "attractor " << attype;
    EXPECT_EQ((std::vector<double>{t.x, t.y, t.z}), end) << "attractor " << attype;
  }
}
