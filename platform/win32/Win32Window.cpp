#include "platform/win32/Win32Window.h"

#include <imm.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <tuple>

#include "platform/win32/Encoding.h"
#include "platform/win32/ExceptionBox.h"

namespace vel::win32 {

RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

LOGFONTW ToLogFont(const TFontSpec& f) {
  LOGFONTW lf{};
  lf.lfHeight = f.Height;
  lf.lfWeight = f.Bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.Italic;
  lf.lfUnderline = f.Underline;
  lf.lfStrikeOut = f.StrikeOut;
  lf.lfCharSet = static_cast<BYTE>(f.CharSet);
  WideFromCp932(f.Name).copy(lf.lfFaceName, LF_FACESIZE - 1);
  return lf;
}

COLORREF ToColorRef(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)) & 0x00FFFFFF; }

namespace {

// Fonts and pens live for the process, one per distinct value, so that
// painting selects them instead of creating and deleting GDI objects. They
// are never deleted while the program runs, hence never while selected; past
// the limits a canvas makes its own as before.
constexpr size_t kMaxCachedFonts = 256, kMaxCachedPens = 256;

using TFontKey = std::tuple<std::string, int, bool, bool, bool, bool, int>;

HFONT CachedFont(const TFontSpec& f, TFont& own) {
  static std::map<TFontKey, TFont> cache;
  TFontKey key{f.Name, f.Height, f.Bold, f.Italic, f.Underline, f.StrikeOut, f.CharSet};
  auto it = cache.find(key);
  if (it != cache.end()) return it->second.Get();
  LOGFONTW lf = ToLogFont(f);
  TFont font(::CreateFontIndirectW(&lf));
  if (!font) return nullptr;
  if (cache.size() >= kMaxCachedFonts) {
    own = std::move(font);
    return own.Get();
  }
  return cache.emplace(key, std::move(font)).first->second.Get();
}

HPEN CachedPen(COLORREF color) {
  static std::map<COLORREF, TPen> cache;
  auto it = cache.find(color);
  if (it != cache.end()) return it->second.Get();
  if (cache.size() >= kMaxCachedPens) return nullptr;
  TPen pen(::CreatePen(PS_SOLID, 1, color));
  if (!pen) return nullptr;
  return cache.emplace(color, std::move(pen)).first->second.Get();
}

}  // namespace

template <typename I>
TGdiCanvas<I>::TGdiCanvas(HDC dc) : DC(dc), Saved(::SaveDC(dc)) {
  TRegion clip(::CreateRectRgn(0, 0, 0, 0));
  if (clip && ::GetClipRgn(DC, clip.Get()) == 1) InitialClip = std::move(clip);
}

template <typename I>
TGdiCanvas<I>::TGdiCanvas(HWND wnd) : OwnDC(std::make_unique<TWindowDC>(wnd)), DC(OwnDC->Get()), Saved(::SaveDC(DC)) {}

template <typename I>
TGdiCanvas<I>::~TGdiCanvas() {
  // Restoring deselects the font, so a font of our own may go after it.
  if (DC) ::RestoreDC(DC, Saved);
}

template <typename I>
void TGdiCanvas<I>::SetFont(const TFontSpec& f) {
  TFont own;
  HFONT font = CachedFont(f, own);
  if (!font) return;
  // Select before the old font is deleted: the DC must never hold a dead font.
  ::SelectObject(DC, font);
  OwnFont = std::move(own);
  ::SetTextColor(DC, ToColorRef(f.Color));
}

template <typename I>
TTextMetrics TGdiCanvas<I>::GetTextMetrics() {
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

template <typename I>
int TGdiCanvas<I>::TextWidth(const std::string& text) {
  SIZE sz{};
  ::GetTextExtentPoint32A(DC, text.data(), static_cast<int>(text.size()), &sz);
  return sz.cx;
}

template <typename I>
void TGdiCanvas<I>::FillRect(const TRect& r, TColor color) {
  // An opaque empty text fill needs no brush and is the fastest fill GDI has.
  RECT rc = ToRECT(r);
  ::SetBkColor(DC, ToColorRef(color));
  ::ExtTextOutA(DC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

template <typename I>
void TGdiCanvas<I>::TextOut(int x, int y, const TRect& clip, const std::string& text,
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

template <typename I>
void TGdiCanvas<I>::Line(int x1, int y1, int x2, int y2, TColor color) {
  COLORREF c = ToColorRef(color);
  TPen own;
  HPEN pen = CachedPen(c);
  if (!pen) {
    own.Reset(::CreatePen(PS_SOLID, 1, c));
    pen = own.Get();
  }
  TSelectObject sel(DC, pen);
  ::MoveToEx(DC, x1, y1, nullptr);
  ::LineTo(DC, x2, y2);
}

template <typename I>
void TGdiCanvas<I>::IntersectClip(const TRect& r) {
  ::IntersectClipRect(DC, r.Left, r.Top, r.Right, r.Bottom);
}

template <typename I>
void TGdiCanvas<I>::ExcludeClip(const TRect& r) {
  ::ExcludeClipRect(DC, r.Left, r.Top, r.Right, r.Bottom);
}

template <typename I>
void TGdiCanvas<I>::ResetClip() {
  ::SelectClipRgn(DC, InitialClip.Get());
}

template <typename I>
std::unique_ptr<IOffscreen> TGdiCanvas<I>::CreateOffscreen(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  HDC memory = ::CreateCompatibleDC(DC);
  HBITMAP bitmap = memory ? ::CreateCompatibleBitmap(DC, width, height) : nullptr;
  if (!bitmap) {
    if (memory) ::DeleteDC(memory);
    throw std::runtime_error("Out of system resources");
  }
  return std::make_unique<TWin32Offscreen>(memory, bitmap, width, height);
}

template <typename I>
void TGdiCanvas<I>::Draw(int x, int y, IOffscreen& bitmap, const TRect& src) {
  auto* from = dynamic_cast<TGdiCanvas<IOffscreen>*>(&bitmap);
  if (!from) return;
  ::BitBlt(DC, x, y, src.Width(), src.Height(), from->Handle(), src.Left, src.Top, SRCCOPY);
}

template class TGdiCanvas<ICanvas>;
template class TGdiCanvas<IOffscreen>;

TOffscreenBits::TOffscreenBits(HDC memory, HBITMAP bitmap)
    : Memory(memory), Bitmap(bitmap), Old(::SelectObject(memory, bitmap)) {}

TOffscreenBits::~TOffscreenBits() {
  ::SelectObject(Memory, Old);
  ::DeleteObject(Bitmap);
  ::DeleteDC(Memory);
}

TWin32Offscreen::TWin32Offscreen(HDC memory, HBITMAP bitmap, int width, int height)
    : TOffscreenBits(memory, bitmap), TGdiCanvas<IOffscreen>(memory), W(width), H(height) {}

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
  Current = c;
  HCURSOR h = CursorHandle(c);
  if (!h) h = reinterpret_cast<HCURSOR>(::GetClassLongPtrA(Wnd, GCLP_HCURSOR));
  ::SetCursor(h ? h : ::LoadCursorA(nullptr, IDC_ARROW));
}

HCURSOR SystemCursor(TCursor c) {
  static const std::map<int, LPCSTR> system = {
      {crArrow, IDC_ARROW},   {crCross, IDC_CROSS},     {crIBeam, IDC_IBEAM},       {crSizeNESW, IDC_SIZENESW},
      {crSizeNS, IDC_SIZENS}, {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE},   {crUpArrow, IDC_UPARROW},
      {crHourGlass, IDC_WAIT}, {crNo, IDC_NO},          {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
      {crHandPoint, IDC_HAND}, {crSizeAll, IDC_SIZEALL}, {crDrag, IDC_ARROW},       {crNoDrop, IDC_NO}};
  auto it = system.find(c);
  return it != system.end() ? ::LoadCursorA(nullptr, it->second) : nullptr;
}

void TWin32Window::SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info) {
  SCROLLINFO si{sizeof(si), SIF_ALL, info.Min, info.Max, static_cast<UINT>(info.Page), info.Pos, 0};
  ::SetScrollInfo(Wnd, bar == TScrollBarKind::Vertical ? SB_VERT : SB_HORZ, &si, TRUE);
}

void TWin32Window::SetImeCompositionWindow(int x, int y, const TFontSpec& font) {
  HIMC imc = ::ImmGetContext(Wnd);
  if (!imc) return;
  COMPOSITIONFORM form{CFS_POINT, {x, y}, {}};
  ::ImmSetCompositionWindow(imc, &form);
  LOGFONTW lf = ToLogFont(font);
  ::ImmSetCompositionFontW(imc, &lf);
  ::ImmReleaseContext(Wnd, imc);
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
    CallbackBarrier([id] {
      auto it = LiveTimers().find(id);
      if (it == LiveTimers().end() || !it->second->OnTimer) return;
      // A copy: the handler may destroy its own timer.
      auto onTimer = it->second->OnTimer;
      onTimer();
    });
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
