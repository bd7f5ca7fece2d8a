// The two control panels, laid out each frame with plain Dear ImGui calls
// from the panels' table, and their widgets: the embossed frame, the
// rollout, the spinner and the list. Labels keep their blanks.
#include "ui/panels.h"

#include <GL/freeglut.h>
#include <imgui.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "interact/actions.h"
#include "state/field.h"
#include "ui/layer.h"

using ui::px;

void resetButton(Settings &set, Picture &pic) {
  reset(set, pic);
  glutPostRedisplay();
}

void initialButton(Picture &pic) {
  initial(pic);
  glutPostRedisplay();
}

namespace {

const float SPINNER_LABEL_W = 52; // label column of a spinner, pixels at scale 1
const float LISTBOX_LABEL_W = 88; // label column of a list, pixels at scale 1

// ======== Widgets =================================================================
// An embossed frame around a title and what is laid out until endEmbossed.
ImVec2 beginEmbossed(const char *title) {
  ImVec2 p0 = ImGui::GetCursorScreenPos();
  ImGui::Indent(px(4));
  ImGui::TextUnformatted(title);
  ImGui::Indent(px(6));
  return p0;
}

void endEmbossed(ImVec2 p0) {
  ImGui::Unindent(px(10));
  ImGui::Dummy(ImVec2(0, px(1)));
  ImVec2 p1 = ImGui::GetCursorScreenPos();
  float right = ImGui::GetWindowPos().x + ImGui::GetWindowContentRegionMax().x;
  ImDrawList *dl = ImGui::GetWindowDrawList();
  dl->AddRect(ImVec2(p0.x + 1, p0.y + 1), ImVec2(right + 1, p1.y), IM_COL32(255, 255, 255, 60));
  dl->AddRect(p0, ImVec2(right, p1.y - 1), IM_COL32(0, 0, 0, 160));
  ImGui::Dummy(ImVec2(0, px(2)));
}

// A click on either arrow steps to the next multiple of the step; a
// vertical drag on either changes the value by half a step a pixel, up to
// increase.
void arrows(float &v, float lo, float hi, SpinnerEdit &e) {
  ImGui::SameLine(0, px(2));
  bool up = ImGui::ArrowButton("##up", ImGuiDir_Up);
  bool upHeld = ImGui::IsItemActive();
  ImGui::SameLine(0, px(2));
  bool down = ImGui::ArrowButton("##down", ImGuiDir_Down);
  bool downHeld = ImGui::IsItemActive();

  float dy = ImGui::GetIO().MouseDelta.y;
  if ((upHeld || downHeld) && dy != 0) {
    v = arrowDrag(v, lo, hi, dy);
    e.dragged = true;
  }
  if ((up || down) && !e.dragged) v = arrowClick(v, lo, hi, up ? 1 : -1);
  if (!upHeld && !downHeld) e.dragged = false;
}

// A number's field and arrows. Typed text takes effect on Enter or when the
// field is left, Esc abandons it; every route stays within lo to hi.
void spinner(const char *label, float &v, float lo, float hi, SpinnerEdit &e) {
  float x0 = ImGui::GetCursorPosX();
  ImGui::AlignTextToFramePadding();
  ImGui::TextUnformatted(label);
  ImGui::SameLine(x0 + px(SPINNER_LABEL_W));
  if (!e.editing) std::snprintf(e.text, sizeof e.text, "%s", fieldText(v).c_str());
  ImGui::SetNextItemWidth(px(84));
  ImGui::InputText("##value", e.text, sizeof e.text,
                   ImGuiInputTextFlags_CharsScientific | ImGuiInputTextFlags_AutoSelectAll);
  // Checked every frame rather than on the deactivation event, which a
  // click on a later widget of the same frame would hide from this one.
  bool active = ImGui::IsItemActive();
  if (active && !e.editing) e.editing = true;
  if (!active && e.editing) {
    e.editing = false;
    if (!ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), false))
      v = typedValue(e.text, v, lo, hi);
  }
  arrows(v, lo, hi, e);
}

// A drop-down list of the choices; the chosen one's value is written.
void list(const Setting &row, int &v) {
  float x0 = ImGui::GetCursorPosX();
  ImGui::AlignTextToFramePadding();
  ImGui::TextUnformatted(row.label.c_str());
  ImGui::SameLine(x0 + px(LISTBOX_LABEL_W));
  auto chosen = std::find_if(row.choices.begin(), row.choices.end(),
                             [&](const Setting::Choice &c) { return c.value == v; });
  const char *shown = chosen == row.choices.end() ? "" : chosen->label.c_str();
  ImGui::SetNextItemWidth(px(120));
  if (ImGui::BeginCombo("##items", shown)) {
    for (const Setting::Choice &c : row.choices)
      if (ImGui::Selectable(c.label.c_str(), c.value == v)) v = c.value;
    if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), false))
      ImGui::CloseCurrentPopup(); // as a click outside it: nothing chosen
    ImGui::EndCombo();
  }
}

// ======== The table's controls ======================================================
struct Walk {
  const std::vector<Control> &controls;
  Settings &set;
  Picture &pic;
  PanelMemory &memory;
};

bool holds(Widget w) {
  return w == Widget::GROUP || w == Widget::ROLLOUT || w == Widget::ROW;
}

// The END that closes the group, rollout or row begun at k.
size_t endOf(const std::vector<Control> &c, size_t k) {
  for (int depth = 0;; k++) {
    depth += holds(c[k].widget);
    if (c[k].widget == Widget::END && --depth == 0) return k;
  }
}

void press(Press p, Settings &set, Picture &pic) {
  if (p == Press::RESET) resetButton(set, pic);
  if (p == Press::INITIAL) initialButton(pic);
  if (p == Press::QUIT) std::exit(0);
}

void layoutRange(const Walk &w, size_t from, size_t to);

// A setting's control, bound to its field of set.
void layoutSetting(const Control &c, const Walk &w) {
  const Setting &r = settingRow(c.key);
  if (c.widget == Widget::SPINNER) {
    spinner(c.text.c_str(), r.in<float>(w.set), (float)r.lo, (float)r.hi, w.memory.spinners[c.key]);
    return;
  }
  int &v = r.in<int>(w.set);
  if (c.widget == Widget::LIST) list(r, v);
  if (c.widget == Widget::RADIOS)
    for (const Setting::Choice &choice : r.choices)
      if (ImGui::RadioButton(choice.label.c_str(), v == choice.value)) v = choice.value;
  if (c.widget == Widget::CHECK) {
    bool on = v != 0;
    if (ImGui::Checkbox(c.text.c_str(), &on)) v = on ? 1 : 0;
  }
}

// The control at k (a container with what it holds); the index of its last entry.
size_t layoutControl(const Walk &w, size_t k) {
  const Control &c = w.controls[k];
  const char *text = c.text.c_str();
  const size_t end = holds(c.widget) ? endOf(w.controls, k) : k;
  ImGui::PushID(c.key.empty() ? text : c.key.c_str());
  switch (c.widget) {
  case Widget::GROUP: {
    ImVec2 p0 = beginEmbossed(text);
    layoutRange(w, k + 1, end);
    endEmbossed(p0);
    break;
  }
  case Widget::ROLLOUT: {
    bool &open = w.memory.open[c.key];
    ImGui::SetNextItemOpen(open, ImGuiCond_Always);
    open = ImGui::CollapsingHeader(text);
    ImGui::Indent(px(8));
    if (open) layoutRange(w, k + 1, end);
    ImGui::Unindent(px(8));
    break;
  }
  case Widget::RADIOS:
  case Widget::SPINNER:
  case Widget::LIST:
  case Widget::CHECK:
    layoutSetting(c, w);
    break;
  case Widget::BUTTON:
    if (ImGui::Button(text)) press(c.press, w.set, w.pic);
    break;
  case Widget::TEXT:
    ImGui::TextUnformatted(text);
    break;
  case Widget::SEPARATOR:
    ImGui::Separator();
    break;
  default:
    break;
  }
  ImGui::PopID();
  return end;
}

// The controls from from to to, the page's own left out.
void layoutRange(const Walk &w, size_t from, size_t to) {
  for (size_t k = from; k < to; k++)
    if (shownOn(w.controls[k].shown, Shown::DESKTOP)) k = layoutControl(w, k);
}

} // namespace

// A panel with columns lays each out side by side, wrapping into rows.
void layoutPanel(const std::vector<Control> &controls, Settings &set, Picture &pic,
                 PanelMemory &memory) {
  const Walk w{controls, set, pic, memory};
  std::vector<size_t> starts = {0};
  for (size_t k = 0; k < controls.size(); k++)
    if (controls[k].widget == Widget::COLUMN) starts.push_back(k + 1);
  starts.push_back(controls.size() + 1);
  if (starts.size() == 2) return layoutRange(w, 0, controls.size());
  ui::layoutColumns(memory.columnWidths, (int)starts.size() - 1,
                    [&](int j) { layoutRange(w, starts[j], starts[j + 1] - 1); });
}
