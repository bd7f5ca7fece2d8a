// The panels' table covers the settings: every labelled setting has one
// control, within the settings table's limits once laid out.
#include <gtest/gtest.h>

#include <map>

#include "interact/controls.h"
#include "support/startup.h"

// A setting with a label and no control could not be changed by hand; one with two would fight.
TEST(Panels, EachLabelledSettingHasExactlyOneControl) {
  restoreStartup();
  std::map<std::string, int> controls;
  for (const auto *panel : {&panelLayout().right, &panelLayout().bottom})
    for (const Control &c : *panel)
      if (!c.key.empty() && c.widget != Widget::ROLLOUT && c.widget != Widget::ROW)
        controls[c.key]++;
  for (const Setting &row : settingsTable(viewer.set)) {
    const bool shown = !row.label.empty() || !row.choices.empty();
    EXPECT_EQ(controls[row.key], shown ? 1 : 0) << row.key;
    controls.erase(row.key);
  }
  EXPECT_TRUE(controls.empty()) << controls.begin()->first << " is no setting";
}
