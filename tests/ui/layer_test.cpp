// The panel layer: spinner routes to the variable, typing with Enter and
// Esc, deferred releases, and which events the scene sees.
#include <gtest/gtest.h>

#include <imgui.h>

#include <cmath>
#include <limits>

#include "support/fake_gl.h"
#include "support/startup.h"
#include "ui/layer.h"

using ui::Spinner;

namespace {

int buttonClicks = 0;
void onButton(int) {
  buttonClicks++;
}

int sceneButtons = 0, sceneMotions = 0, sceneKeys = 0;
void sceneMouse(int, int, int, int) {
  sceneButtons++;
}
void sceneMotion(int, int) {
  sceneMotions++;
}
void sceneKey(unsigned char, int, int) {
  sceneKeys++;
}

} // namespace

// A free-standing ImGui window at the origin holding one control, so its
// widgets sit at known pixels: a spinner's field spans x 58..142, y 6..23.
// The whole 400 x 300 window counts as panel, as if the right one filled it.
class Layer : public ::testing::Test {
protected:
  void SetUp() override {
    restoreStartup();
    if (!ImGui::GetCurrentContext()) ui::master.init();
    ImGui::GetIO().DisplaySize = ImVec2(400, 300);
    ui::master.winW = 400, ui::master.winH = 300;
    ui::master.right->width = 400;
    sceneButtons = sceneMotions = sceneKeys = buttonClicks = 0;
    ui::master.set_glutMouseFunc(sceneMouse);
    ui::master.set_glutMotionFunc(sceneMotion);
    ui::master.set_glutKeyboardFunc(sceneKey);
    field.set_float_limits(0.0001f, 1);
  }
  void TearDown() override { // hand over whatever a test left queued
    for (int f = 0; f < 8; f++) frame(nullptr);
  }

  // The dt spinner, limits 0.0001 to 1; its field is selected on
  // activation, so Backspace clears it before the new text.
  float dt = 0.005f;
  Spinner field{"dt", &dt};
  void edit(const char *text) {
    click(&field, 100, 14);
    key(&field, 8);
    type(&field, text);
  }

  void frame(ui::Control *c) {
    unsigned char *px;
    int w, h;
    ImGui::GetIO().Fonts->GetTexDataAsRGBA32(&px, &w, &h);
    ImGui::GetIO().DeltaTime = 1.0f / 60;
    ui::master.trickleInput();
    ImGui::NewFrame();
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::Begin("test", nullptr, ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_AlwaysAutoResize);
    if (c) c->layout();
    ImGui::End();
    ImGui::Render();
  }
  // A new window is measured in its first frame and hovered from its third.
  void warm(ui::Control *c) {
    frame(c);
    frame(c);
  }
  void click(ui::Control *c, int px, int py) {
    ImGuiIO &io = ImGui::GetIO();
    io.MousePos = ImVec2((float)px, (float)py);
    io.MouseDown[0] = true;
    frame(c);
    io.MouseDown[0] = false;
    frame(c);
  }
  void type(ui::Control *c, const char *s) {
    for (; *s; s++) ImGui::GetIO().AddInputCharacter(*s);
    frame(c);
  }
  void key(ui::Control *c, int k) {
    ImGui::GetIO().KeysDown[k] = true;
    frame(c);
    ImGui::GetIO().KeysDown[k] = false;
    frame(c);
  }
};

TEST_F(Layer, SpinnerTextReadsAsTheNumberTheUserMeant) {
  EXPECT_EQ(ui::formatFloat(0.0001f), "0.0001");
  EXPECT_EQ(ui::formatFloat(0.005f), "0.005");
  EXPECT_EQ(ui::formatFloat(8.0f / 3.0f), "2.6666667");
  EXPECT_EQ(ui::formatFloat(300), "300");
  EXPECT_EQ(ui::formatFloat(50.1f), "50.1");
}

TEST_F(Layer, SetFloatValClampsAndIgnoresNaN) {
  float v = 0.005f;
  Spinner s("dt", &v);
  s.set_float_limits(0.0001f, 1);
  s.set_float_val(0);
  EXPECT_EQ(v, 0.0001f);
  s.set_float_val(-3);
  EXPECT_EQ(v, 0.0001f);
  s.set_float_val(7);
  EXPECT_EQ(v, 1.0f);
  s.set_float_val(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(v, 1.0f);
  s.set_float_val(std::numeric_limits<float>::infinity());
  EXPECT_EQ(v, 1.0f);
}

// Whatever text arrives, the variable ends inside the limits and finite.
TEST_F(Layer, TypedTextIsClampedOrIgnoredButNeverNaNOrInfinite) {
  float v = 28;
  Spinner s("ro", &v);
  s.set_float_limits(1, 300);
  const struct Case {
    const char *text;
    float want;
  } cases[] = {
      {"", 28},     {"abc", 28}, {"nan", 28},    {"-nan", 28},  {"1.5x", 28},
      {"inf", 300}, {"-inf", 1}, {"1e999", 300}, {"-1e999", 1}, {"301", 300},
      {"0", 1},     {"-5", 1},   {"42.5", 42.5}, {" 7 ", 7},    {"1e2", 100},
  };
  for (const Case &c : cases) {
    v = 28;
    s.commitText(c.text);
    EXPECT_EQ(v, c.want) << '"' << c.text << '"';
  }
}

TEST_F(Layer, ArrowStepIsATenthOfTheLeadingDigit) {
  float ro = 28, dt = 0.005f, dro = 0;
  EXPECT_EQ(Spinner("ro", &ro).step(), 1.0);
  EXPECT_EQ(Spinner("dt", &dt).step(), 1e-4);
  Spinner d("dro", &dro);
  d.set_float_limits(-10, 10);
  EXPECT_EQ(d.step(), 0.01);
}

TEST_F(Layer, ArrowClickStepsAndClampsAtTheLimit) {
  float ro = 299.5f;
  Spinner s("ro", &ro);
  s.set_float_limits(1, 300);
  warm(&s);
  click(&s, 152, 14); // the up arrow, right of the field
  EXPECT_EQ(ro, 300.0f);
  float dt = 0.005f;
  Spinner d("dt", &dt);
  d.set_float_limits(0.0001f, 1);
  warm(&d);
  click(&d, 152, 14);
  EXPECT_EQ(dt, 0.0051f);
}

// The pointer comes from the scene and clicks at once, all between two
// frames: ImGui must not read the approach as a drag on the arrow.
TEST_F(Layer, ArrowClickAfterAnApproachInTheSameFrameStepsOnce) {
  float tmin = 50;
  Spinner s("tmin", &tmin);
  s.set_float_limits(0, 10000);
  const struct Case {
    int arrowX;
    float want;
  } cases[] = {{152, 51}, {152, 52}, {171, 51}, {171, 50}};
  for (const Case &c : cases) {
    ui::master.passiveEvent(300, 250);
    warm(&s);
    ui::master.passiveEvent(250, 200);
    ui::master.passiveEvent(c.arrowX, 14);
    ui::master.mouseEvent(0, 0, c.arrowX, 14, 0);
    ui::master.mouseEvent(0, 1, c.arrowX, 14, 0);
    for (int f = 0; f < 4; f++) frame(&s);
    EXPECT_EQ(tmin, c.want) << "arrow at x " << c.arrowX;
  }
}

// Typed text waits for Enter or for the field to be left, clamped; Esc
// abandons it.
TEST_F(Layer, TypedValueTakesEffectOnEnterOrLeavingNotOnEveryKeystroke) {
  enum Ending { ENTER, ESC, CLICK_OUTSIDE };
  const struct {
    const char *typed;
    Ending ending;
    float want;
  } cases[] = {{"0.001", ENTER, 0.001f}, {"0.5", ESC, 0.005f}, {"-2", CLICK_OUTSIDE, 0.0001f}};
  for (const auto &c : cases) {
    dt = 0.005f;
    warm(&field);
    edit(c.typed);
    EXPECT_EQ(dt, 0.005f) << c.typed;
    if (c.ending == CLICK_OUTSIDE) click(&field, 300, 250);
    else key(&field, c.ending == ENTER ? 13 : 27);
    EXPECT_EQ(dt, c.want) << c.typed << ", ending " << c.ending;
  }
}

// Typed through the field: the variable takes the clamped value or keeps
// its own, and the field then shows what the variable holds.
TEST_F(Layer, FieldShowsTheVariableAfterBadText) {
  const struct Case {
    const char *typed, *shown;
  } cases[] = {{"1e999", "1"}, {"-", "1"}, {"", "1"}, {"-1e999", "0.0001"}, {"5e-3", "0.005"}};
  warm(&field);
  for (const Case &c : cases) {
    edit(c.typed);
    key(&field, 13);
    EXPECT_STREQ(field.shown(), c.shown) << '"' << c.typed << '"';
  }
}

// Presses and releases between two frames still click, each of them
// (ImGui 1.86 alone would see none).
TEST_F(Layer, QuickClicksBetweenFramesAreAllSeen) {
  ui::Button b("Go", 0, onButton);
  warm(&b);
  for (int k = 0; k < 3; k++) {
    ui::master.mouseEvent(0, 0, 12, 12, 0);
    ui::master.mouseEvent(0, 1, 12, 12, 0);
  }
  for (int f = 0; f < 8; f++) frame(&b);
  EXPECT_EQ(buttonClicks, 3);
}

TEST_F(Layer, TypedTextArrivesBeforeTheEnterThatFollowsIt) {
  warm(&field);
  click(&field, 100, 14);
  ui::master.keyEvent(8, 0, 0, 0);
  ui::master.keyUpEvent(8, 0, 0, 0);
  for (const char *c = "0.25"; *c; c++) ui::master.keyEvent(*c, 0, 0, 0);
  ui::master.keyEvent(13, 0, 0, 0);
  ui::master.keyUpEvent(13, 0, 0, 0);
  for (int f = 0; f < 6; f++) frame(&field);
  EXPECT_EQ(dt, 0.25f);
  EXPECT_FALSE(ImGui::GetIO().KeysDown[13]);
}

// Scene presses reach ImGui while a panel could care: a click in the scene
// ends an edit; otherwise a burst of drags leaves nothing for later frames.
TEST_F(Layer, SceneClickEndsAnEditAndSceneDragsLeaveNothingQueued) {
  ui::master.right->width = 0; // all of the window is scene
  warm(&field);
  edit("0.5");
  ui::master.mouseEvent(0, 0, 300, 250, 0);
  ui::master.mouseEvent(0, 1, 300, 250, 0);
  for (int f = 0; f < 4; f++) frame(&field);
  EXPECT_EQ(dt, 0.5f);
  for (int k = 0; k < 50; k++) {
    ui::master.mouseEvent(2, 0, 300, 250, 0);
    ui::master.motionEvent(310, 240);
    ui::master.mouseEvent(2, 1, 310, 240, 0);
  }
  frame(&field);
  EXPECT_FALSE(ui::master.inputWaiting());
}

TEST_F(Layer, PressOverAPanelNeverReachesTheScene) {
  ImGui::GetIO().MousePos = ImVec2(300, 300);
  warm(nullptr);
  ui::master.winW = 1200, ui::master.winH = 750;
  ui::master.right->width = 250;
  ui::master.mouseEvent(0, 0, 1100, 300, 0);
  ui::master.motionEvent(500, 300);
  ui::master.mouseEvent(0, 1, 500, 300, 0);
  EXPECT_EQ(sceneButtons + sceneMotions, 0);
  // A drag that starts in the scene stays with it over the panel.
  ui::master.mouseEvent(0, 0, 300, 300, 0);
  ui::master.motionEvent(1100, 300);
  ui::master.mouseEvent(0, 1, 1100, 300, 0);
  EXPECT_EQ(sceneButtons, 2);
  EXPECT_EQ(sceneMotions, 1);
}

TEST_F(Layer, KeysGoToAnActiveTextFieldNotToTheScene) {
  warm(&field);
  ui::master.keyEvent('5', 0, 0, 0);
  EXPECT_EQ(sceneKeys, 1);
  click(&field, 100, 14);
  ui::master.keyEvent('5', 0, 0, 0);
  EXPECT_EQ(sceneKeys, 1);
  key(&field, 27);
}
