// A window holding one editor control and nothing else, to try the control by
// hand and to drive it from another process through window messages, as the
// tests drive the memo window.
//   veleditor [FILE]
// The control shows line numbers, the ruler and the marks, in the memo
// window's font; FILE, when given, is loaded as the memo window loads a page.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <stdexcept>
#include <string>

#include "editor/Editor.h"
#include "editor/EditorCursorNames.h"
#include "platform/win32/ExceptionBox.h"
#include "platform/win32/WindowHost.h"

namespace vel {
namespace {

constexpr char FrameClass[] = "VelEditorHost";
constexpr char EditorClass[] = "TEditor";

// The frame: keeps the control filling its client area and hands it the focus.
class TFrame final : public IWindowClient {
 public:
  void Create(const std::string& File) {
    win32::RegisterHostClass({FrameClass, CS_DBLCLKS, IDC_ARROW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                              ::LoadIconA(::GetModuleHandleA(nullptr), "MAINICON")});
    win32::TWindowParams p;
    p.Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
    p.Caption = "Velmorind editor";
    p.Bounds = {40, 40, 680, 520};
    Frame.Create(FrameClass, p, *this);
    // No class cursor: the control sets its own over text, margins and selections.
    win32::RegisterHostClass({EditorClass, CS_DBLCLKS, nullptr, nullptr, nullptr});
    win32::TWindowParams e;
    e.ExStyle = WS_EX_CLIENTEDGE;
    e.Style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
    e.Bounds = {0, 0, 10, 10};
    e.Parent = Frame.Handle();
    Control.Create(EditorClass, e, Editor);
    Configure();
    if (!File.empty()) {
      try {
        Editor.Lines().LoadFromFile(File);
      } catch (const std::exception& x) {
        // The window stays, empty: the reason is told, nothing is lost.
        ::MessageBoxA(Frame.Handle(), x.what(), "Velmorind editor", MB_OK | MB_ICONWARNING);
      }
      Editor.UndoObj().Clear();
      Editor.SetModified(false);
    }
    RECT rc;
    ::GetClientRect(Frame.Handle(), &rc);
    Resized(rc.right, rc.bottom);
    ::SetFocus(Control.Handle());
  }

  void Paint(ICanvas&, const TRect&) override {}
  void Resized(int Width, int Height) override {
    if (Control.Handle()) ::MoveWindow(Control.Handle(), 0, 0, Width, Height, TRUE);
  }
  void FocusIn() override {
    if (Control.Handle()) ::SetFocus(Control.Handle());
  }
  void WindowDestroyed() override { ::PostQuitMessage(0); }

 private:
  void Configure() {
    TFontSpec font = Editor.Font();
    font.Name = "ＭＳ ゴシック";
    HDC dc = ::GetDC(nullptr);
    font.Height = -::MulDiv(11, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, dc);
    font.CharSet = SHIFTJIS_CHARSET;
    Editor.SetFont(font);
    Editor.Leftbar().SetVisible(true);
    Editor.Ruler().SetVisible(true);
    Editor.Marks().RetMark().SetVisible(true);
    Editor.Marks().EofMark().SetVisible(true);
    Editor.View().SetUrl(true);
    Editor.View().SetMail(true);
    TEditorColors& c = Editor.View().Colors();
    c.Int().SetColor(clRed);
    c.Url().SetColor(clBlue);
    c.Mail().SetColor(clBlue);
    c.DBCS().SetColor(clNavy);
  }

  // The control goes after its window, which detaches it first.
  TEditor Editor;
  win32::THostedWindow Frame, Control;
};

std::string FirstArgument() {
  int n = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &n);
  std::string r;
  if (argv && n > 1) {
    const int size = ::WideCharToMultiByte(932, 0, argv[1], -1, nullptr, 0, nullptr, nullptr);
    if (size > 1) {
      r.resize(static_cast<size_t>(size) - 1);
      ::WideCharToMultiByte(932, 0, argv[1], -1, r.data(), size, nullptr, nullptr);
    }
  }
  ::LocalFree(argv);
  return r;
}

}  // namespace
}  // namespace vel

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace vel;
  try {
    InitEditorUnit();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    TFrame frame;
    frame.Create(FirstArgument());
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  } catch (const std::exception& e) {
    ShowStandardException(e);
  } catch (...) {
    ShowUnknownException();
  }
  return 0;
}
