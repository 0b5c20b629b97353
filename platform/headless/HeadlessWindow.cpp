#include "platform/headless/HeadlessWindow.h"

#include <algorithm>
#include <list>
#include <utility>

#include "text/Sjis.h"

namespace vel::headless {

namespace {

THeadlessWindow* gFocus = nullptr;
TWindowHandle gNextId = 0x1000;

int ByteColumns(const std::string& text) { return static_cast<int>(text.size()); }

TRect Union(const TRect& a, const TRect& b) {
  if (a.Width() <= 0 || a.Height() <= 0) return b;
  if (b.Width() <= 0 || b.Height() <= 0) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

class THeadlessTimer;
std::list<THeadlessTimer*>& Timers() {
  static std::list<THeadlessTimer*> t;
  return t;
}

class THeadlessTimer final : public ITimer {
 public:
  THeadlessTimer(int ms, std::function<void()> f) : Ms(std::max(ms, 1)), OnTimer(std::move(f)) {
    Timers().push_back(this);
  }
  ~THeadlessTimer() override { Timers().remove(this); }
  void SetEnabled(bool on) override {
    On = on;
    Elapsed = 0;
  }
  bool Enabled() const override { return On; }
  void SetInterval(int ms) override {
    Ms = std::max(ms, 1);
    Elapsed = 0;
  }
  int Interval() const override { return Ms; }
  // One millisecond passes; fires when the interval is complete.
  void Tick() {
    if (!On) return;
    if (++Elapsed >= Ms) {
      Elapsed = 0;
      if (OnTimer) OnTimer();
    }
  }

 private:
  int Ms;
  std::function<void()> OnTimer;
  bool On = true;
  int Elapsed = 0;
};

}  // namespace

TTextMetrics TRecordingCanvas::GetTextMetrics() {
  TTextMetrics m;
  m.Height = CharHeight;
  m.Ascent = CharHeight - 2;
  m.Descent = 2;
  m.AveCharWidth = CharWidth;
  m.MaxCharWidth = CharWidth * 2;
  return m;
}

int TRecordingCanvas::TextWidth(const std::string& text) { return ByteColumns(text) * CharWidth; }

void TRecordingCanvas::Record(TDrawCall c) {
  c.Font = Font;
  c.Clip = Clip;
  (Log ? *Log : OwnLog).push_back(std::move(c));
}

void TRecordingCanvas::FillRect(const TRect& r, TColor color) {
  TDrawCall c;
  c.What = TDrawCall::kFill;
  c.Rect = r;
  c.Bg = color;
  Record(std::move(c));
}

void TRecordingCanvas::TextOut(int x, int y, const TRect& clip, const std::string& text,
                               const std::vector<int>& advances, TColor fg, TColor bg) {
  TDrawCall c;
  c.What = TDrawCall::kText;
  c.Rect = clip;
  c.X = x;
  c.Y = y;
  c.Text = text;
  c.Advances = advances;
  c.Fg = fg;
  c.Bg = bg;
  Record(std::move(c));
}

void TRecordingCanvas::Line(int x1, int y1, int x2, int y2, TColor color) {
  TDrawCall c;
  c.What = TDrawCall::kLine;
  c.Rect = {x1, y1, x2, y2};
  c.Fg = color;
  Record(std::move(c));
}

void TRecordingCanvas::IntersectClip(const TRect& r) {
  if (!Clip.HasClip) {
    Clip.HasClip = true;
    Clip.Clip = r;
    return;
  }
  TRect& c = Clip.Clip;
  c = {std::max(c.Left, r.Left), std::max(c.Top, r.Top), std::min(c.Right, r.Right), std::min(c.Bottom, r.Bottom)};
  if (c.Width() <= 0 || c.Height() <= 0) c = TRect{};
}

void TRecordingCanvas::ExcludeClip(const TRect& r) { Clip.Excluded.push_back(r); }

std::unique_ptr<IOffscreen> TRecordingCanvas::CreateOffscreen(int width, int height) {
  return std::make_unique<TRecordingOffscreen>(width, height);
}

void TRecordingCanvas::Draw(int x, int y, IOffscreen& bitmap, const TRect& src) {
  TDrawCall c;
  c.What = TDrawCall::kBitmap;
  c.Rect = src;
  c.X = x;
  c.Y = y;
  if (auto* rec = dynamic_cast<TRecordingOffscreen*>(&bitmap)) c.Bitmap = rec->Drawn();
  Record(std::move(c));
}

THeadlessWindow::THeadlessWindow(TRect client) : Id(gNextId++), Area(client) {}

THeadlessWindow::THeadlessWindow(IWindowClient& client, TRect clientRect) : THeadlessWindow(clientRect) {
  Client = &client;
  client.WindowCreated(*this);
}

THeadlessWindow::~THeadlessWindow() {
  // A destroyed window cannot keep the focus, and its client hears of it last.
  if (gFocus == this) gFocus = nullptr;
  if (Client) Client->WindowDestroyed();
}

void THeadlessWindow::Invalidate(const TRect* r) { Invalidations.push_back(r ? *r : Area); }

void THeadlessWindow::Update() {
  Updates++;
  PaintInvalid();
}

void THeadlessWindow::Resize(const TRect& client) {
  Area = client;
  Invalidations.push_back(Area);
  if (Client) Client->Resized(client.Width(), client.Height());
}

void THeadlessWindow::Scroll(int dx, int dy, const TRect& area) {
  Scrolls.push_back({dx, dy, area});
  // The strip uncovered by the move needs painting, as ScrollWindowEx reports it.
  TRect uncovered = area;
  if (dy > 0) uncovered.Bottom = std::min(area.Bottom, area.Top + dy);
  if (dy < 0) uncovered.Top = std::max(area.Top, area.Bottom + dy);
  if (dx > 0) uncovered.Right = std::min(area.Right, area.Left + dx);
  if (dx < 0) uncovered.Left = std::max(area.Left, area.Right + dx);
  if (dx || dy) Invalidations.push_back(uncovered);
}

std::unique_ptr<ICanvas> THeadlessWindow::GetCanvas() {
  auto c = std::make_unique<TRecordingCanvas>();
  c->Log = &Drawn;
  return c;
}

bool THeadlessWindow::Focused() const { return gFocus == this; }

void THeadlessWindow::SetFocus() {
  if (gFocus == this) return;
  THeadlessWindow* old = gFocus;
  gFocus = this;
  // The system tells the window losing the focus first.
  if (old && old->Client) old->Client->FocusOut();
  if (gFocus == this && Client) Client->FocusIn();
}

void THeadlessWindow::SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info) {
  TScrollInfo v = info;
  // The platform keeps the position inside the range it was given.
  int maxPos = std::max(v.Min, v.Max - std::max(v.Page - 1, 0));
  v.Pos = std::clamp(v.Pos, v.Min, maxPos);
  Bars[bar == TScrollBarKind::Vertical] = v;
}

TScrollInfo THeadlessWindow::GetScrollInfo(TScrollBarKind bar) const { return Bars[bar == TScrollBarKind::Vertical]; }

void THeadlessWindow::CreateCaret(int width, int height) {
  Caret = TCaret{};
  Caret.Exists = true;
  Caret.Width = width;
  Caret.Height = height;
}

void THeadlessWindow::SetCaretPos(int x, int y) {
  Caret.X = x;
  Caret.Y = y;
}

void THeadlessWindow::ShowCaret() {
  if (Caret.Exists && Caret.HideCount > 0) --Caret.HideCount;
}

void THeadlessWindow::HideCaret() {
  if (Caret.Exists) ++Caret.HideCount;
}

void THeadlessWindow::DestroyCaret() { Caret = TCaret{}; }

TRect THeadlessWindow::TakeInvalid() {
  TRect u;
  for (const auto& r : Invalidations) u = Union(u, r);
  Invalidations.clear();
  return u;
}

bool THeadlessWindow::SendKeyDown(TVirtualKey key, TShiftState shift, bool repeat) {
  return Client && Client->KeyDown({key, shift, repeat});
}

bool THeadlessWindow::SendKeyUp(TVirtualKey key, TShiftState shift) {
  return Client && Client->KeyUp({key, shift, false});
}

void THeadlessWindow::SendChar(const std::string& ch) {
  if (Client) Client->KeyPress({ch});
}

void THeadlessWindow::SendText(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    size_t n = sjis::CharLen(text, i);
    SendChar(text.substr(i, n));
    i += n;
  }
}

void THeadlessWindow::SendMouseDown(TMouseButton button, int x, int y, TShiftState shift) {
  if (Client) Client->MouseDown({button, shift, x, y});
}

void THeadlessWindow::SendMouseMove(int x, int y, TShiftState shift) {
  if (Client) Client->MouseMove({mbLeft, shift, x, y});
}

void THeadlessWindow::SendMouseUp(TMouseButton button, int x, int y, TShiftState shift) {
  if (Client) Client->MouseUp({button, shift, x, y});
}

void THeadlessWindow::SendMouseLeave() {
  if (Client) Client->MouseLeave();
}

bool THeadlessWindow::SendWheel(int delta, int x, int y, TShiftState shift, bool horizontal) {
  return Client && Client->MouseWheel({delta, horizontal, shift, x, y});
}

void THeadlessWindow::SendScroll(TScrollBarKind bar, TScrollCode code, int pos) {
  if (!Client) return;
  // As on the platform, only the thumb codes carry a position of their own.
  if (code != TScrollCode::ThumbPosition && code != TScrollCode::ThumbTrack) pos = GetScrollInfo(bar).Pos;
  Client->Scrolled({bar, code, pos});
}

void THeadlessWindow::SendImeStartComposition() {
  if (Client) Client->ImeStartComposition();
}

bool THeadlessWindow::SendImeResult(const std::string& text) {
  if (!Client) return false;
  if (Client->ImeResult(text)) return true;
  // Not taken: the system hands the text over as characters.
  SendText(text);
  return false;
}

void THeadlessWindow::SendImeCandidateWindow(bool open) {
  if (Client) Client->ImeCandidateWindow(open);
}

std::intptr_t THeadlessWindow::Perform(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
  TMessage m{msg, wParam, lParam, 0};
  return Client && Client->HandleMessage(m) ? m.Result : 0;
}

TRect THeadlessWindow::PaintInvalid() {
  TRect area = TakeInvalid();
  if (!Client || area.Width() <= 0 || area.Height() <= 0) return area;
  TRecordingCanvas canvas(area);
  canvas.Log = &Drawn;
  Client->Paint(canvas, area);
  return area;
}

THeadlessWindow* FocusedWindow() { return gFocus; }

void ForgetFocus() { gFocus = nullptr; }

void ClearFocus() {
  THeadlessWindow* old = std::exchange(gFocus, nullptr);
  if (old && old->Client) old->Client->FocusOut();
}

void AdvanceTime(int ms) {
  for (int i = 0; i < ms; ++i) {
    // A timer handler may destroy timers: walk a copy and skip the dead.
    std::vector<THeadlessTimer*> now(Timers().begin(), Timers().end());
    for (auto* t : now)
      if (std::find(Timers().begin(), Timers().end(), t) != Timers().end()) t->Tick();
  }
}

}  // namespace vel::headless

namespace vel {

std::unique_ptr<ITimer> CreateTimer(int intervalMs, std::function<void()> onTimer) {
  return std::make_unique<headless::THeadlessTimer>(intervalMs, std::move(onTimer));
}

}  // namespace vel
