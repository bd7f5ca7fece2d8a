// The panel layer: a spinner's routes to its variable, and window events
// reaching the panel or the scene that owns them.
#include <gtest/gtest.h>

#include <imgui.h>

#include <tuple>

#include "support/startup.h"
#include "ui/layer.h"
#include "ui/panels.h"

static std::string scene; // what reached the scene's handlers: b button, m motion, k key

// A dt spinner (0.0001 to 1) alone in the right panel, left edge x: field x + 58 to x + 142,
// arrows centred at x + 152 and x + 171, all at y 14. Left of x is the scene.
class Layer : public ::testing::Test {
protected:
  void SetUp() override {
    restoreStartup();
    if (!ImGui::GetCurrentContext()) m.init();
    saved[0] = m.right, saved[1] = m.bottom, m.bottom = {};
    m.right = {[this] { layoutPanel(dtAlone, viewer.set, viewer.pic, memory); }};
    m.mouse = [](int, int, int, int) { scene += 'b'; };
    m.motion = [](int, int) { scene += 'm'; };
    m.keyboard = [](unsigned char, int, int) { scene += 'k'; };
    m.reshapeEvent(600, 300);
    frames();
    x = 600 - m.right.width;
  }
  void TearDown() override { m.right = saved[0], m.bottom = saved[1]; }

  ui::Master &m = ui::master;
  const std::vector<Control> dtAlone = {{Widget::SPINNER, "dt", "dt"}};
  PanelMemory memory;
  ui::Dock saved[2];
  float &dt = viewer.set.dt;
  int x = 0;

  // Enough frames to hand ImGui all that is queued.
  void frames() {
    for (int f = 0; f < 12; f++) m.beginFrame();
  }
  // Press at (x0, y0), move to (x1, y1), release; quick: all between two frames.
  void drag(int x0, int y0, int x1, int y1, bool quick = false) {
    m.mouseEvent(0, 0, x0, y0, 0);
    if (!quick) frames();
    m.motionEvent(x1, y1);
    if (!quick) frames();
    m.mouseEvent(0, 1, x1, y1, 0);
  }
  void click(int cx, int cy) { drag(cx, cy, cx, cy, true); }
  void key(unsigned char c) { m.keyEvent(c, 0, 0, 0), m.keyUpEvent(c, 0, 0, 0); }
  // Types into the field (the click selects its text, Backspace clears it),
  // then ends with that key, or with 0 by a click in the scene.
  void edit(const char *text, unsigned char end) {
    click(x + 100, 14);
    frames();
    for (key(8); *text; text++) key(*text);
    frames();
    end ? key(end) : click(100, 250);
  }
};

// Each case starts with the pointer in the scene, whose approach to a press is no drag.
TEST_F(Layer, SpinnerRoutesReachTheVariableAndEventsTheirOwner) {
  const std::tuple<std::function<void()>, float, std::string> cases[] = {
      {[&] { edit("0.25", 13); }, 0.25f, ""},
      {[&] { edit("0.25", 0); }, 0.25f, "bmb"}, // the scene's click ends the edit
      {[&] { edit("0.25", 27); }, 0.005f, ""},  // Esc abandons it
      {[&] { edit("-", 13); }, 0.005f, ""},     // no number
      {[&] { click(x + 152, 14), click(x + 152, 14); }, 0.0052f, ""}, // 0.0001 a click
      {[&] { drag(x + 152, 20, 100, 10); }, 0.0055f, ""}, // 10 up, over the scene: the panel's
  };
  for (const auto &[act, want, reached] : cases) {
    dt = 0.005f, scene.clear(), m.passiveEvent(100, 250);
    frames();
    act();
    frames();
    EXPECT_FLOAT_EQ(dt, want);
    EXPECT_EQ(scene, reached) << "dt " << want; // keys went to the field being edited
  }
}
