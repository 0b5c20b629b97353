#include "platform/win32/Menu.h"

namespace vel::win32 {

HMENU SubMenuWithItem(HMENU Menu, UINT Id) {
  int n = ::GetMenuItemCount(Menu);
  for (int i = 0; i < n; ++i) {
    HMENU sub = ::GetSubMenu(Menu, i);
    if (!sub) continue;
    if (::GetMenuState(sub, Id, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
      // GetMenuState searches nested menus too: take the innermost holder.
      if (HMENU inner = SubMenuWithItem(sub, Id)) return inner;
      return sub;
    }
  }
  return nullptr;
}

}  // namespace vel::win32
