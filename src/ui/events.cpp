// Window events and the queue that hands ImGui one change at a time.
//   press: the panel it starts over (or an open list), else the scene; ImGui while a panel cares
//   drag: whoever took the press, wherever the pointer goes; ImGui sees every move
//   release: whoever took the press
//   keys: a field being edited, else the scene; every key release reaches the scene;
//     Shift, Ctrl and Alt reach ImGui as they go down and up; function keys, the scene too
//   wheel: over a panel it scrolls the panel; in the scene it is a button like any other
#include <imgui.h>

#include <algorithm>

#include "ui/layer.h"

namespace ui {

namespace {

const int GLUT_DOWN_STATE = 0; // the toolkit's button state for a press

// Printable characters are text for ImGui; the rest (Enter, Esc, Backspace,
// Tab, Delete, Ctrl+letter) are keys of its key map.
bool printable(unsigned char c) {
  return c >= 32 && c != 127;
}

// Ctrl+letter arrives as a control character; the key map names the letter.
int keyIndex(unsigned char c) {
  if (c >= 1 && c <= 26 && c != 8 && c != 9 && c != 13) return c - 1 + 'A';
  return c;
}

} // namespace

// Over a panel as last laid out, or anywhere while a drop-down list is open
// (it reaches over the scene, and a click outside it only closes it).
// ImGui's own hover state is a frame old, too late for a press that comes
// right after the pointer left a panel.
bool Master::overPanel(int px, int py) const {
  const ImGuiPopupFlags anyPopup = ImGuiPopupFlags_AnyPopupId | ImGuiPopupFlags_AnyPopupLevel;
  if (ImGui::GetCurrentContext() && ImGui::IsPopupOpen("", anyPopup)) return true;
  if (right.contents && px >= winW - right.width) return true;
  if (bottom.contents && py >= winH - bottom.height) return true;
  return false;
}

void Master::queue(const Input &e) {
  if (pending.size() < 100000) pending.push_back(e);
}

// A move waits for the frame after a button change, so that a click is seen
// where it happened; a press after the pointer moved starts ImGui's frame
// from the press position, or it would read the approach as a drag (it
// measures drags from the last frame's pointer); typed characters go
// before a key such as Enter.
void Master::trickleInput() {
  ImGuiIO &io = ImGui::GetIO();
  const ImVec2 was = io.MousePos;
  bool button[3] = {}, key[512] = {}, anyButton = false, anyKey = false, chars = false;
  size_t k = 0;
  for (; k < pending.size(); k++) {
    const Input &e = pending[k];
    if (e.kind == Input::MOVE) {
      if (anyButton) break;
      io.MousePos = ImVec2(e.x, e.y);
    } else if (e.kind == Input::BUTTON) {
      if (button[e.index]) break;
      if (e.down && (was.x != e.x || was.y != e.y)) io.MousePosPrev = ImVec2(e.x, e.y);
      button[e.index] = anyButton = true;
      io.MousePos = ImVec2(e.x, e.y);
      io.MouseDown[e.index] = e.down;
    } else if (e.kind == Input::KEY) {
      if (key[e.index] || chars) break;
      key[e.index] = anyKey = true;
      io.KeysDown[e.index] = e.down;
    } else if (e.kind == Input::MODIFIERS) {
      if (anyKey || chars) break; // the keys before it were pressed with the old ones
    } else {
      if (anyKey) break;
      chars = true;
      io.AddInputCharacter((unsigned)e.index);
    }
    if (e.kind != Input::MOVE && e.kind != Input::CHAR) {
      io.KeyShift = (e.modifiers & 1) != 0;
      io.KeyCtrl = (e.modifiers & 2) != 0;
      io.KeyAlt = (e.modifiers & 4) != 0;
    }
  }
  bool took = false;
  for (size_t j = 0; j < k; j++) took = took || pending[j].kind != Input::MOVE;
  tookInput = took || tookInputBefore;
  tookInputBefore = took;
  pending.erase(pending.begin(), pending.begin() + (long)k);
}

// A field or arrow is in use, a list is open, or queued panel input may
// start either.
bool Master::panelsCare() const {
  const ImGuiPopupFlags anyPopup = ImGuiPopupFlags_AnyPopupId | ImGuiPopupFlags_AnyPopupLevel;
  return ImGui::IsAnyItemActive() || ImGui::IsPopupOpen("", anyPopup) || panelInputQueued();
}

bool Master::panelInputQueued() const {
  return std::any_of(pending.begin(), pending.end(),
                     [](const Input &e) { return e.kind != Input::MOVE; });
}

bool Master::inputWaiting() const {
  return tookInput || panelInputQueued() || (windowInputHook && windowInputHook());
}

void Master::reshapeEvent(int w, int h) {
  winW = w, winH = h;
  if (ImGui::GetCurrentContext()) ImGui::GetIO().DisplaySize = ImVec2((float)w, (float)h);
  if (reshape) reshape(w, h);
}

// A press over a panel belongs to it until the release; a press in the
// scene goes to the scene's handler, and to ImGui too while a panel could
// care, so that a click in the scene ends an edit in a panel; otherwise
// ImGui would take a frame a button change to replay every scene drag.
// The wheel (buttons 3 and 4) scrolls a panel, and in the scene is a
// button like any other.
void Master::mouseEvent(int b, int s, int px, int py, int mods) {
  bool imgui = ImGui::GetCurrentContext() != nullptr;
  if (b < 0 || b > 2) {
    bool panel = overPanel(px, py);
    if (panel && imgui && s == GLUT_DOWN_STATE)
      ImGui::GetIO().MouseWheel += b == 3 ? 1 : b == 4 ? -1 : 0;
    if (!panel && mouse) mouse(b, s, px, py);
    return;
  }
  Owner o;
  if (s == GLUT_DOWN_STATE) {
    o = owner[b] = overPanel(px, py) ? PANEL : SCENE;
    toldImGui[b] = imgui && (o == PANEL || panelsCare());
  } else {
    o = owner[b] != NONE ? owner[b] : overPanel(px, py) ? PANEL : SCENE;
    owner[b] = NONE;
  }
  if (toldImGui[b]) queue({Input::BUTTON, b, s == GLUT_DOWN_STATE, (float)px, (float)py, mods});
  if (o == SCENE && mouse) mouse(b, s, px, py);
}

// A drag belongs to whoever took its press, wherever the pointer goes.
void Master::motionEvent(int px, int py) {
  if (ImGui::GetCurrentContext()) queue({Input::MOVE, 0, false, (float)px, (float)py, 0});
  bool scene = owner[0] == SCENE || owner[1] == SCENE || owner[2] == SCENE;
  if (scene && motion) motion(px, py);
}

void Master::passiveEvent(int px, int py) {
  if (ImGui::GetCurrentContext()) queue({Input::MOVE, 0, false, (float)px, (float)py, 0});
  if (!overPanel(px, py) && passive) passive(px, py);
}

// Keys go to a panel's text field while one is being edited, else to the
// scene wherever the pointer is.
void Master::keyEvent(unsigned char c, int px, int py, int mods) {
  bool toPanel = false;
  if (ImGui::GetCurrentContext()) {
    toPanel = ImGui::GetIO().WantCaptureKeyboard;
    if (printable(c)) queue({Input::CHAR, c, true, 0, 0, mods});
    else queue({Input::KEY, keyIndex(c), true, 0, 0, mods});
  }
  if (!toPanel && keyboard) keyboard(c, px, py);
}

// The scene always hears a release, so that no key stays held for it.
void Master::keyUpEvent(unsigned char c, int px, int py, int mods) {
  if (ImGui::GetCurrentContext() && !printable(c))
    queue({Input::KEY, keyIndex(c), false, 0, 0, mods});
  if (keyboardUp) keyboardUp(c, px, py);
}

// The toolkit reports Shift, Ctrl and Alt themselves as special keys 112 to
// 117, with the modifier state from before the key: track them here, and
// tell ImGui at once, or it would go on believing Ctrl held after its
// release and drop the characters typed next.
void Master::specialEvent(int key, bool down, int mods) {
  if (!ImGui::GetCurrentContext()) return;
  if (down && key >= 1 && key <= 12 && !ImGui::GetIO().WantCaptureKeyboard && special)
    special(key, 0); // F1 to F12
  if (key >= 112 && key <= 117) {
    int bit = key <= 113 ? 1 : key <= 115 ? 2 : 4;
    modifiers = down ? modifiers | bit : modifiers & ~bit;
    queue({Input::MODIFIERS, 0, down, 0, 0, modifiers});
    return;
  }
  if (256 + key < 512) queue({Input::KEY, 256 + key, down, 0, 0, mods | modifiers});
}

} // namespace ui
