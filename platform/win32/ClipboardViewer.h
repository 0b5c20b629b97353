#pragma once
// A window's place in the system's clipboard-viewer chain: it hears every
// clipboard change and passes the chain's messages on to the next viewer.
#include <windows.h>

#include <functional>

namespace vel::win32 {

class TClipboardViewer {
 public:
  TClipboardViewer() = default;
  TClipboardViewer(const TClipboardViewer&) = delete;
  TClipboardViewer& operator=(const TClipboardViewer&) = delete;
  ~TClipboardViewer() { Leave(); }

  void Join(HWND Viewer);
  // Takes the window out of the chain and mends the chain behind it.
  void Leave();
  // Answers the chain's two messages (calling OnChange for a change); false
  // for any other message.
  bool HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam, const std::function<void()>& OnChange);

 private:
  HWND Wnd = nullptr;
  HWND Next = nullptr;
};

}  // namespace vel::win32
