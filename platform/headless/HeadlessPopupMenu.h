#pragma once
// Popup menus and the wheel setting of the headless backend: a menu "shown"
// is recorded and answered from a queue, as a user's choice would be.
#include <vector>

#include "platform/PopupMenu.h"

namespace vel::headless {

struct TShownPopupMenu {
  TWindowHandle Owner;
  std::vector<TPopupMenuItem> Items;
  int X, Y;
};

// Menus answer from this queue (front first), then -1 (closed without a choice).
void QueuePopupMenuAnswer(int index);
const std::vector<TShownPopupMenu>& ShownPopupMenus();
void SetWheelScrollLines(int lines);
// Back to no menus shown, no answers queued and three lines per notch.
void ResetPopupMenus();

}  // namespace vel::headless
