// The panels' table covers the settings: every setting a person sets by hand has one control.
#include <gtest/gtest.h>

#include <map>

#include "interact/controls.h"
#include "state/settings.h"

// A setting with a label or choices and no control could not be set; one with two would fight.
TEST(Panels, EachLabelledSettingHasExactlyOneControl) {
  std::map<std::string, int> controls;
  for (const auto *panel : {&panelLayout().right, &panelLayout().bottom})
    for (const Control &c : *panel)
      if (!c.key.empty() && c.widget != Widget::ROLLOUT && c.widget != Widget::ROW)
        controls[c.key]++;
  for (const Setting &row : settingsTable())
    EXPECT_EQ(controls[row.key], !row.label.empty() || !row.choices.empty() ? 1 : 0) << row.key;
}
