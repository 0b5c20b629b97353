#pragma once
// The headless window and canvas: fixed font metrics, every drawing call and
// every window request recorded, so tests assert on what was drawn where.
#include <string>
#include <vector>

#include "platform/Window.h"

namespace vel::headless {

// Every single-byte character is CharWidth pixels wide, a double-byte one twice that.
inline constexpr int CharWidth = 6;
inline constexpr int CharHeight = 12;

struct TDrawCall {
  enum TKind { kFill, kText, kLine };
  TKind What = kFill;
  TRect Rect{};         // Fill: the rectangle; Text: the clip; Line: from (Left,Top) to (Right,Bottom)
  int X = 0, Y = 0;     // Text origin
  std::string Text;
  std::vector<int> Advances;
  TColor Fg = clNone, Bg = clNone;
  TFontSpec Font;
};

class TRecordingCanvas final : public ICanvas {
 public:
  void SetFont(const TFontSpec& font) override { Font = font; }
  TTextMetrics GetTextMetrics() override;
  int TextWidth(const std::string& text) override;
  void FillRect(const TRect& r, TColor color) override;
  void TextOut(int x, int y, const TRect& clip, const std::string& text, const std::vector<int>& advances,
               TColor fg, TColor bg) override;
  void Line(int x1, int y1, int x2, int y2, TColor color) override;

  TFontSpec Font;
  std::vector<TDrawCall>* Log = nullptr;  // where calls go; the owner window's log
  std::vector<TDrawCall> OwnLog;
};

class THeadlessWindow final : public IWindow {
 public:
  explicit THeadlessWindow(TRect client = {0, 0, 400, 300});
  TWindowHandle Handle() const override { return Id; }
  TRect ClientRect() const override { return Client; }
  void Invalidate(const TRect* r) override;
  void Update() override { Updates++; }
  void Scroll(int dx, int dy, const TRect& area) override;
  std::unique_ptr<ICanvas> GetCanvas() override;
  bool Focused() const override;
  void SetFocus() override;
  void SetCapture() override { Captured = true; }
  void ReleaseCapture() override { Captured = false; }
  void SetCursor(TCursor c) override { Cursor = c; }
  void SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info) override;
  TScrollInfo GetScrollInfo(TScrollBarKind bar) const override;
  void CreateCaret(int width, int height) override;
  void SetCaretPos(int x, int y) override;
  void ShowCaret() override;
  void HideCaret() override;
  void DestroyCaret() override;

  void Resize(const TRect& client) { Client = client; }
  // Takes the pending invalid area (the union of invalidations) and clears it.
  TRect TakeInvalid();

  struct TCaret {
    bool Exists = false;
    int Width = 0, Height = 0, X = 0, Y = 0;
    int HideCount = 1;  // a new caret is hidden until shown, as on the platform
    bool Visible() const { return Exists && HideCount == 0; }
  } Caret;
  std::vector<TRect> Invalidations;
  struct TScrollCall {
    int Dx, Dy;
    TRect Area;
  };
  std::vector<TScrollCall> Scrolls;
  std::vector<TDrawCall> Drawn;
  int Updates = 0;
  bool Captured = false;
  TCursor Cursor = crDefault;

 private:
  TWindowHandle Id;
  TRect Client;
  TScrollInfo Bars[2];
};

// Fires every headless timer whose interval has elapsed, as often as it has.
void AdvanceTime(int ms);

}  // namespace vel::headless
