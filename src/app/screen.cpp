// What the viewer writes over its scene: the help, the readout of the
// numbers behind the picture, and notices, laid out as boxes over it.
#include "app/screen.h"

#include <imgui.h>

#include <algorithm>

#include "interact/controls.h"
#include "ui/layer.h"

std::vector<TextBox> textOverScene(const Settings &set, const Picture &pic, const Input &in,
                                   const FrameTimes &times, const Notice &notice) {
  std::vector<TextBox> boxes;
  if (in.readout) boxes.push_back({TextBox::TOP_LEFT, readoutLines(set, pic, times)});
  if (in.help) boxes.push_back({TextBox::CENTRE, helpLines(Shown::DESKTOP), true});
  std::vector<std::string> notes = sceneNotices(set, pic);
  if (Clock::now() < notice.until) notes.push_back(notice.text);
  if (!notes.empty()) boxes.push_back({TextBox::BOTTOM_LEFT, notes});
  return boxes;
}

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

std::string layoutOverScene(const std::vector<TextBox> &boxes) {
  std::string text;
  if (!ImGui::GetCurrentContext()) return text;
  int x, y, w, h;
  ui::master.get_viewport_area(&x, &y, &w, &h);
  const float margin = ui::px(8), top = (float)(ui::master.winH - y - h); // GL's y grows upwards
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
  return text;
}
