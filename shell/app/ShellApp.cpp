#include "shell/app/ShellApp.h"

#include <algorithm>
#include <fstream>

#include "document/FileErrors.h"
#include "platform/Clipboard.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "platform/win32/CommonDialogs.h"
#include "platform/win32/Encoding.h"
#include "platform/win32/ExceptionBox.h"
#include "shell/MemoCommands.h"
#include "shell/Slide.h"
#include "shell/app/StripMessages.h"

namespace vel {

namespace {

constexpr UINT_PTR AutoHideTimer = 1;

}  // namespace

TShellApp::TShellApp(std::string MainSettingsFile, std::string PageSettingsFile)
    : MainSettingsFile(std::move(MainSettingsFile)),
      PageSettingsFile(std::move(PageSettingsFile)),
      Pages(*this, System, System) {}

TShellApp::~TShellApp() { Forms.clear(); }

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
  if (System.PlatformKind() == pkWindows9x) {
    if (!LoadResourceMeter(System, win32::ExecutableDirectory())) {
      ::PostQuitMessage(1);
      return;
    }
  }
  Settings = ReadMainSettings(TIniFile(MainSettingsFile));
  Pages.TabSizeCheck = Settings.TabSizeCheck;
  Pages.TabSize = Settings.TabSize;
  // A shown page sits below the strip with its tab under it: both on screen.
  const TRect area = WorkArea();
  Pages.MaxMemoWidth = std::max(MinMemoFormWidth, area.Width());
  Pages.MaxMemoHeight = std::max(MinMemoFormHeight, area.Height() - 40);
  Pages.Row.MemoLeft = Pages.Row.TabRowEnd = Data.MemoLeft;
  ScrollBar = ::FindWindowExA(Strip, nullptr, "SCROLLBAR", nullptr);
  LOGFONTW lf{};
  lf.lfHeight = Data.FontHeight;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  win32::WideFromCp932(Data.FontName).copy(lf.lfFaceName, LF_FACESIZE - 1);
  StripFont.Reset(::CreateFontIndirectW(&lf));
  Viewer.Join(Strip);
  Started = true;
  RecoveryDir = win32::ExecutableDirectory() + "\\Recovery";
  ::CreateDirectoryA(RecoveryDir.c_str(), nullptr);
  RunStamp = std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount());
  std::vector<std::string> journalPaths;
  int damaged = 0;
  std::vector<TJournalPage> recovered = ReadJournals(journalPaths, damaged);
  Pages.PageSettingsUnread = !System.CanRead(PageSettingsFile);
  if (Pages.PageSettingsUnread)
    ShowMessageBox(reinterpret_cast<TWindowHandle>(Strip), PageSettingsUnreadText(PageSettingsFile), "Velmorind",
                   mbOK | mbIconWarning);
  Pages.StartUp(Pages.PageSettingsUnread ? std::vector<TPageSettingsEntry>{} : ReadPageSettings(TIniFile(PageSettingsFile)),
                Params, recovered);
  for (size_t k = 0; k < Pages.RecoveredPageIds.size(); ++k)
    if (TForm2* m = MemoForm(Pages.RecoveredPageIds[k])) m->OldJournal = journalPaths[k];
  if (!recovered.empty() || damaged > 0)
    ShowMessageBox(reinterpret_cast<TWindowHandle>(Strip),
                   RecoveredText(static_cast<int>(Pages.RecoveredPageIds.size()), damaged), "Velmorind",
                   mbOK | mbIconInformation);
  ::SetTimer(Strip, AutoHideTimer, 1, nullptr);
  TimerEnabled = true;
}

bool TShellApp::StripMessage(unsigned Msg, std::uintptr_t wp, std::intptr_t lp, std::intptr_t& Result) {
  if (!Started) return false;
  if (Viewer.HandleMessage(Msg, wp, lp, [this] { ClipboardChanged(); })) return true;
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
    case WM_CLOSE:
      // Answered here when the exit was stopped, or is already asking.
      return !FormClose();
    case WM_QUERYENDSESSION:
      // Asked as at exit; Cancel keeps the session and every page. The
      // settings are written now: the session may end without more notice.
      Result = Closing || FormClose();
      return true;
    case WM_ENDSESSION:
      if (!wp) {
        // Someone else kept the session: the program goes on as before.
        if (Closing) ResumeAfterExit();
        return true;
      }
      if (!Closing) {
        Closing = true;
        Pages.SaveSettings(*this);
      }
      ::DestroyWindow(Strip);
      return true;
    case WM_DESTROY:
      ::KillTimer(Strip, AutoHideTimer);
      Viewer.Leave();
      Forms.clear();
      return false;
    default:
      return false;
  }
}

void TShellApp::Timer() {
  if (!Closing) JournalTick();
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

bool TShellApp::FormClose() {
  // A second exit while the first one's prompt is up waits for that prompt.
  if (Closing) return false;
  Closing = true;
  TimerEnabled = false;
  ::KillTimer(Strip, AutoHideTimer);
  if (Pages.Exit(*this)) {
    RemoveJournals();
    return true;
  }
  ResumeAfterExit();
  return false;
}

std::vector<TJournalPage> TShellApp::ReadJournals(std::vector<std::string>& Paths, int& Damaged) {
  std::vector<TJournalPage> pages;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((RecoveryDir + "\\*" + kJournalExtension).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return pages;
  std::vector<std::string> names;
  do names.push_back(RecoveryDir + "\\" + fd.cFileName);
  while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  // Oldest run first, then page order: the pages come back as they stood.
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    std::ifstream f(name, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(f)), {});
    f.close();
    if (std::optional<TJournalPage> p = ParseJournal(bytes); p && p->Kind == TPageKind::Normal) {
      pages.push_back(std::move(*p));
      Paths.push_back(name);
    } else {
      // Kept aside, not deleted: what is in it may still be read by hand.
      ::MoveFileExA(name.c_str(), (name + ".damaged").c_str(), MOVEFILE_REPLACE_EXISTING);
      ++Damaged;
    }
  }
  return pages;
}

void TShellApp::RemoveJournals() {
  // Each page takes its own journal and the one it came back from; a journal
  // of an earlier run that did not come back (no room for its page) stays
  // for the next start.
  for (auto& [id, f] : Forms)
    if (f.Memo) f.Memo->DropJournal();
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((RecoveryDir + "\\" + RunStamp + "-*" + kJournalExtension).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do ::DeleteFileA((RecoveryDir + "\\" + fd.cFileName).c_str());
  while (::FindNextFileA(h, &fd));
  ::FindClose(h);
}

void TShellApp::JournalTick() {
  const unsigned now = ::GetTickCount();
  // A bounded slice a tick: a large page is written over many ticks and
  // typing never waits for it.
  constexpr size_t kBudget = 1 << 20;
  for (auto& [id, f] : Forms)
    if (f.Memo) f.Memo->JournalTick(now, kBudget);
  if (Pages.PageListChanged) {
    if (PageListChangedAt == 0) PageListChangedAt = now | 1;
    if (now - PageListChangedAt >= TForm2::JournalIdleMs) {
      Pages.PageListChanged = false;
      PageListChangedAt = 0;
      if (!Pages.PageSettingsUnread) SavePageSettingsFile(System, PageSettingsFile, Pages.PagesToKeep());
    }
  }
}

void TShellApp::ResumeAfterExit() {
  Closing = false;
  TimerEnabled = true;
  ::SetTimer(Strip, AutoHideTimer, 1, nullptr);
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
  Pages.PageListChanged = true;
}

void TShellApp::OpenInNewPage(HWND Memo) {
  int from = Pages.IndexOf(PageIdOfMemo(Memo));
  if (std::optional<std::string> name = win32::OpenFileDialog(Strip, OpenFilter)) Pages.OpenInNewPage(from, *name);
}

void TShellApp::ClipboardChanged() {
  IClipboard& clipboard = Clipboard();
  Pages.ClipboardChanged(clipboard.HasText() ? clipboard.GetText() : std::nullopt);
}

int TShellApp::TabTop(int Index) const {
  const TPage& p = Pages.Pages[Index];
  TPagePlacement pl = PagePlacement(Position, WorkAreaBottom, p.Height);
  return p.Shown ? pl.ShownTabTop : pl.HiddenTabTop;
}

// IPageWindows

int TShellApp::CaptionWidth(const std::string& Caption) {
  win32::TWindowDC dc(Strip);
  win32::TSelectObject font(dc.Get(), StripFont.Get());
  SIZE sz{};
  std::wstring w = win32::WideFromCp932(Caption);
  ::GetTextExtentPoint32W(dc.Get(), w.c_str(), static_cast<int>(w.size()), &sz);
  return sz.cx;
}

void TShellApp::CreatePage(const TPage& Page) {
  TPageForms& f = Forms[Page.PageId];
  f.Memo = std::make_unique<TForm2>(Pages, Strip, Page.PageId, Position, Finds);
  f.Memo->JournalPath = RecoveryDir + "\\" + RunStamp + "-" + std::to_string(Page.PageId) + kJournalExtension;
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
  win32::TWaitCursor wait;
  if (TForm2* m = MemoForm(PageId)) m->LoadFromFile(Path);
}

void TShellApp::SetText(int PageId, const std::string& Text) {
  if (TForm2* m = MemoForm(PageId)) m->SetText(Text);
}

void TShellApp::SetRecoveredText(int PageId, const std::string& Text) {
  if (TForm2* m = MemoForm(PageId)) m->SetRecoveredText(Text);
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

// IExitSteps

TSaveAnswer TShellApp::AskSave(int PageId, const std::string& Name) {
  TForm2* m = MemoForm(PageId);
  return m ? m->AskSave(Name) : TSaveAnswer::No;
}

TSaveResult TShellApp::Save(int PageId) {
  TForm2* m = MemoForm(PageId);
  return m && m->Save() ? TSaveResult::Saved : TSaveResult::Failed;
}

void TShellApp::SavePageSettings(const std::vector<TPageSettingsEntry>& Entries) {
  if (!SavePageSettingsFile(System, PageSettingsFile, Entries)) ShowStandardException(EFCreateError(PageSettingsFile));
}

void TShellApp::SaveMainSettings() {
  RECT r;
  if (::GetWindowRect(Strip, &r)) {
    Settings.Left = r.left;
    Settings.Top = r.top;
  }
  if (!SaveMainSettingsFile(System, MainSettingsFile, Settings)) ShowStandardException(EFCreateError(MainSettingsFile));
}

}  // namespace vel
