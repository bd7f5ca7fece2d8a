// The panel layer: retained controls bound to live variables, laid out with
// Dear ImGui every frame in two panels docked right and bottom, and the
// routing of window events between the panels and the scene.
//
//   [Controls]   layout of each control, the spinner's routes to its variable
//   [Subwindows] construction calls, columns
//   [Frame]      the two docked panels, size changes, viewport area
// Window events and their queue for ImGui are in events.cpp.
#include "ui/layer.h"

#include "state/settings.h"

#include <imgui.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ui {

Master master;

namespace {

const float SPINNER_LABEL_W = 52; // label column of a spinner, pixels at scale 1
const float LISTBOX_LABEL_W = 88; // label column of a listbox, pixels at scale 1

// Pixels at the panels' scale.
float px(float v) {
  return v * master.scale;
}

} // namespace

// ======== [Controls] ============================================================

void Panel::layoutChildren() {
  for (auto &c : children) c->layout();
}

Spinner *Panel::findSpinner(const std::string &label) {
  for (auto &c : children) {
    if (auto *s = dynamic_cast<Spinner *>(c.get()); s && s->name == label) return s;
    if (auto *p = dynamic_cast<Panel *>(c.get()))
      if (Spinner *s = p->findSpinner(label)) return s;
  }
  return nullptr;
}

// An embossed frame around a title and the contents.
void Panel::layout() {
  ImVec2 p0 = ImGui::GetCursorScreenPos();
  ImGui::Indent(px(4));
  ImGui::TextUnformatted(name.c_str());
  ImGui::Indent(px(6));
  layoutChildren();
  ImGui::Unindent(px(10));
  ImGui::Dummy(ImVec2(0, px(1)));
  ImVec2 p1 = ImGui::GetCursorScreenPos();
  float right = ImGui::GetWindowPos().x + ImGui::GetWindowContentRegionMax().x;
  ImDrawList *dl = ImGui::GetWindowDrawList();
  dl->AddRect(ImVec2(p0.x + 1, p0.y + 1), ImVec2(right + 1, p1.y), IM_COL32(255, 255, 255, 60));
  dl->AddRect(p0, ImVec2(right, p1.y - 1), IM_COL32(0, 0, 0, 160));
  ImGui::Dummy(ImVec2(0, px(2)));
}

// Open or closed is kept here, not by ImGui under the header's id, which
// changes when the bottom panel wraps this rollout into another row.
void Rollout::layout() {
  ImGui::SetNextItemOpen(open != 0, ImGuiCond_Always);
  open = ImGui::CollapsingHeader(name.c_str());
  if (!open) return;
  ImGui::Indent(px(8));
  layoutChildren();
  ImGui::Unindent(px(8));
}

void RadioGroup::layout() {
  ImGui::PushID(this);
  for (int k = 0; k < (int)labels.size(); k++)
    if (ImGui::RadioButton(labels[k].c_str(), *var == k)) *var = k;
  ImGui::PopID();
}

void Checkbox::layout() {
  ImGui::PushID(this);
  bool on = *var != 0;
  if (ImGui::Checkbox(name.c_str(), &on)) *var = on ? 1 : 0;
  ImGui::PopID();
}

void Button::layout() {
  ImGui::PushID(this);
  if (ImGui::Button(name.c_str())) cb(id);
  ImGui::PopID();
}

void StaticText::layout() {
  ImGui::TextUnformatted(text.c_str());
}

void Separator::layout() {
  ImGui::Separator();
}

void Listbox::layout() {
  ImGui::PushID(this);
  float x0 = ImGui::GetCursorPosX();
  ImGui::AlignTextToFramePadding();
  ImGui::TextUnformatted(name.c_str());
  ImGui::SameLine(x0 + px(LISTBOX_LABEL_W));
  const char *shown = "";
  for (auto &it : items)
    if (it.first == *var) shown = it.second.c_str();
  ImGui::SetNextItemWidth(px(120));
  if (ImGui::BeginCombo("##items", shown)) {
    for (auto &it : items)
      if (ImGui::Selectable(it.second.c_str(), it.first == *var)) *var = it.first;
    if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), false))
      ImGui::CloseCurrentPopup(); // as a click outside it: nothing chosen
    ImGui::EndCombo();
  }
  ImGui::PopID();
}

// ---- Spinner ----------------------------------------------------------------

void Spinner::set_float_limits(float low, float high, int) {
  lo = low, hi = high;
  set_float_val(*var);
}

// Clamps to the limits; a NaN is no value and leaves the variable alone.
void Spinner::set_float_val(float v) {
  if (std::isnan(v)) return;
  *var = v < lo ? lo : v > hi ? hi : v;
}

void Spinner::commitText(const char *s) {
  *var = typedValue(s, *var, lo, hi);
}

double Spinner::step() const {
  return arrowStep(*var, lo, hi);
}

void Spinner::layout() {
  ImGui::PushID(this);
  float x0 = ImGui::GetCursorPosX();
  ImGui::AlignTextToFramePadding();
  ImGui::TextUnformatted(name.c_str());
  ImGui::SameLine(x0 + px(SPINNER_LABEL_W));
  if (!editing) std::snprintf(text, sizeof text, "%s", fieldText(*var).c_str());
  ImGui::SetNextItemWidth(px(84));
  ImGui::InputText("##value", text, sizeof text,
                   ImGuiInputTextFlags_CharsScientific | ImGuiInputTextFlags_AutoSelectAll);
  // Checked every frame rather than on the deactivation event, which a
  // click on a later widget of the same frame would hide from this one.
  bool active = ImGui::IsItemActive();
  if (active && !editing) editing = true;
  if (!active && editing) {
    editing = false;
    if (!ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), false)) commitText(text);
  }
  arrows();
  ImGui::PopID();
}

// A click steps to the next multiple of the step; a vertical drag on either
// arrow changes the value by half a step per pixel, up to increase.
void Spinner::arrows() {
  ImGui::SameLine(0, px(2));
  bool up = ImGui::ArrowButton("##up", ImGuiDir_Up);
  bool upHeld = ImGui::IsItemActive();
  ImGui::SameLine(0, px(2));
  bool down = ImGui::ArrowButton("##down", ImGuiDir_Down);
  bool downHeld = ImGui::IsItemActive();

  float dy = ImGui::GetIO().MouseDelta.y;
  if ((upHeld || downHeld) && dy != 0) {
    set_float_val(arrowDrag(*var, lo, hi, dy));
    dragged = true;
  }
  if ((up || down) && !dragged) {
    set_float_val(arrowClick(*var, lo, hi, up ? 1 : -1));
  }
  if (!upHeld && !downHeld) dragged = false;
}

// ======== [Subwindows] ==========================================================

Panel *Subwindow::add_panel(const char *n, int) {
  auto *p = new Panel(n);
  add(p);
  return p;
}

Rollout *Subwindow::add_rollout(const char *n, int open, int) {
  auto *r = new Rollout(n, open);
  add(r);
  return r;
}

RadioGroup *Subwindow::add_radiogroup_to_panel(Panel *p, int *var, int, const Callback &) {
  auto *g = new RadioGroup(var);
  p->add(g);
  return g;
}

void Subwindow::add_radiobutton_to_group(RadioGroup *g, const char *n) {
  g->add(n);
}

void Subwindow::add_statictext(const char *text) {
  add(new StaticText(text));
}

void Subwindow::add_statictext_to_panel(Panel *p, const char *text) {
  p->add(new StaticText(text));
}

void Subwindow::add_separator() {
  add(new Separator());
}

void Subwindow::add_separator_to_panel(Panel *p) {
  p->add(new Separator());
}

void Subwindow::add_column(int bar) {
  add(new Column(bar));
}

Checkbox *Subwindow::add_checkbox(const char *n, int *var, int, const Callback &) {
  auto *c = new Checkbox(n, var);
  add(c);
  return c;
}

Button *Subwindow::add_button(const char *n, int id, Callback cb) {
  auto *b = new Button(n, id, std::move(cb));
  add(b);
  return b;
}

Spinner *Subwindow::add_spinner_to_panel(Panel *p, const char *n, int, float *var, int,
                                         const Callback &) {
  auto *s = new Spinner(n, var);
  p->add(s);
  return s;
}

Listbox *Subwindow::add_listbox(const char *n, int *var, int, const Callback &) {
  auto *l = new Listbox(n, var);
  add(l);
  return l;
}

// Columns side by side, each as wide as its contents ask and every bar
// drawn. A column that would reach past the right edge starts a new row,
// so that opening a rollout or narrowing the window never squeezes a
// control; a column wider than the whole panel scrolls it sideways. The
// widths are those of the last frame.
void Subwindow::layout() {
  std::vector<std::vector<Control *>> columns(1);
  for (auto &c : children) {
    if (dynamic_cast<Column *>(c.get())) columns.emplace_back();
    else columns.back().push_back(c.get());
  }
  if (columns.size() == 1) {
    layoutChildren();
    return;
  }
  columnWidths.resize(columns.size());
  const float avail = ImGui::GetContentRegionAvail().x;
  const float between = 2 * ImGui::GetStyle().CellPadding.x + 1; // padding each side of a bar
  for (size_t first = 0, end; first < columns.size(); first = end) {
    float w = columnWidths[first];
    for (end = first + 1; end < columns.size() && w + between + columnWidths[end] <= avail; end++)
      w += between + columnWidths[end];
    ImGui::PushID((int)first);
    if (ImGui::BeginTable("##columns", (int)(end - first),
                          ImGuiTableFlags_BordersInnerV | ImGuiTableFlags_SizingFixedFit,
                          ImVec2(w > avail ? w : 0, 0))) {
      for (size_t k = first; k < end; k++) {
        ImGui::TableNextColumn();
        ImGui::BeginGroup();
        for (Control *c : columns[k]) c->layout();
        ImGui::EndGroup();
        columnWidths[k] = ImGui::GetItemRectSize().x;
      }
      ImGui::EndTable();
    }
    ImGui::PopID();
  }
}

// ======== [Frame] ===============================================================

Subwindow *Master::create_subwindow(int, int position) {
  auto *s = new Subwindow(position);
  if (position == SUBWINDOW_RIGHT) right = s;
  else bottom = s;
  return s;
}

void Master::init(float withScale, const char *fontFile) {
  ImGui::CreateContext();
  ImGuiIO &io = ImGui::GetIO();
  scale = withScale;
  io.IniFilename = nullptr;
  io.LogFilename = nullptr;
  // A steady caret: a field being edited changes only when its text does.
  io.ConfigInputTextCursorBlink = false;
  io.KeyMap[ImGuiKey_Tab] = '\t';
  io.KeyMap[ImGuiKey_LeftArrow] = 256 + 100; // the toolkit's special keys, offset by 256
  io.KeyMap[ImGuiKey_UpArrow] = 256 + 101;
  io.KeyMap[ImGuiKey_RightArrow] = 256 + 102;
  io.KeyMap[ImGuiKey_DownArrow] = 256 + 103;
  io.KeyMap[ImGuiKey_PageUp] = 256 + 104;
  io.KeyMap[ImGuiKey_PageDown] = 256 + 105;
  io.KeyMap[ImGuiKey_Home] = 256 + 106;
  io.KeyMap[ImGuiKey_End] = 256 + 107;
  io.KeyMap[ImGuiKey_Insert] = 256 + 108;
  io.KeyMap[ImGuiKey_Delete] = 127;
  io.KeyMap[ImGuiKey_Backspace] = 8;
  io.KeyMap[ImGuiKey_Space] = ' ';
  io.KeyMap[ImGuiKey_Enter] = 13;
  io.KeyMap[ImGuiKey_Escape] = 27;
  io.KeyMap[ImGuiKey_A] = 'A';
  io.KeyMap[ImGuiKey_C] = 'C';
  io.KeyMap[ImGuiKey_V] = 'V';
  io.KeyMap[ImGuiKey_X] = 'X';
  io.KeyMap[ImGuiKey_Y] = 'Y';
  io.KeyMap[ImGuiKey_Z] = 'Z';

  ImGui::StyleColorsDark();
  ImGuiStyle &st = ImGui::GetStyle();
  st.WindowRounding = 0;
  st.WindowPadding = ImVec2(6, 6);
  st.FramePadding = ImVec2(4, 2);
  st.ItemSpacing = ImVec2(6, 3);
  st.Colors[ImGuiCol_WindowBg] = ImVec4(0.16f, 0.17f, 0.19f, 1.0f); // opaque over the scene
  if (scale == 1) return;
  st.ScaleAllSizes(scale);
  // The bitmap font only doubles its pixels; a TrueType font stays crisp.
  if (!fontFile || !io.Fonts->AddFontFromFileTTF(fontFile, std::round(13 * scale)))
    io.FontGlobalScale = scale;
}

// Docked without title, move or resize; each fits its content along one axis.
static const ImGuiWindowFlags DOCKED =
    ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
    ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_AlwaysAutoResize |
    ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoFocusOnAppearing |
    ImGuiWindowFlags_NoBringToFrontOnFocus | ImGuiWindowFlags_HorizontalScrollbar;

// Sized to its content along one axis, up to maxH in height (it scrolls
// beyond); the other axis is given.
static void layoutDocked(Subwindow *s, const char *id, ImVec2 pos, ImVec2 pivot, ImVec2 size,
                         float maxH) {
  ImGui::SetNextWindowPos(pos, ImGuiCond_Always, pivot);
  ImGui::SetNextWindowSize(size, ImGuiCond_Always);
  ImGui::SetNextWindowSizeConstraints(ImVec2(size.x, 0),
                                      ImVec2(size.x > 0 ? size.x : FLT_MAX, maxH));
  ImGui::Begin(id, nullptr, DOCKED);
  s->layout();
  ImVec2 got = ImGui::GetWindowSize();
  ImGui::End();
  s->width = (int)std::lround(got.x);
  s->height = (int)std::lround(got.y);
}

// The right panel is full height; the bottom one takes the width left.
// A panel that changed size sends the scene through reshape again.
void Master::beginFrame() {
  if (!ImGui::GetCurrentContext()) return;
  ImGuiIO &io = ImGui::GetIO();
  if (frameOpen) ImGui::EndFrame();
  trickleInput();
  if (newFrameHook) {
    newFrameHook();
  } else {
    unsigned char *pixels;
    int w, h;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
    io.DeltaTime = 1.0f / 60;
    ImGui::NewFrame();
  }

  float W = (float)winW, H = (float)winH;
  float h = H > 1 ? H : 1;
  if (right) layoutDocked(right, "##right", ImVec2(W, 0), ImVec2(1, 0), ImVec2(0, h), h);
  int rw = right ? right->width : 0;
  float bw = W - rw > 1 ? W - rw : 1;
  // Half the window at most, so that the scene keeps the other half.
  if (bottom) layoutDocked(bottom, "##bottom", ImVec2(0, H), ImVec2(0, 1), ImVec2(bw, 0), h / 2);
  frameOpen = true;

  int bh = bottom ? bottom->height : 0;
  if (rw == lastRightW && bh == lastBottomH) return;
  lastRightW = rw, lastBottomH = bh;
  if (reshape) reshape(winW, winH);
}

// ---- Text over the scene -----------------------------------------------------
namespace {

const ImGuiWindowFlags TEXT_BOX = ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize |
                                  ImGuiWindowFlags_NoMove | ImGuiWindowFlags_AlwaysAutoResize |
                                  ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoInputs |
                                  ImGuiWindowFlags_NoFocusOnAppearing | ImGuiWindowFlags_NoNav;

// Lines whose text changes every frame: the box takes their width at once,
// not the last frame's.
float widest(const std::vector<std::string> &lines) {
  float w = 0;
  for (const std::string &line : lines) w = std::max(w, ImGui::CalcTextSize(line.c_str()).x);
  return w;
}

void layoutLines(const TextBox &b) {
  if (!b.table) {
    for (const std::string &line : b.lines) ImGui::TextUnformatted(line.c_str());
    return;
  }
  if (!ImGui::BeginTable("##lines", 2, ImGuiTableFlags_SizingFixedFit)) return;
  for (const std::string &line : b.lines) {
    size_t tab = line.find('\t');
    ImGui::TableNextColumn();
    ImGui::TextUnformatted(line.substr(0, tab).c_str());
    ImGui::TableNextColumn();
    ImGui::TextUnformatted(tab == std::string::npos ? "" : line.c_str() + tab + 1);
  }
  ImGui::EndTable();
}

} // namespace

// Each box inside the scene's part of the window, a margin from its edges.
void Master::renderFrame(const std::vector<TextBox> &boxes) {
  if (!ImGui::GetCurrentContext() || !frameOpen) return;
  int x, y, w, h;
  get_viewport_area(&x, &y, &w, &h);
  const float margin = px(8), top = (float)(winH - y - h); // GL's y grows upwards
  std::string text;
  for (size_t k = 0; k < boxes.size(); k++) {
    const TextBox &b = boxes[k];
    ImVec2 at(margin, top + margin), pivot(0, 0);
    if (b.place == TextBox::CENTRE)
      at = ImVec2((float)w / 2, top + (float)h / 2), pivot = ImVec2(0.5f, 0.5f);
    if (b.place == TextBox::BOTTOM_LEFT)
      at = ImVec2(margin, top + (float)h - margin), pivot = ImVec2(0, 1);
    ImGui::SetNextWindowPos(at, ImGuiCond_Always, pivot);
    ImGui::SetNextWindowBgAlpha(0.8f);
    if (!b.table) ImGui::SetNextWindowContentSize(ImVec2(widest(b.lines), 0));
    ImGui::Begin(("##text" + std::to_string(k)).c_str(), nullptr, TEXT_BOX);
    layoutLines(b);
    ImGui::End();
    for (const std::string &line : b.lines) text += line + "\n";
  }
  ImGui::Render();
  frameOpen = false;
  if (renderHook) renderHook();
  if (text != shownText && textHook) textHook(text);
  shownText = text;
}

// Never negative, however small the window.
void Master::get_viewport_area(int *x, int *y, int *w, int *h) const {
  int rw = right ? right->width : 0, bh = bottom ? bottom->height : 0;
  *x = 0;
  *y = bh;
  *w = winW - rw > 0 ? winW - rw : 0;
  *h = winH - bh > 0 ? winH - bh : 0;
}

} // namespace ui
