#pragma once
// The page store: the list of pages (memo window + tab, tied by PageId), how
// pages are created, opened, shown, removed and kept between runs, the slide
// state and the flags that decide when a page slides in or out by itself.
//
// The windows themselves are the Win32 forms' business; they implement
// IPageWindows and the store tells them what to do. Entry i of Pages and
// entry i of Row.Tabs are page i.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Screen.h"
#include "shell/PagePaths.h"
#include "shell/PageSettings.h"
#include "shell/RecoveryJournal.h"
#include "shell/ResourceGuard.h"
#include "shell/TabRow.h"

namespace vel {

struct TPage {
  int PageId = 0;
  std::string Caption;     // the memo window's caption: the page's name or path
  std::string TabCaption;
  std::string FilePath;
  bool HasFile = false;    // bound to a file of its own
  std::string Identity;    // FilePath's file identity when the system gives one
  TPageKind Kind = TPageKind::Normal;
  bool Shown = false;      // slid in
  int Width = 640, Height = 480;
};

class IPageWindows {
 public:
  virtual ~IPageWindows() = default;
  // Width of a caption on the strip's canvas font.
  virtual int CaptionWidth(const std::string& Caption) = 0;
  // Creates the memo window, placed hidden at the screen edge, and its tab
  // (geometry from the row); the tab is shown later by ShowTab. A clipboard
  // kind gets a read-only editor and its own icon.
  virtual void CreatePage(const TPage& Page) = 0;
  virtual void DestroyPage(int PageId) = 0;
  virtual void ShowTab(int PageId) = 0;
  virtual void ApplyView(int PageId, const TPageViewSettings& View) = 0;
  virtual TPageViewSettings CurrentView(int PageId) = 0;
  // Loads a file into the page's editor and clears its modified flag;
  // throws the editor's file errors.
  virtual void LoadFile(int PageId, const std::string& Path) = 0;
  virtual void SetText(int PageId, const std::string& Text) = 0;
  // Text brought back from a recovery journal: the page shows it modified.
  virtual void SetRecoveredText(int PageId, const std::string& Text) = 0;
  virtual bool Modified(int PageId) = 0;
  // Moves memo window and tab through the slide, in or out.
  virtual void AnimateSlide(int PageId, bool In) = 0;
  virtual void Foreground(int PageId) = 0;
  virtual TRect MemoBounds(int PageId) = 0;
  // The row's geometry changed: every tab window follows it.
  virtual void TabsChanged() = 0;
  virtual void SetScrollArrows(TScrollArrows Arrows) = 0;
  // A file error shown to the user; Owner is the page, or -1 for the strip.
  virtual void ShowFileError(int OwnerPageId, const std::string& Text) = 0;
};

enum class TSaveResult { Saved, Cancelled, Failed };
// The save prompt's three answers; Escape and the close box are Cancel.
enum class TSaveAnswer { Yes, No, Cancel };

// Offers a modified page for saving until its text is saved or left: asked
// again after a failed or cancelled save. False when the user cancelled, so
// that whatever was closing stops and nothing is lost.
bool OfferSave(const std::function<TSaveAnswer()>& Ask, const std::function<TSaveResult()>& Save);

// What the exit sequence asks of the memo windows and the settings files.
class IExitSteps {
 public:
  virtual ~IExitSteps() = default;
  virtual TSaveAnswer AskSave(int PageId, const std::string& Name) = 0;
  // Saves to the page's own file, or through Save As when it has none; a
  // failure has been shown to the user and left the page modified.
  virtual TSaveResult Save(int PageId) = 0;
  virtual void SavePageSettings(const std::vector<TPageSettingsEntry>& Pages) = 0;
  virtual void SaveMainSettings() = 0;
};

class TPageStore {
 public:
  TPageStore(IPageWindows& Windows, IPathSystem& Paths, ISystemResources& System)
      : Windows(Windows), Paths(Paths), System(System) {}

  std::vector<TPage> Pages;
  TTabRow Row;
  int PageCounter = 1;
  int MemoWidth = 640, MemoHeight = 480;
  // The work area's size: no page is made larger (a height no screen holds
  // would slide it far off and its tab with it).
  int MaxMemoWidth = 1 << 30, MaxMemoHeight = 1 << 30;
  bool TabSizeCheck = false;
  int TabSize = 20;
  bool MemoOut = false;
  bool Busy = false;
  bool AutoHideArmed = true;
  bool QuoteCopyPending = false;
  TRect LastHoverRect;

  int IndexOf(int PageId) const;
  int ShownIndex() const;  // the first page slid in, or -1
  int FindKind(TPageKind Kind) const;

  std::string MakeTabCaption(const std::string& Name) const;
  int TabWidthFor(const std::string& Caption);

  bool CanCreatePage() { return vel::CanCreatePage(System); }
  // Memo window and tab for a name or path (no guard, no slide), with the
  // counter, the row end and the tab's showing done too. Returns the index.
  int AddPage(const std::string& Name, TPageKind Kind = TPageKind::Normal);
  int AddAndShowPage(const std::string& Name, TPageKind Kind = TPageKind::Normal);
  bool IsFileOpen(const std::string& Path);
  // Opens an existing file not yet open as a new page, without sliding it in.
  bool OpenPageFile(const std::string& Path);
  void ShowOpenPage(const std::string& Path);
  void RemovePage(int Index, int Left);

  // Restores the pages of the page settings; returns how many.
  int LoadPageSettings(const std::vector<TPageSettingsEntry>& Entries);
  // What PageSetting.ini keeps: the pages with files of their own, then the
  // entries that could not be opened this run for another reason than a
  // missing file (a refusal of the guard, a read error), so none is lost.
  std::vector<TPageSettingsEntry> PagesToKeep();

  // The strip's start: restored pages, pages back from recovery journals,
  // command-line files, else one new page.
  void StartUp(const std::vector<TPageSettingsEntry>& Entries, const std::vector<std::string>& Params,
               const std::vector<TJournalPage>& Recovered = {});
  // The page ids the journals of the start came back as, in their order.
  std::vector<int> RecoveredPageIds;
  // Set when the list of pages or their files or sizes changed: the page
  // list file is due to be written again.
  bool PageListChanged = false;
  void SlideIn(int Index);
  void SlideOut(int Index);
  void SlideOutShown();
  void ShowLastPage();
  // The New Page command; -1 when the guard refused.
  int NewPage();
  // The Open command's two ways: a new page, or into an untouched one.
  void OpenInNewPage(int FromIndex, const std::string& Path);
  void OpenIntoPage(int Index, const std::string& Path);
  // Save As gave a normal page a file of its own.
  void SavedAs(int Index, const std::string& Path);
  int OpenClipboardPage(int FromIndex, TPageKind Kind);
  void ClipboardChanged(const std::optional<std::string>& Text);

  // Mouse rests on tab Index; TabRect and the cursor in screen coordinates.
  void HoverTab(int Index, const TRect& TabRect, int CursorX, int CursorY);
  // The 1 ms timer: hides the shown page once the cursor has left it.
  void AutoHideTick(bool TimerEnabled, int ForegroundPageId, int CursorX, int CursorY);
  void Deactivated();
  void MemoMouseEnter(bool IsForeground) {
    if (!IsForeground) AutoHideArmed = true;
  }
  void ScrollArrow(bool Right);
  void UpdateScrollArrows() { Windows.SetScrollArrows(Row.UpdateScrollArrows()); }

  // False when the user cancelled at a prompt: nothing closed, nothing written.
  bool Exit(IExitSteps& Steps);
  // Writes the page list and the main settings (the end of Exit, and all a
  // session's end leaves time for).
  void SaveSettings(IExitSteps& Steps);
  // The page list file could not be read at start: what this run knows of
  // it is not what it holds, so it is never written over.
  bool PageSettingsUnread = false;

 private:
  void LoadInto(int Index, const std::string& Path);
  void DropLastPage();
  int FindOpen(const std::string& Path);
  // Every name becomes absolute as it enters, so that a later change of the
  // working folder cannot point a page at another file.
  std::string Canonical(const std::string& Path) { return Path.empty() ? Path : Paths.FullPath(Path); }
  // False (with a message) for a name that is no disk file.
  bool RefuseDevice(int OwnerPageId, const std::string& Path);
  void RowChanged();

  IPageWindows& Windows;
  IPathSystem& Paths;
  ISystemResources& System;
  std::vector<TPageSettingsEntry> Unopened;
};

}  // namespace vel
