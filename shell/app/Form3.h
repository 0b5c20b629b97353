#pragma once
// A page's tab: a small borderless topmost window in the row at the screen
// edge. Resting the mouse on it asks for its page; the right button opens
// its menu, whose only item ends the program.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/Color.h"
#include "platform/Input.h"
#include "platform/win32/WindowHost.h"
#include "shell/PageStore.h"
#include "shell/Slide.h"

namespace vel {

class TForm3 final : public IWindowClient {
 public:
  TForm3(int PageId, TPageKind Kind, std::string Caption, TStripPosition Position);
  ~TForm3() override;
  void Create(HWND Owner);
  HWND Handle() const { return Window.Handle(); }

  int PageId;
  TPageKind Kind;
  std::string Caption;
  TColor TabBColor = static_cast<TColor>(0x8000000D);
  TColor TextColor = 0xFFFFFF;

  // The natural width's window region (hanging down, or standing up at the bottom).
  void ApplyTabShape(int FullWidth);
  void SetCaption(const std::string& Caption);

  std::function<void(int PageId)> OnHover;
  std::function<void()> OnExit;

  void Paint(ICanvas& Canvas, const TRect& Area) override;
  void MouseMove(const TMouseEvent& e) override;
  void MouseLeave() override { Inside = false; }
  void MouseUp(const TMouseEvent& e) override;

 private:
  TStripPosition Position;
  bool Inside = false;
  win32::THostedWindow Window;
};

}  // namespace vel
