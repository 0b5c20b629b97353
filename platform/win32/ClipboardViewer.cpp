#include "platform/win32/ClipboardViewer.h"

namespace vel::win32 {

void TClipboardViewer::Join(HWND Viewer) {
  Leave();
  Wnd = Viewer;
  Next = ::SetClipboardViewer(Viewer);
}

void TClipboardViewer::Leave() {
  if (Wnd) ::ChangeClipboardChain(Wnd, Next);
  Wnd = Next = nullptr;
}

bool TClipboardViewer::HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam, const std::function<void()>& OnChange) {
  switch (Msg) {
    case WM_DRAWCLIPBOARD:
      if (Wnd && OnChange) OnChange();
      if (Next) ::SendMessageA(Next, Msg, wParam, lParam);
      return true;
    case WM_CHANGECBCHAIN:
      if (reinterpret_cast<HWND>(wParam) == Next)
        Next = reinterpret_cast<HWND>(lParam);
      else if (Next)
        ::SendMessageA(Next, Msg, wParam, lParam);
      return true;
    default:
      return false;
  }
}

}  // namespace vel::win32
