#pragma once
// Menus of resource scripts, reached by command.
#include <windows.h>

namespace vel::win32 {

// A submenu of Menu (at any depth) that holds the item Id, or nullptr: items
// are found by their command, never by a position that a new item would move.
HMENU SubMenuWithItem(HMENU Menu, UINT Id);

}  // namespace vel::win32
