// The panel layer: ImGui's context and style, the two docked panels and
// their columns, size changes and the viewport area. Window events and
// their queue for ImGui are in events.cpp.
#include "ui/layer.h"

#include <imgui.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace ui {

Master master;

float px(float v) {
  return v * master.scale;
}

// Columns side by side, each as wide as its contents ask and every bar
// drawn. A column that would reach past the right edge starts a new row,
// so that opening a rollout or narrowing the window never squeezes a
// control; a column wider than the whole panel scrolls it sideways. The
// widths are those of the last frame.
void layoutColumns(std::vector<float> &columnWidths, int count,
                   const std::function<void(int)> &column) {
  columnWidths.resize(count);
  const float avail = ImGui::GetContentRegionAvail().x;
  const float between = 2 * ImGui::GetStyle().CellPadding.x + 1; // padding each side of a bar
  for (size_t first = 0, end; first < columnWidths.size(); first = end) {
    float w = columnWidths[first];
    for (end = first + 1; end < columnWidths.size() && w + between + columnWidths[end] <= avail;
         end++)
      w += between + columnWidths[end];
    ImGui::PushID((int)first);
    if (ImGui::BeginTable("##columns", (int)(end - first),
                          ImGuiTableFlags_BordersInnerV | ImGuiTableFlags_SizingFixedFit,
                          ImVec2(w > avail ? w : 0, 0))) {
      for (size_t k = first; k < end; k++) {
        ImGui::TableNextColumn();
        ImGui::BeginGroup();
        column((int)k);
        ImGui::EndGroup();
        columnWidths[k] = ImGui::GetItemRectSize().x;
      }
      ImGui::EndTable();
    }
    ImGui::PopID();
  }
}

// ======== [Frame] ===============================================================

void Master::init(float withScale, const char *fontFile) {
  ImGui::CreateContext();
  ImGuiIO &io = ImGui::GetIO();
  scale = withScale;
  io.IniFilename = nullptr;
  io.LogFilename = nullptr;
  // A steady caret: a field being edited changes only when its text does.
  io.ConfigInputTextCursorBlink = false;
  // ImGui's keys as the layer numbers them: characters, and the toolkit's
  // special keys (100 the left arrow to 108 Insert) offset by 256.
  // clang-format off
  const int keys[][2] = {
      {ImGuiKey_Tab, '\t'}, {ImGuiKey_LeftArrow, 256 + 100}, {ImGuiKey_UpArrow, 256 + 101},
      {ImGuiKey_RightArrow, 256 + 102}, {ImGuiKey_DownArrow, 256 + 103}, {ImGuiKey_PageUp, 256 + 104},
      {ImGuiKey_PageDown, 256 + 105}, {ImGuiKey_Home, 256 + 106}, {ImGuiKey_End, 256 + 107},
      {ImGuiKey_Insert, 256 + 108}, {ImGuiKey_Delete, 127}, {ImGuiKey_Backspace, 8},
      {ImGuiKey_Space, ' '}, {ImGuiKey_Enter, 13}, {ImGuiKey_Escape, 27}, {ImGuiKey_A, 'A'},
      {ImGuiKey_C, 'C'}, {ImGuiKey_V, 'V'}, {ImGuiKey_X, 'X'}, {ImGuiKey_Y, 'Y'}, {ImGuiKey_Z, 'Z'}};
  // clang-format on
  for (const int *k : keys) io.KeyMap[k[0]] = k[1];

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
static void layoutDocked(Dock &d, const char *id, ImVec2 pos, ImVec2 pivot, ImVec2 size,
                         float maxH) {
  ImGui::SetNextWindowPos(pos, ImGuiCond_Always, pivot);
  ImGui::SetNextWindowSize(size, ImGuiCond_Always);
  ImGui::SetNextWindowSizeConstraints(ImVec2(size.x, 0),
                                      ImVec2(size.x > 0 ? size.x : FLT_MAX, maxH));
  ImGui::Begin(id, nullptr, DOCKED);
  d.contents();
  ImVec2 got = ImGui::GetWindowSize();
  ImGui::End();
  d.width = (int)std::lround(got.x);
  d.height = (int)std::lround(got.y);
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
  if (right.contents) layoutDocked(right, "##right", ImVec2(W, 0), ImVec2(1, 0), ImVec2(0, h), h);
  int rw = right.width;
  float bw = W - rw > 1 ? W - rw : 1;
  // Half the window at most, so that the scene keeps the other half.
  if (bottom.contents)
    layoutDocked(bottom, "##bottom", ImVec2(0, H), ImVec2(0, 1), ImVec2(bw, 0), h / 2);
  frameOpen = true;

  int bh = bottom.height;
  if (rw == lastRightW && bh == lastBottomH) return;
  lastRightW = rw, lastBottomH = bh;
  if (reshape) reshape(winW, winH);
}

void Master::renderFrame(const std::string &text) {
  if (!ImGui::GetCurrentContext() || !frameOpen) return;
  ImGui::Render();
  frameOpen = false;
  if (renderHook) renderHook();
  if (text != shownText && textHook) textHook(text);
  shownText = text;
}

// Never negative, however small the window.
void Master::get_viewport_area(int *x, int *y, int *w, int *h) const {
  int rw = right.width, bh = bottom.height;
  *x = 0;
  *y = bh;
  *w = winW - rw > 0 ? winW - rw : 0;
  *h = winH - bh > 0 ? winH - bh : 0;
}

} // namespace ui
