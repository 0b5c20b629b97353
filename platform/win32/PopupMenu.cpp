#include "platform/PopupMenu.h"

#include <windows.h>

namespace vel {

namespace {

// Owns a menu handle for the time it is shown.
class TMenu {
 public:
  TMenu() : H(::CreatePopupMenu()) {}
  ~TMenu() {
    if (H) ::DestroyMenu(H);
  }
  TMenu(const TMenu&) = delete;
  TMenu& operator=(const TMenu&) = delete;
  HMENU Get() const { return H; }

 private:
  HMENU H;
};

}  // namespace

int TrackPopupMenu(IWindow& window, const std::vector<TPopupMenuItem>& items, int x, int y) {
  HWND wnd = reinterpret_cast<HWND>(window.Handle());
  TMenu menu;
  if (!menu.Get()) return -1;
  for (size_t i = 0; i < items.size(); ++i) {
    const TPopupMenuItem& it = items[i];
    if (it.Caption == "-") {
      ::AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string text = it.ShortCut.empty() ? it.Caption : it.Caption + "\t" + it.ShortCut;
    UINT flags = MF_STRING | (it.Enabled ? MF_ENABLED : MF_GRAYED) | (it.Checked ? MF_CHECKED : MF_UNCHECKED);
    // Command ids start at 1: 0 is the answer for "nothing chosen".
    ::AppendMenuA(menu.Get(), flags, i + 1, text.c_str());
  }
  POINT pt{x, y};
  ::ClientToScreen(wnd, &pt);
  const int id = ::TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, pt.x, pt.y, 0, wnd,
                                  nullptr);
  return id > 0 ? id - 1 : -1;
}

int WheelScrollLines() {
  UINT lines = 3;
  if (!::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) return 3;
  return lines == WHEEL_PAGESCROLL ? -1 : static_cast<int>(lines);
}

}  // namespace vel
