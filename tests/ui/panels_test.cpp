// The panels keep every value within the settings table's limits.
#include <gtest/gtest.h>

#include "support/startup.h"
#include "ui/layer.h"

// Each labelled number of the table has a spinner so labelled, bound to it, within its limits.
TEST(Panels, EachSpinnerStopsAtItsSettingsLimits) {
  restoreStartup();
  for (const Setting &row : settingsTable(viewer.set)) {
    if (!row.f || row.label.empty()) continue;
    ui::Spinner *s = ui::master.right->findSpinner(row.label);
    ASSERT_NE(s, nullptr) << row.key;
    s->commitText("1e30");
    EXPECT_EQ(*row.f, (float)row.hi) << row.key;
    s->commitText("-1e30");
    EXPECT_EQ(*row.f, (float)row.lo) << row.key;
  }
}
