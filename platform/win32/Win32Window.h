#pragma once
// IWindow and ICanvas over a Win32 window and device context.
#include <windows.h>

#include <memory>

#include "platform/Window.h"
#include "platform/win32/Handles.h"

namespace vel::win32 {

// Draws on a device context: one it borrows (a paint DC, a printer DC), or a
// window DC of its own. The DC's state is restored when the canvas goes.
template <typename Interface>
class TGdiCanvas : public Interface {
 public:
  explicit TGdiCanvas(HDC dc);
  explicit TGdiCanvas(HWND wnd);
  ~TGdiCanvas() override;
  TGdiCanvas(const TGdiCanvas&) = delete;
  TGdiCanvas& operator=(const TGdiCanvas&) = delete;

  void SetFont(const TFontSpec& font) override;
  TTextMetrics GetTextMetrics() override;
  int TextWidth(const std::string& text) override;
  void FillRect(const TRect& r, TColor color) override;
  void TextOut(int x, int y, const TRect& clip, const std::string& text, const std::vector<int>& advances,
               TColor fg, TColor bg) override;
  void Line(int x1, int y1, int x2, int y2, TColor color) override;
  void IntersectClip(const TRect& r) override;
  void ExcludeClip(const TRect& r) override;
  void ResetClip() override;
  std::unique_ptr<IOffscreen> CreateOffscreen(int width, int height) override;
  void Draw(int x, int y, IOffscreen& bitmap, const TRect& src) override;

  HDC Handle() const { return DC; }

 private:
  std::unique_ptr<TWindowDC> OwnDC;
  HDC DC;
  int Saved;
  TRegion InitialClip;  // none: the canvas started unclipped
  TFont OwnFont;        // a font the shared cache had no room for
};

using TWin32Canvas = TGdiCanvas<ICanvas>;
extern template class TGdiCanvas<ICanvas>;
extern template class TGdiCanvas<IOffscreen>;

// The memory DC and bitmap of an off-screen canvas, which must outlive the
// canvas's own restore of the DC: a base constructed before it.
class TOffscreenBits {
 protected:
  TOffscreenBits(HDC memory, HBITMAP bitmap);
  ~TOffscreenBits();
  TOffscreenBits(const TOffscreenBits&) = delete;
  TOffscreenBits& operator=(const TOffscreenBits&) = delete;

 private:
  HDC Memory;
  HBITMAP Bitmap;
  HGDIOBJ Old;
};

// A bitmap with a memory DC compatible with the canvas that made it.
class TWin32Offscreen final : private TOffscreenBits, public TGdiCanvas<IOffscreen> {
 public:
  TWin32Offscreen(HDC memory, HBITMAP bitmap, int width, int height);
  int Width() const override { return W; }
  int Height() const override { return H; }

 private:
  int W, H;
};

class TWin32Window final : public IWindow {
 public:
  explicit TWin32Window(HWND wnd) : Wnd(wnd) {}
  TWindowHandle Handle() const override { return reinterpret_cast<TWindowHandle>(Wnd); }
  TRect ClientRect() const override;
  void Invalidate(const TRect* r) override;
  void Update() override { ::UpdateWindow(Wnd); }
  void Scroll(int dx, int dy, const TRect& area) override;
  std::unique_ptr<ICanvas> GetCanvas() override { return std::make_unique<TWin32Canvas>(Wnd); }
  bool Focused() const override { return ::GetFocus() == Wnd; }
  void SetFocus() override { ::SetFocus(Wnd); }
  void SetCapture() override { ::SetCapture(Wnd); }
  void ReleaseCapture() override {
    if (::GetCapture() == Wnd) ::ReleaseCapture();
  }
  void SetCursor(TCursor c) override;
  // The cursor last set, which the host shows over the client area.
  TCursor Cursor() const { return Current; }
  void SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info) override;
  TScrollInfo GetScrollInfo(TScrollBarKind bar) const override;
  void CreateCaret(int width, int height) override { ::CreateCaret(Wnd, nullptr, width, height); }
  void SetCaretPos(int x, int y) override { ::SetCaretPos(x, y); }
  void ShowCaret() override { ::ShowCaret(Wnd); }
  void HideCaret() override { ::HideCaret(Wnd); }
  void DestroyCaret() override { ::DestroyCaret(); }
  void SetImeCompositionWindow(int x, int y, const TFontSpec& font) override;

 private:
  HWND Wnd;
  TCursor Current = crDefault;
};

HCURSOR SystemCursor(TCursor c);
// The cursor shown for c: the program's table first (InstallCursorResource),
// then the system cursors; nullptr for crDefault and unknown indices.
HCURSOR CursorHandle(TCursor c);

RECT ToRECT(const TRect& r);
LOGFONTW ToLogFont(const TFontSpec& f);
COLORREF ToColorRef(TColor c);

}  // namespace vel::win32
