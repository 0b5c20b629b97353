#pragma once
// Context menus: a list of items shown at a client point of a window; the
// call returns when the menu closes, with the index of the chosen item.
#include <string>
#include <vector>

#include "platform/Window.h"

namespace vel {

struct TPopupMenuItem {
  std::string Caption;   // CP932; "-" is a separator
  std::string ShortCut;  // shown right-aligned, e.g. "Ctrl+Z"; empty for none
  bool Enabled = true;
  bool Checked = false;
};

// Shows items at client point (x, y) of window; -1 when nothing was chosen.
int TrackPopupMenu(IWindow& window, const std::vector<TPopupMenuItem>& items, int x, int y);

// The number of rows one notch of the mouse wheel scrolls (the system's
// setting); -1 means a page per notch.
int WheelScrollLines();

}  // namespace vel
