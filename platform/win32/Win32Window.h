#pragma once
// IWindow and ICanvas over a Win32 window and device context.
#include <windows.h>

#include "platform/Window.h"
#include "platform/win32/Handles.h"

namespace vel::win32 {

// Draws on a DC it does not own (a paint DC, a window DC, a printer DC).
class TWin32Canvas final : public ICanvas {
 public:
  explicit TWin32Canvas(HDC dc);
  ~TWin32Canvas() override;
  void SetFont(const TFontSpec& font) override;
  TTextMetrics GetTextMetrics() override;
  int TextWidth(const std::string& text) override;
  void FillRect(const TRect& r, TColor color) override;
  void TextOut(int x, int y, const TRect& clip, const std::string& text, const std::vector<int>& advances,
               TColor fg, TColor bg) override;
  void Line(int x1, int y1, int x2, int y2, TColor color) override;

 private:
  HDC DC;
  int Saved;
  TFont Font;
};

// A canvas with its own window DC, released with the canvas.
class TWin32WindowCanvas final : public ICanvas {
 public:
  explicit TWin32WindowCanvas(HWND wnd) : DC(wnd), Canvas(DC.Get()) {}
  void SetFont(const TFontSpec& f) override { Canvas.SetFont(f); }
  TTextMetrics GetTextMetrics() override { return Canvas.GetTextMetrics(); }
  int TextWidth(const std::string& t) override { return Canvas.TextWidth(t); }
  void FillRect(const TRect& r, TColor c) override { Canvas.FillRect(r, c); }
  void TextOut(int x, int y, const TRect& clip, const std::string& t, const std::vector<int>& a, TColor fg,
               TColor bg) override {
    Canvas.TextOut(x, y, clip, t, a, fg, bg);
  }
  void Line(int x1, int y1, int x2, int y2, TColor c) override { Canvas.Line(x1, y1, x2, y2, c); }

 private:
  TWindowDC DC;
  TWin32Canvas Canvas;
};

class TWin32Window final : public IWindow {
 public:
  explicit TWin32Window(HWND wnd) : Wnd(wnd) {}
  TWindowHandle Handle() const override { return reinterpret_cast<TWindowHandle>(Wnd); }
  TRect ClientRect() const override;
  void Invalidate(const TRect* r) override;
  void Update() override { ::UpdateWindow(Wnd); }
  void Scroll(int dx, int dy, const TRect& area) override;
  std::unique_ptr<ICanvas> GetCanvas() override { return std::make_unique<TWin32WindowCanvas>(Wnd); }
  bool Focused() const override { return ::GetFocus() == Wnd; }
  void SetFocus() override { ::SetFocus(Wnd); }
  void SetCapture() override { ::SetCapture(Wnd); }
  void ReleaseCapture() override {
    if (::GetCapture() == Wnd) ::ReleaseCapture();
  }
  void SetCursor(TCursor c) override;
  void SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info) override;
  TScrollInfo GetScrollInfo(TScrollBarKind bar) const override;
  void CreateCaret(int width, int height) override { ::CreateCaret(Wnd, nullptr, width, height); }
  void SetCaretPos(int x, int y) override { ::SetCaretPos(x, y); }
  void ShowCaret() override { ::ShowCaret(Wnd); }
  void HideCaret() override { ::HideCaret(Wnd); }
  void DestroyCaret() override { ::DestroyCaret(); }

 private:
  HWND Wnd;
};

RECT ToRECT(const TRect& r);
COLORREF ToColorRef(TColor c);

}  // namespace vel::win32
