#include "platform/headless/HeadlessWindow.h"

#include <algorithm>
#include <list>

namespace vel::headless {

namespace {

const THeadlessWindow* gFocus = nullptr;
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

void TRecordingCanvas::FillRect(const TRect& r, TColor color) {
  TDrawCall c;
  c.What = TDrawCall::kFill;
  c.Rect = r;
  c.Bg = color;
  c.Font = Font;
  (Log ? *Log : OwnLog).push_back(c);
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
  c.Font = Font;
  (Log ? *Log : OwnLog).push_back(c);
}

void TRecordingCanvas::Line(int x1, int y1, int x2, int y2, TColor color) {
  TDrawCall c;
  c.What = TDrawCall::kLine;
  c.Rect = {x1, y1, x2, y2};
  c.Fg = color;
  c.Font = Font;
  (Log ? *Log : OwnLog).push_back(c);
}

THeadlessWindow::THeadlessWindow(TRect client) : Id(gNextId++), Client(client) {}

void THeadlessWindow::Invalidate(const TRect* r) { Invalidations.push_back(r ? *r : Client); }

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

void THeadlessWindow::SetFocus() { gFocus = this; }

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
