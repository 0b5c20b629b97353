#pragma once
// The headless window and canvas: fixed font metrics, every drawing call and
// every window request recorded, so tests assert on what was drawn where.
// A window with a client delivers input to it through the Send calls, and
// paints what is invalid into its log, as the system would.
#include <string>
#include <vector>

#include "platform/Input.h"
#include "platform/Window.h"

namespace vel::headless {

// Every single-byte character is CharWidth pixels wide, a double-byte one twice that.
inline constexpr int CharWidth = 6;
inline constexpr int CharHeight = 12;

// The canvas clip in effect for a call: inside Clip (when HasClip), outside
// every rectangle of Excluded.
struct TClipState {
  bool HasClip = false;
  TRect Clip{};
  std::vector<TRect> Excluded;
  bool operator==(const TClipState&) const = default;
};

struct TDrawCall {
  enum TKind { kFill, kText, kLine, kBitmap };
  TKind What = kFill;
  TRect Rect{};         // Fill: the rectangle; Text: the clip; Line: from (Left,Top) to (Right,Bottom); Bitmap: source
  int X = 0, Y = 0;     // Text and Bitmap origin
  std::string Text;
  std::vector<int> Advances;
  TColor Fg = clNone, Bg = clNone;
  TFontSpec Font;
  TClipState Clip;
  std::vector<TDrawCall> Bitmap;  // Bitmap: what had been drawn on it
};

class TRecordingCanvas final : public ICanvas {
 public:
  TRecordingCanvas() = default;
  // A canvas for a paint pass starts clipped to the area being painted.
  explicit TRecordingCanvas(const TRect& clip) { Clip.HasClip = true, Clip.Clip = clip, Initial = Clip; }
  void SetFont(const TFontSpec& font) override { Font = font; }
  TTextMetrics GetTextMetrics() override;
  int TextWidth(const std::string& text) override;
  void FillRect(const TRect& r, TColor color) override;
  void TextOut(int x, int y, const TRect& clip, const std::string& text, const std::vector<int>& advances,
               TColor fg, TColor bg) override;
  void Line(int x1, int y1, int x2, int y2, TColor color) override;
  void IntersectClip(const TRect& r) override;
  void ExcludeClip(const TRect& r) override;
  void ResetClip() override { Clip = Initial; }
  std::unique_ptr<IOffscreen> CreateOffscreen(int width, int height) override;
  void Draw(int x, int y, IOffscreen& bitmap, const TRect& src) override;

  TFontSpec Font;
  TClipState Clip;
  std::vector<TDrawCall>* Log = nullptr;  // where calls go; the owner window's log
  std::vector<TDrawCall> OwnLog;

 private:
  void Record(TDrawCall c);
  TClipState Initial;
};

// An off-screen bitmap records what is drawn on it; copying it out records
// that content in the destination's log.
class TRecordingOffscreen final : public IOffscreen {
 public:
  TRecordingOffscreen(int width, int height) : W(width), H(height) {}
  int Width() const override { return W; }
  int Height() const override { return H; }
  void SetFont(const TFontSpec& f) override { Canvas.SetFont(f); }
  TTextMetrics GetTextMetrics() override { return Canvas.GetTextMetrics(); }
  int TextWidth(const std::string& t) override { return Canvas.TextWidth(t); }
  void FillRect(const TRect& r, TColor c) override { Canvas.FillRect(r, c); }
  void TextOut(int x, int y, const TRect& clip, const std::string& t, const std::vector<int>& a, TColor fg,
               TColor bg) override {
    Canvas.TextOut(x, y, clip, t, a, fg, bg);
  }
  void Line(int x1, int y1, int x2, int y2, TColor c) override { Canvas.Line(x1, y1, x2, y2, c); }
  void IntersectClip(const TRect& r) override { Canvas.IntersectClip(r); }
  void ExcludeClip(const TRect& r) override { Canvas.ExcludeClip(r); }
  void ResetClip() override { Canvas.ResetClip(); }
  std::unique_ptr<IOffscreen> CreateOffscreen(int w, int h) override { return Canvas.CreateOffscreen(w, h); }
  void Draw(int x, int y, IOffscreen& b, const TRect& src) override { Canvas.Draw(x, y, b, src); }

  const std::vector<TDrawCall>& Drawn() const { return Canvas.OwnLog; }

 private:
  int W, H;
  TRecordingCanvas Canvas;
};

class THeadlessWindow final : public IWindow {
 public:
  explicit THeadlessWindow(TRect client = {0, 0, 400, 300});
  // Attaches client at once (WindowCreated), as a window made for it would.
  THeadlessWindow(IWindowClient& client, TRect clientRect = {0, 0, 400, 300});
  ~THeadlessWindow() override;
  THeadlessWindow(const THeadlessWindow&) = delete;
  THeadlessWindow& operator=(const THeadlessWindow&) = delete;
  TWindowHandle Handle() const override { return Id; }
  TRect ClientRect() const override { return Area; }
  void Invalidate(const TRect* r) override;
  void Update() override;
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
  void SetImeCompositionWindow(int x, int y, const TFontSpec& font) override {
    ImeWindow = {true, x, y, font};
  }

  // New client size; the client hears Resized and the whole area is invalid.
  void Resize(const TRect& client);
  // Takes the pending invalid area (the union of invalidations) and clears it.
  TRect TakeInvalid();

  // Input for the client, as the host delivers it from window messages.
  bool SendKeyDown(TVirtualKey key, TShiftState shift = 0, bool repeat = false);
  bool SendKeyUp(TVirtualKey key, TShiftState shift = 0);
  void SendChar(const std::string& ch);
  // Each character of CP932 text as one SendChar.
  void SendText(const std::string& text);
  void SendMouseDown(TMouseButton button, int x, int y, TShiftState shift = 0);
  void SendMouseMove(int x, int y, TShiftState shift = 0);
  void SendMouseUp(TMouseButton button, int x, int y, TShiftState shift = 0);
  void SendMouseLeave();
  bool SendWheel(int delta, int x, int y, TShiftState shift = 0, bool horizontal = false);
  void SendScroll(TScrollBarKind bar, TScrollCode code, int pos = 0);
  void SendImeStartComposition();
  bool SendImeResult(const std::string& text);
  void SendImeCandidateWindow(bool open);
  // A raw message: the client's answer, or 0 when it leaves it to the system.
  std::intptr_t Perform(unsigned msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  // Paints the pending invalid area through the client into Drawn; returns it.
  TRect PaintInvalid();

  struct TCaret {
    bool Exists = false;
    int Width = 0, Height = 0, X = 0, Y = 0;
    int HideCount = 1;  // a new caret is hidden until shown, as on the platform
    bool Visible() const { return Exists && HideCount == 0; }
  } Caret;
  struct TImeWindow {
    bool Placed = false;
    int X = 0, Y = 0;
    TFontSpec Font;
  } ImeWindow;
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
  IWindowClient* Client = nullptr;

 private:
  TWindowHandle Id;
  TRect Area;
  TScrollInfo Bars[2];
};

// Fires every headless timer whose interval has elapsed, as often as it has.
void AdvanceTime(int ms);

// The focused window (nullptr when none); ClearFocus takes the focus away
// from every window (the focused client hears FocusOut).
THeadlessWindow* FocusedWindow();
void ClearFocus();

}  // namespace vel::headless
