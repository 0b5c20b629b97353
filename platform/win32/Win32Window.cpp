#include "platform/win32/Win32Window.h"

#include <map>

#include "platform/win32/Encoding.h"

namespace vel::win32 {

RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

COLORREF ToColorRef(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)) & 0x00FFFFFF; }

TWin32Canvas::TWin32Canvas(HDC dc) : DC(dc), Saved(::SaveDC(dc)) {}

TWin32Canvas::~TWin32Canvas() { ::RestoreDC(DC, Saved); }

void TWin32Canvas::SetFont(const TFontSpec& f) {
  LOGFONTW lf{};
  lf.lfHeight = f.Height;
  lf.lfWeight = f.Bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.Italic;
  lf.lfUnderline = f.Underline;
  lf.lfStrikeOut = f.StrikeOut;
  lf.lfCharSet = static_cast<BYTE>(f.CharSet);
  WideFromCp932(f.Name).copy(lf.lfFaceName, LF_FACESIZE - 1);
  TFont font(::CreateFontIndirectW(&lf));
  if (!font) return;
  // Select before the old font is deleted: the DC must never hold a dead font.
  ::SelectObject(DC, font.Get());
  Font = std::move(font);
  ::SetTextColor(DC, ToColorRef(f.Color));
}

TTextMetrics TWin32Canvas::GetTextMetrics() {
  TEXTMETRICA tm{};
  ::GetTextMetricsA(DC, &tm);
  TTextMetrics m;
  m.Height = tm.tmHeight;
  m.Ascent = tm.tmAscent;
  m.Descent = tm.tmDescent;
  m.ExternalLeading = tm.tmExternalLeading;
  m.AveCharWidth = tm.tmAveCharWidth;
  m.MaxCharWidth = tm.tmMaxCharWidth;
  return m;
}

int TWin32Canvas::TextWidth(const std::string& text) {
  SIZE sz{};
  ::GetTextExtentPoint32A(DC, text.data(), static_cast<int>(text.size()), &sz);
  return sz.cx;
}

void TWin32Canvas::FillRect(const TRect& r, TColor color) {
  RECT rc = ToRECT(r);
  ::SetBkColor(DC, ToColorRef(color));
  ::ExtTextOutA(DC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

void TWin32Canvas::TextOut(int x, int y, const TRect& clip, const std::string& text,
                           const std::vector<int>& advances, TColor fg, TColor bg) {
  RECT rc = ToRECT(clip);
  ::SetTextColor(DC, ToColorRef(fg));
  UINT opts = ETO_CLIPPED;
  if (bg != clNone) {
    ::SetBkColor(DC, ToColorRef(bg));
    opts |= ETO_OPAQUE;
  }
  ::SetBkMode(DC, bg == clNone ? TRANSPARENT : OPAQUE);
  const INT* dx = advances.size() == text.size() && !advances.empty() ? advances.data() : nullptr;
  ::ExtTextOutA(DC, x, y, opts, &rc, text.data(), static_cast<UINT>(text.size()), dx);
}

void TWin32Canvas::Line(int x1, int y1, int x2, int y2, TColor color) {
  TPen pen(::CreatePen(PS_SOLID, 1, ToColorRef(color)));
  TSelectObject sel(DC, pen.Get());
  ::MoveToEx(DC, x1, y1, nullptr);
  ::LineTo(DC, x2, y2);
}

TRect TWin32Window::ClientRect() const {
  RECT r{};
  ::GetClientRect(Wnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void TWin32Window::Invalidate(const TRect* r) {
  if (r) {
    RECT rc = ToRECT(*r);
    ::InvalidateRect(Wnd, &rc, FALSE);
  } else {
    ::InvalidateRect(Wnd, nullptr, FALSE);
  }
}

void TWin32Window::Scroll(int dx, int dy, const TRect& area) {
  RECT rc = ToRECT(area);
  ::ScrollWindowEx(Wnd, dx, dy, &rc, &rc, nullptr, nullptr, SW_INVALIDATE);
}

void TWin32Window::SetCursor(TCursor c) {
  static const std::map<int, LPCSTR> system = {
      {crArrow, IDC_ARROW},   {crCross, IDC_CROSS},     {crIBeam, IDC_IBEAM},       {crSizeNESW, IDC_SIZENESW},
      {crSizeNS, IDC_SIZENS}, {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE},   {crUpArrow, IDC_UPARROW},
      {crHourGlass, IDC_WAIT}, {crNo, IDC_NO},          {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
      {crHandPoint, IDC_HAND}, {crSizeAll, IDC_SIZEALL}, {crDrag, IDC_ARROW},       {crNoDrop, IDC_NO}};
  auto it = system.find(c);
  ::SetCursor(::LoadCursorA(nullptr, it != system.end() ? it->second : IDC_ARROW));
}

void TWin32Window::SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info) {
  SCROLLINFO si{sizeof(si), SIF_ALL, info.Min, info.Max, static_cast<UINT>(info.Page), info.Pos, 0};
  ::SetScrollInfo(Wnd, bar == TScrollBarKind::Vertical ? SB_VERT : SB_HORZ, &si, TRUE);
}

TScrollInfo TWin32Window::GetScrollInfo(TScrollBarKind bar) const {
  SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
  ::GetScrollInfo(Wnd, bar == TScrollBarKind::Vertical ? SB_VERT : SB_HORZ, &si);
  return {si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos};
}

namespace {

class TWin32Timer;
std::map<UINT_PTR, TWin32Timer*>& LiveTimers() {
  static std::map<UINT_PTR, TWin32Timer*> t;
  return t;
}

class TWin32Timer final : public ITimer {
 public:
  TWin32Timer(int ms, std::function<void()> f) : Ms(ms < 1 ? 1 : ms), OnTimer(std::move(f)) { Start(); }
  ~TWin32Timer() override { Stop(); }
  void SetEnabled(bool on) override {
    if (on == (Id != 0)) return;
    on ? Start() : Stop();
  }
  bool Enabled() const override { return Id != 0; }
  void SetInterval(int ms) override {
    Ms = ms < 1 ? 1 : ms;
    if (Id) {
      Stop();
      Start();
    }
  }
  int Interval() const override { return Ms; }

 private:
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = LiveTimers().find(id);
    if (it != LiveTimers().end() && it->second->OnTimer) it->second->OnTimer();
  }
  void Start() {
    Id = ::SetTimer(nullptr, 0, static_cast<UINT>(Ms), &Proc);
    if (Id) LiveTimers()[Id] = this;
  }
  void Stop() {
    if (!Id) return;
    ::KillTimer(nullptr, Id);
    LiveTimers().erase(Id);
    Id = 0;
  }
  int Ms;
  std::function<void()> OnTimer;
  UINT_PTR Id = 0;
};

}  // namespace

}  // namespace vel::win32

namespace vel {

std::unique_ptr<ITimer> CreateTimer(int intervalMs, std::function<void()> onTimer) {
  return std::make_unique<win32::TWin32Timer>(intervalMs, std::move(onTimer));
}

}  // namespace vel
