// What the viewer writes over its scene: the help, the readout of the
// numbers behind the picture, and notices.
#include "app/screen.h"

std::vector<ui::TextBox> textOverScene(const Settings &set, const Picture &pic, const Input &in,
                                       const FrameTimes &times, const Notice &notice) {
  std::vector<ui::TextBox> boxes;
  if (in.readout) boxes.push_back({ui::TextBox::TOP_LEFT, readoutLines(set, pic, times)});
  if (in.help) boxes.push_back({ui::TextBox::CENTRE, helpLines(), true});
  std::vector<std::string> notes = sceneNotices(set, pic);
  if (Clock::now() < notice.until) notes.push_back(notice.text);
  if (!notes.empty()) boxes.push_back({ui::TextBox::BOTTOM_LEFT, notes});
  return boxes;
}
