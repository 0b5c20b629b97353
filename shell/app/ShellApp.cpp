#include "shell/app/ShellApp.h"

#include <commdlg.h>

#include "document/FileErrors.h"
#include "platform/FileReplace.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "platform/win32/Encoding.h"
#include "platform/win32/ExceptionBox.h"
#include "shell/MemoCommands.h"
#include "shell/Slide.h"
#include "shell/app/StripMessages.h"

namespace vel {

namespace {

constexpr UINT_PTR AutoHideTimer = 1;

// The resource meter of Windows 95/98/Me, resolved from the program's folder.
struct TResourceMeter final : ILibraryLoader {
  HMODULE Library = nullptr;
  using TReading = signed char(WINAPI*)();
  TReading Sys = nullptr, Gdi = nullptr, User = nullptr;
  ~TResourceMeter() override {
    if (Library) ::FreeLibrary(Library);
  }
  bool Load(const std::string& Path) override {
    Library = ::LoadLibraryA(Path.c_str());
    return Library != nullptr;
  }
  bool Resolve(const std::string& Function) override {
    FARPROC f = ::GetProcAddress(Library, Function.c_str());
    if (Function == "GetSysRes") Sys = reinterpret_cast<TReading>(reinterpret_cast<void*>(f));
    if (Function == "GetGdiRes") Gdi = reinterpret_cast<TReading>(reinterpret_cast<void*>(f));
    if (Function == "GetUserRes") User = reinterpret_cast<TReading>(reinterpret_cast<void*>(f));
    return f != nullptr;
  }
};
TResourceMeter* Meter = nullptr;

std::string ExeDirectory() {
  char path[MAX_PATH * 2] = {};
  ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
  std::string p = path;
  return p.substr(0, p.size() - ExtractFileName(p).size() - (p.size() > ExtractFileName(p).size() ? 1 : 0));
}

}  // namespace

TShellApp::TShellApp(std::string MainSettingsFile, std::string PageSettingsFile)
    : MainSettingsFile(std::move(MainSettingsFile)),
      PageSettingsFile(std::move(PageSettingsFile)),
      Pages(*this, *this, *this) {}

TShellApp::~TShellApp() {
  Forms.clear();
  if (StripFont) ::DeleteObject(StripFont);
  delete Meter;
  Meter = nullptr;
}

TForm2* TShellApp::MemoForm(int PageId) {
  auto it = Forms.find(PageId);
  return it == Forms.end() ? nullptr : it->second.Memo.get();
}

TForm3* TShellApp::TabForm(int PageId) {
  auto it = Forms.find(PageId);
  return it == Forms.end() ? nullptr : it->second.Tab.get();
}

int TShellApp::PageIdOfMemo(HWND Memo) const {
  for (const auto& [id, f] : Forms)
    if (f.Memo && f.Memo->Handle() == Memo) return id;
  return 0;
}

void TShellApp::OpenPageFile(const std::string& FileName) { Pages.OpenPageFile(FileName); }

void TShellApp::ShowLastPage() { Pages.ShowLastPage(); }

void TShellApp::StartUp(const TStripWindowData& Data, std::uintptr_t StripHandle,
                        const std::vector<std::string>& Params) {
  Strip = reinterpret_cast<HWND>(StripHandle);
  Position = Data.Position;
  WorkAreaBottom = WorkArea().Bottom;
  if (PlatformKind() == pkWindows9x) {
    Meter = new TResourceMeter;
    if (!LoadResourceMeter(*Meter, ExeDirectory())) {
      ::PostQuitMessage(1);
      return;
    }
  }
  Settings = ReadMainSettings(TIniFile(MainSettingsFile));
  Pages.TabSizeCheck = Settings.TabSizeCheck;
  Pages.TabSize = Settings.TabSize;
  Pages.Row.MemoLeft = Pages.Row.TabRowEnd = Data.MemoLeft;
  ScrollBar = ::FindWindowExA(Strip, nullptr, "SCROLLBAR", nullptr);
  LOGFONTW lf{};
  lf.lfHeight = Data.FontHeight;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  win32::WideFromCp932(Data.FontName).copy(lf.lfFaceName, LF_FACESIZE - 1);
  StripFont = ::CreateFontIndirectW(&lf);
  NextViewer = ::SetClipboardViewer(Strip);
  InViewerChain = true;
  Started = true;
  Pages.StartUp(ReadPageSettings(TIniFile(PageSettingsFile)), Params);
  ::SetTimer(Strip, AutoHideTimer, 1, nullptr);
  TimerEnabled = true;
}

bool TShellApp::StripMessage(unsigned Msg, std::uintptr_t wp, std::intptr_t lp, std::intptr_t& Result) {
  if (!Started) return false;
  switch (Msg) {
    case WM_TIMER:
      if (wp == AutoHideTimer) Timer();
      return true;
    case WM_ACTIVATEAPP:
      // Losing the foreground to no window at all is the shown page leaving
      // the screen (some systems unmap it), not the user switching away.
      if (!wp && (lp != 0 || ::GetForegroundWindow())) Pages.Deactivated();
      return false;
    case WM_NCHITTEST:
      Result = HTCAPTION;
      return true;
    case WM_MOVE:
      StripMoved();
      return false;
    case WM_HSCROLL:
      if (LOWORD(wp) == SB_LINELEFT || LOWORD(wp) == SB_LINERIGHT) {
        Pages.ScrollArrow(LOWORD(wp) == SB_LINERIGHT);
        ::PostMessageA(Strip, UM_UPDATEARROWS, 0, 0);
      }
      return true;
    case UM_REMOVEPAGE: {
      // Only a memo window that has closed gives its page up: a stray message
      // must not drop a page with unsaved text.
      int i = static_cast<int>(wp);
      if (wp < Pages.Pages.size()) {
        TForm2* memo = MemoForm(Pages.Pages[i].PageId);
        if (memo && memo->State == TForm2::TState::Delete) Pages.RemovePage(i, static_cast<int>(lp));
      }
      return true;
    }
    case UM_NEWPAGE:
      Pages.NewPage();
      return true;
    case UM_MEMORESIZED:
      MemoResized(reinterpret_cast<HWND>(wp));
      return true;
    case UM_PAGERENAMED:
      TabsChanged();
      return true;
    case UM_OPENINNEWPAGE:
      OpenInNewPage(reinterpret_cast<HWND>(wp));
      return true;
    case UM_UPDATEARROWS:
      Pages.UpdateScrollArrows();
      return true;
    case UM_CLIPBOARDPAGE:
    case UM_QUOTECLIPPAGE:
      Pages.OpenClipboardPage(Pages.IndexOf(PageIdOfMemo(reinterpret_cast<HWND>(wp))),
                              Msg == UM_CLIPBOARDPAGE ? TPageKind::Clipboard : TPageKind::QuoteClipboard);
      return true;
    case WM_DRAWCLIPBOARD:
      ClipboardChanged();
      if (NextViewer) ::SendMessageA(NextViewer, Msg, wp, lp);
      return true;
    case WM_CHANGECBCHAIN:
      if (reinterpret_cast<HWND>(wp) == NextViewer)
        NextViewer = reinterpret_cast<HWND>(lp);
      else if (NextViewer)
        ::SendMessageA(NextViewer, Msg, wp, lp);
      return true;
    case WM_CLOSE:
      FormClose();
      return false;
    case WM_DESTROY:
      ::KillTimer(Strip, AutoHideTimer);
      if (InViewerChain) ::ChangeClipboardChain(Strip, NextViewer);
      InViewerChain = false;
      Forms.clear();
      return false;
    default:
      return false;
  }
}

void TShellApp::Timer() {
  POINT pt;
  if (!::GetCursorPos(&pt)) return;
  HWND fg = ::GetForegroundWindow();
  int fgId = PageIdOfMemo(fg);
  if (TForm2* m = MemoForm(fgId)) m->CaretMaybeMoved();
  int shown = Pages.ShownIndex();
  if (shown >= 0) {
    // The mouse entering a page that is not the foreground window arms the auto-hide.
    TRect r = MemoBounds(Pages.Pages[shown].PageId);
    bool inside = pt.x >= r.Left && pt.x < r.Right && pt.y >= r.Top && pt.y < r.Bottom;
    if (inside) Pages.MemoMouseEnter(fgId == Pages.Pages[shown].PageId);
  }
  Pages.AutoHideTick(TimerEnabled, fgId, pt.x, pt.y);
}

void TShellApp::FormClose() {
  if (Closing) return;
  Closing = true;
  TimerEnabled = false;
  ::KillTimer(Strip, AutoHideTimer);
  Pages.Exit(*this);
}

void TShellApp::StripMoved() {
  RECT r;
  ::GetWindowRect(Strip, &r);
  TRect now{r.left, r.top, r.right, r.bottom};
  TRect snapped = SnapStripMove(now, Position, ::GetSystemMetrics(SM_CXFULLSCREEN), WorkAreaBottom);
  if (!(snapped == now)) {
    ::SetWindowPos(Strip, nullptr, snapped.Left, snapped.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  if (!LayoutLinked) return;
  int d = snapped.Right - Pages.Row.MemoLeft;
  if (d == 0) return;
  Pages.Row.Shift(d);
  for (auto& [id, f] : Forms) {
    RECT m;
    ::GetWindowRect(f.Memo->Handle(), &m);
    ::SetWindowPos(f.Memo->Handle(), nullptr, Pages.Row.MemoLeft, m.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  TabsChanged();
}

void TShellApp::MemoResized(HWND Memo) {
  int i = Pages.IndexOf(PageIdOfMemo(Memo));
  if (i < 0) return;
  RECT m;
  ::GetWindowRect(Memo, &m);
  Pages.Pages[i].Height = m.bottom - m.top;
  int d = m.left - Pages.Row.MemoLeft;
  Pages.MemoWidth = m.right - m.left;
  for (size_t k = 0; k < Pages.Pages.size(); ++k) {
    TPage& p = Pages.Pages[k];
    p.Width = Pages.MemoWidth;
    HWND w = Forms[p.PageId].Memo->Handle();
    RECT r;
    ::GetWindowRect(w, &r);
    ::SetWindowPos(w, nullptr, m.left, r.top, Pages.MemoWidth, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Pages.Row.FirstMemoWidth = Pages.MemoWidth;
  Pages.Row.Shift(d);
  if (d != 0) {
    LayoutLinked = false;
    RECT s;
    ::GetWindowRect(Strip, &s);
    ::SetWindowPos(Strip, nullptr, s.left + d, s.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutLinked = true;
  }
  TabsChanged();
  Pages.UpdateScrollArrows();
}

void TShellApp::OpenInNewPage(HWND Memo) {
  int from = Pages.IndexOf(PageIdOfMemo(Memo));
  std::string filter = OpenFilter;
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter += std::string(2, '\0');
  char name[MAX_PATH * 4] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Strip;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = name;
  ofn.nMaxFile = sizeof name;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (::GetOpenFileNameA(&ofn)) Pages.OpenInNewPage(from, name);
}

void TShellApp::ClipboardChanged() {
  std::optional<std::string> text;
  if (::IsClipboardFormatAvailable(CF_TEXT)) {
    // The clipboard can be busy for a moment while its owner changes.
    for (int attempt = 0; attempt < 5 && !text; ++attempt) {
      if (!::OpenClipboard(Strip)) {
        ::Sleep(10);
        continue;
      }
      if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(h))) {
          text = std::string(p, strnlen(p, ::GlobalSize(h)));
          ::GlobalUnlock(h);
        }
      }
      ::CloseClipboard();
      break;
    }
  }
  Pages.ClipboardChanged(text);
}

int TShellApp::TabTop(int Index) const {
  const TPage& p = Pages.Pages[Index];
  TPagePlacement pl = PagePlacement(Position, WorkAreaBottom, p.Height);
  return p.Shown ? pl.ShownTabTop : pl.HiddenTabTop;
}

// IPageWindows

int TShellApp::CaptionWidth(const std::string& Caption) {
  HDC dc = ::GetDC(Strip);
  HGDIOBJ old = ::SelectObject(dc, StripFont);
  SIZE sz{};
  std::wstring w = win32::WideFromCp932(Caption);
  ::GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &sz);
  ::SelectObject(dc, old);
  ::ReleaseDC(Strip, dc);
  return sz.cx;
}

void TShellApp::CreatePage(const TPage& Page) {
  TPageForms& f = Forms[Page.PageId];
  f.Memo = std::make_unique<TForm2>(Pages, Strip, Page.PageId, Position);
  TPagePlacement pl = PagePlacement(Position, WorkAreaBottom, Page.Height);
  int left = Pages.Row.MemoLeft;
  f.Memo->Create(Page.Caption, {left, pl.HiddenMemoTop, left + Page.Width, pl.HiddenMemoTop + Page.Height},
                 Page.Kind != TPageKind::Normal, MailAddresses());
  ::ShowWindow(f.Memo->Handle(), SW_SHOWNOACTIVATE);
  f.Tab = std::make_unique<TForm3>(Page.PageId, Page.Kind, Page.TabCaption, Position);
  f.Tab->Create(Strip);
  f.Tab->OnHover = [this](int id) {
    int i = Pages.IndexOf(id);
    if (i < 0) return;
    RECT r;
    ::GetWindowRect(Forms[id].Tab->Handle(), &r);
    POINT pt;
    ::GetCursorPos(&pt);
    Pages.HoverTab(i, {r.left, r.top, r.right, r.bottom}, pt.x, pt.y);
  };
  f.Tab->OnExit = [this] { ::PostMessageA(Strip, WM_CLOSE, 0, 0); };
  const TTabGeometry& t = Pages.Row.Tabs.back();
  f.Tab->ApplyTabShape(t.FullWidth);
  ::SetWindowPos(f.Tab->Handle(), nullptr, t.Left, pl.HiddenTabTop, std::max(0, t.Width), 20,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TShellApp::DestroyPage(int PageId) { Forms.erase(PageId); }

std::vector<std::string> TShellApp::MailAddresses() const {
  std::vector<std::string> addresses;
  for (const TWebMailAccount& a : Settings.Accounts) addresses.push_back(a.Address);
  return addresses;
}

void TShellApp::ShowTab(int PageId) {
  if (TForm3* t = TabForm(PageId)) ::ShowWindow(t->Handle(), SW_SHOWNOACTIVATE);
}

void TShellApp::ApplyView(int PageId, const TPageViewSettings& View) {
  if (TForm2* m = MemoForm(PageId)) m->ApplyView(View);
  if (TForm3* t = TabForm(PageId)) {
    t->TabBColor = View.TabBColor;
    t->TextColor = View.TabCColor;
    ::InvalidateRect(t->Handle(), nullptr, TRUE);
  }
}

TPageViewSettings TShellApp::CurrentView(int PageId) {
  TPageViewSettings v;
  if (TForm2* m = MemoForm(PageId)) {
    v = m->View;
    RECT r;
    ::GetWindowRect(m->Handle(), &r);
    v.MemoFormWidth = r.right - r.left;
    v.MemoFormHeight = r.bottom - r.top;
  }
  if (TForm3* t = TabForm(PageId)) {
    v.TabBColor = t->TabBColor;
    v.TabCColor = t->TextColor;
  }
  return v;
}

void TShellApp::LoadFile(int PageId, const std::string& Path) {
  HCURSOR old = ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  try {
    if (TForm2* m = MemoForm(PageId)) m->LoadFromFile(Path);
  } catch (...) {
    ::SetCursor(old);
    throw;
  }
  ::SetCursor(old);
}

void TShellApp::SetText(int PageId, const std::string& Text) {
  if (TForm2* m = MemoForm(PageId)) m->SetText(Text);
}

bool TShellApp::Modified(int PageId) {
  TForm2* m = MemoForm(PageId);
  return m && m->Modified();
}

void TShellApp::AnimateSlide(int PageId, bool In) {
  TForm2* m = MemoForm(PageId);
  TForm3* t = TabForm(PageId);
  if (!m || !t) return;
  RECT mr, tr;
  ::GetWindowRect(m->Handle(), &mr);
  ::GetWindowRect(t->Handle(), &tr);
  for (const TSlideFrame& f :
       SlideFrames(Position, In, mr.top, tr.top, mr.bottom - mr.top, Settings.MemoSpeed)) {
    ::SetWindowPos(m->Handle(), nullptr, mr.left, f.MemoTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(t->Handle(), nullptr, tr.left, f.TabTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TShellApp::Foreground(int PageId) {
  if (TForm2* m = MemoForm(PageId)) ::PostMessageA(m->Handle(), UM_FOREGROUND, 0, 0);
}

TRect TShellApp::MemoBounds(int PageId) {
  RECT r{};
  if (TForm2* m = MemoForm(PageId)) ::GetWindowRect(m->Handle(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

void TShellApp::TabsChanged() {
  for (size_t i = 0; i < Pages.Pages.size() && i < Pages.Row.Tabs.size(); ++i) {
    const TPage& p = Pages.Pages[i];
    TForm3* t = TabForm(p.PageId);
    if (!t) continue;
    const TTabGeometry& g = Pages.Row.Tabs[i];
    if (t->Caption != p.TabCaption) {
      t->SetCaption(p.TabCaption);
      t->ApplyTabShape(g.FullWidth);
    }
    ::SetWindowPos(t->Handle(), nullptr, g.Left, TabTop(static_cast<int>(i)), std::max(0, g.Width), 20,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TShellApp::SetScrollArrows(TScrollArrows a) {
  if (!ScrollBar) return;
  ::EnableScrollBar(ScrollBar, SB_CTL, ESB_ENABLE_BOTH);
  UINT off = (!a.LeftEnabled && !a.RightEnabled) ? ESB_DISABLE_BOTH
             : !a.LeftEnabled                    ? ESB_DISABLE_LTUP
             : !a.RightEnabled                   ? ESB_DISABLE_RTDN
                                                 : ESB_ENABLE_BOTH;
  if (off != ESB_ENABLE_BOTH) ::EnableScrollBar(ScrollBar, SB_CTL, off);
}

void TShellApp::ShowFileError(int OwnerPageId, const std::string& Text) {
  HWND owner = Strip;
  if (TForm2* m = MemoForm(OwnerPageId)) owner = m->Handle();
  ShowMessageBox(reinterpret_cast<TWindowHandle>(owner), Text, "ファイルオープン・エラー", mbOK);
}

// IPathSystem

bool TShellApp::FileExists(const std::string& Path) {
  DWORD a = ::GetFileAttributesA(Path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> TShellApp::FindLongName(const std::string& Path) {
  // A wildcard would find some other entry.
  if (Path.find_first_of("*?") != std::string::npos) return std::nullopt;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA(Path.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  ::FindClose(h);
  return std::string(fd.cFileName);
}

std::optional<std::string> TShellApp::ShortPath(const std::string& Path) {
  char buf[MAX_PATH * 4];
  DWORD n = ::GetShortPathNameA(Path.c_str(), buf, sizeof buf);
  if (n == 0 || n >= sizeof buf) return std::nullopt;
  return std::string(buf, n);
}

// ISystemResources

int TShellApp::PlatformKind() {
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof vi;
  if (!::GetVersionExA(&vi)) return pkWindowsNT;
  return static_cast<int>(vi.dwPlatformId);
}

uint64_t TShellApp::AvailablePhysicalMemory() {
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof ms;
  return ::GlobalMemoryStatusEx(&ms) ? ms.ullAvailPhys : 0;
}

std::optional<TResourcePercentages> TShellApp::Resources() {
  if (!Meter || !Meter->Sys || !Meter->Gdi || !Meter->User) return std::nullopt;
  return TResourcePercentages{Meter->Sys(), Meter->Gdi(), Meter->User()};
}

// ISettingsFileOps

bool TShellApp::Exists(const std::string& Path) { return ::GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool TShellApp::Copy(const std::string& Source, const std::string& Target) {
  return ::CopyFileA(Source.c_str(), Target.c_str(), FALSE) != 0;
}

bool TShellApp::Remove(const std::string& Path) {
  return ::DeleteFileA(Path.c_str()) != 0 || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool TShellApp::Replace(const std::string& Source, const std::string& Target) {
  return ReplaceFileWith(Source, Target);
}

// IExitSteps

bool TShellApp::AskSave(int PageId, const std::string& Name) {
  TForm2* m = MemoForm(PageId);
  return m && m->AskSave(Name);
}

TSaveResult TShellApp::SaveAs(int PageId) {
  TForm2* m = MemoForm(PageId);
  return m ? m->SaveAs() : TSaveResult::Cancelled;
}

void TShellApp::SavePageSettings(const std::vector<TPageSettingsEntry>& Entries) {
  if (!SavePageSettingsFile(*this, PageSettingsFile, Entries)) ShowStandardException(EFCreateError(PageSettingsFile));
}

void TShellApp::SaveMainSettings() {
  RECT r;
  if (::GetWindowRect(Strip, &r)) {
    Settings.Left = r.left;
    Settings.Top = r.top;
  }
  if (!SaveMainSettingsFile(*this, MainSettingsFile, Settings)) ShowStandardException(EFCreateError(MainSettingsFile));
}

}  // namespace vel
