#include "platform/headless/HeadlessPopupMenu.h"

#include <deque>

namespace vel {

namespace {

struct TState {
  std::deque<int> Answers;
  std::vector<headless::TShownPopupMenu> Shown;
  int WheelLines = 3;
};

TState& S() {
  static TState s;
  return s;
}

}  // namespace

int TrackPopupMenu(IWindow& window, const std::vector<TPopupMenuItem>& items, int x, int y) {
  S().Shown.push_back({window.Handle(), items, x, y});
  if (S().Answers.empty()) return -1;
  const int a = S().Answers.front();
  S().Answers.pop_front();
  return a;
}

int WheelScrollLines() { return S().WheelLines; }

namespace headless {

void QueuePopupMenuAnswer(int index) { S().Answers.push_back(index); }
const std::vector<TShownPopupMenu>& ShownPopupMenus() { return S().Shown; }
void SetWheelScrollLines(int lines) { S().WheelLines = lines; }
void ResetPopupMenus() { S() = TState{}; }

}  // namespace headless

}  // namespace vel
