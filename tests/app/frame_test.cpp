// One frame's steps in order, and a long frame cut once input waits.
#include <gtest/gtest.h>

#include <imgui.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "app/frame.h"
#include "support/fake_gl.h"
#include "support/startup.h"
#include "ui/layer.h"

// The panels take their input before the scene, so that a change shows in this very frame, and
// are drawn over it before the swap; waiting input cuts a scene of 1e8 steps once it ran 0.1 s.
TEST(Frame, PanelInputSceneCutOnceOverdueThenPanelsAndSwap) {
  restoreStartup();
  if (!ImGui::GetCurrentContext()) ui::master.init();
  ui::master.reshapeEvent(1200, 750);
  ImGui::GetIO().Fonts->Build();
  ui::master.newFrameHook = [] { glCalls.push_back({"input", {}}), ImGui::NewFrame(); };
  ui::master.renderHook = [] { glCalls.push_back({"panels", {}}); };
  ui::master.windowInputHook = [] { return true; };
  viewer.set.tmin = 10000, viewer.set.dt = 0.0001f, viewer.pic.tmax = 10000;
  draw();
  const std::chrono::duration<double> ran = std::chrono::steady_clock::now() - viewer.frameStart;
  ui::master.newFrameHook = ui::master.renderHook = nullptr, ui::master.windowInputHook = nullptr;
  EXPECT_GE(ran.count(), 0.1);
  EXPECT_LT(viewer.pic.run.n, 100000000) << "the frame ran to its end"; // 1e8 steps
  auto at = glCalls.begin();
  for (const char *step : {"input", "glClear", "glFlush", "panels", "glutSwapBuffers"}) {
    at = std::find_if(at, glCalls.end(), [&](const GlCall &g) { return !std::strcmp(g.fn, step); });
    ASSERT_NE(at, glCalls.end()) << step << " in order";
  }
}
