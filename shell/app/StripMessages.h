#pragma once
// The private messages between the memo windows, the tabs and the strip.
#include <windows.h>

namespace vel {

enum : UINT {
  UM_REMOVEPAGE = WM_USER + 10,    // wParam tab index, lParam tab left edge (posted)
  UM_NEWPAGE = WM_USER + 11,       // wParam memo window
  UM_MEMORESIZED = WM_USER + 12,   // wParam memo window
  UM_PAGERENAMED = WM_USER + 13,   // wParam memo window
  UM_OPENINNEWPAGE = WM_USER + 14, // wParam memo window
  UM_COMMONOPTIONS = WM_USER + 15,
  UM_UPDATEARROWS = WM_USER + 16,
  UM_CLIPBOARDPAGE = WM_USER + 17, // wParam memo window
  UM_QUOTECLIPPAGE = WM_USER + 18, // wParam memo window
  UM_FOREGROUND = WM_USER + 50,    // to a memo window (posted)
};

}  // namespace vel
