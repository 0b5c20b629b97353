#include "shell/app/Form3.h"

#include "platform/win32/Encoding.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Window.h"
#include "shell/app/Resource.h"

namespace vel {

namespace {

constexpr char TabClass[] = "TForm3";

HICON PageIcon() {
  static HICON icon = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, 16, 16, 0));
  return icon;
}

}  // namespace

TForm3::TForm3(int PageId, TPageKind Kind, std::string Caption, TStripPosition Position)
    : PageId(PageId), Kind(Kind), Caption(std::move(Caption)), Position(Position) {}

TForm3::~TForm3() { Window.Destroy(); }

void TForm3::Create(HWND Owner) {
  win32::RegisterHostClass({TabClass, CS_DBLCLKS, IDC_ARROW, nullptr, nullptr});
  win32::TWindowParams p;
  p.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  p.Style = WS_POPUP;
  p.Caption = Caption;
  p.Bounds = {0, 0, 0, 20};
  p.Parent = Owner;
  Window.Create(TabClass, p, *this);
}

void TForm3::ApplyTabShape(int w) {
  win32::TRegion round(::CreateRoundRectRgn(0, 0, w, 20, 12, 12));
  // The corners at the screen side are square.
  win32::TRegion square(Position == TStripPosition::Top ? ::CreateRectRgn(0, 0, w - 1, 5)
                                                        : ::CreateRectRgn(0, 8, w - 1, 20));
  ::CombineRgn(round.Get(), round.Get(), square.Get(), RGN_OR);
  // The system owns the region once it has taken it.
  if (::SetWindowRgn(Handle(), round.Get(), Position == TStripPosition::Bottom)) round.Release();
}

void TForm3::SetCaption(const std::string& c) {
  Caption = c;
  ::SetWindowTextW(Handle(), win32::WideFromCp932(c).c_str());
  ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm3::Paint(ICanvas& Canvas, const TRect&) {
  RECT rc;
  ::GetClientRect(Handle(), &rc);
  Canvas.FillRect({0, 0, rc.right, rc.bottom}, TabBColor);
  if (auto* gdi = dynamic_cast<win32::TWin32Canvas*>(&Canvas))
    ::DrawIconEx(gdi->Handle(), 3, 1, PageIcon(), 16, 16, 0, nullptr, DI_NORMAL);
  TFontSpec font;
  font.Name = "Arial";
  font.Height = -12;
  font.CharSet = 128;
  Canvas.SetFont(font);
  Canvas.TextOut(20, 3, {20, 0, rc.right, rc.bottom}, Caption, {}, TextColor, clNone);
}

void TForm3::MouseMove(const TMouseEvent&) {
  if (Inside) return;
  Inside = true;
  if (OnHover) OnHover(PageId);
}

void TForm3::MouseUp(const TMouseEvent& e) {
  if (e.Button != mbRight) return;
  win32::TMenu menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_TABPOPUP)));
  if (!menu) return;
  POINT pt;
  ::GetCursorPos(&pt);
  int cmd = ::TrackPopupMenu(::GetSubMenu(menu.Get(), 0), TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, Handle(),
                             nullptr);
  if (cmd == CM_TABEXIT1 && OnExit) OnExit();
}

}  // namespace vel
