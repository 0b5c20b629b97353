#include "shell/PageStore.h"

#include <algorithm>

#include <exception>

namespace vel {

namespace {
constexpr char NewPageName[] = "NewPage";
const char* KindName(TPageKind k) { return k == TPageKind::Clipboard ? "クリップボード" : "引用符クリップボード"; }
}  // namespace

int TPageStore::IndexOf(int PageId) const {
  for (size_t i = 0; i < Pages.size(); ++i)
    if (Pages[i].PageId == PageId) return static_cast<int>(i);
  return -1;
}

int TPageStore::ShownIndex() const {
  for (size_t i = 0; i < Pages.size(); ++i)
    if (Pages[i].Shown) return static_cast<int>(i);
  return -1;
}

int TPageStore::FindKind(TPageKind Kind) const {
  for (size_t i = 0; i < Pages.size(); ++i)
    if (Pages[i].Kind == Kind) return static_cast<int>(i);
  return -1;
}

std::string TPageStore::MakeTabCaption(const std::string& Name) const {
  return Name.compare(0, 7, NewPageName) == 0 ? Name : ExtractFileName(Name);
}

int TPageStore::TabWidthFor(const std::string& Caption) {
  return TabSizeCheck ? TabSize + 20 : Windows.CaptionWidth(Caption) + 28;
}

void TPageStore::RowChanged() {
  Row.FirstMemoWidth = Pages.empty() ? MemoWidth : Pages.front().Width;
  Windows.TabsChanged();
}

int TPageStore::AddPage(const std::string& Name, TPageKind Kind) {
  TPage p;
  p.PageId = PageCounter;
  p.Caption = ExpandLongPath(Paths, Name);
  p.TabCaption = Kind == TPageKind::Normal ? MakeTabCaption(p.Caption) : KindName(Kind);
  p.Kind = Kind;
  p.Width = MemoWidth;
  p.Height = MemoHeight;
  Pages.push_back(p);
  if (Pages.size() == 1) Row.FirstMemoWidth = p.Width;
  Row.Append(p.PageId, TabWidthFor(p.TabCaption));
  Windows.CreatePage(p);
  ++PageCounter;
  PageListChanged = true;
  Windows.ShowTab(p.PageId);
  return static_cast<int>(Pages.size()) - 1;
}

int TPageStore::AddAndShowPage(const std::string& Name, TPageKind Kind) {
  int wasOut = ShownIndex();
  if (MemoOut && wasOut >= 0) SlideOut(wasOut);
  int i = AddPage(Name, Kind);
  Row.EnsureTabVisible(i);
  RowChanged();
  if (wasOut >= 0) SlideIn(i);
  Row.TabRowEnd = Row.Tabs[i].Left + Row.Tabs[i].FullWidth;
  Windows.Foreground(Pages[i].PageId);
  return i;
}

int TPageStore::FindOpen(const std::string& Path) {
  for (size_t i = 0; i < Pages.size(); ++i)
    if (Pages[i].FilePath == Path) return static_cast<int>(i);
  // One file under two names (a link, another spelling) is one page.
  std::optional<std::string> id = Paths.FileIdentity(Path);
  if (id) {
    for (size_t i = 0; i < Pages.size(); ++i)
      if (Pages[i].HasFile && Pages[i].Identity == *id) return static_cast<int>(i);
  }
  // Only pages whose identity is unknown are asked by name: one system call
  // per open page for every page opened made a long page list slow to start.
  std::optional<std::string> shortPath = Paths.ShortPath(Path);
  if (!shortPath) return -1;
  for (size_t i = 0; i < Pages.size(); ++i) {
    if (Pages[i].FilePath.empty() || (id && !Pages[i].Identity.empty())) continue;
    std::optional<std::string> other = Paths.ShortPath(Pages[i].FilePath);
    if (other && SameFileName(*other, *shortPath)) return static_cast<int>(i);
  }
  return -1;
}

bool TPageStore::IsFileOpen(const std::string& Path) { return FindOpen(Path) >= 0; }

void TPageStore::DropLastPage() {
  Windows.DestroyPage(Pages.back().PageId);
  Pages.pop_back();
  Row.Tabs.pop_back();
  if (Row.FirstVisibleTab >= static_cast<int>(Row.Tabs.size())) Row.FirstVisibleTab = Row.Tabs.empty() ? -1 : 0;
  Row.TabRowEnd = Row.Tabs.empty() ? Row.MemoLeft : Row.Tabs.back().Left + Row.Tabs.back().FullWidth;
  RowChanged();
}

void TPageStore::LoadInto(int Index, const std::string& Path) {
  Windows.LoadFile(Pages[Index].PageId, Path);
  Pages[Index].FilePath = Path;
  Pages[Index].HasFile = true;
  Pages[Index].Identity = Paths.FileIdentity(Path).value_or("");
  PageListChanged = true;
}

bool TPageStore::RefuseDevice(int OwnerPageId, const std::string& Path) {
  if (!IsDeviceName(Path)) return false;
  Windows.ShowFileError(OwnerPageId, Path + " はファイルではないため開けません。");
  return true;
}

bool TPageStore::OpenPageFile(const std::string& Name) {
  const std::string Path = Canonical(Name);
  if (Path.empty() || RefuseDevice(-1, Path) || IsFileOpen(Path) || !Paths.FileExists(Path)) return false;
  if (!CanCreatePage()) return false;
  int i = AddPage(Path);
  try {
    LoadInto(i, Path);
  } catch (const std::exception& e) {
    // An unreadable file leaves no empty page behind that could pass for it.
    DropLastPage();
    Windows.ShowFileError(-1, e.what());
    return false;
  }
  return true;
}

void TPageStore::ShowOpenPage(const std::string& Path) {
  int i = FindOpen(Path);
  if (i < 0) return;
  Row.EnsureTabVisible(i);
  RowChanged();
  SlideIn(i);
}

void TPageStore::RemovePage(int Index, int Left) {
  if (Index < 0 || Index >= static_cast<int>(Pages.size())) return;
  Windows.DestroyPage(Pages[Index].PageId);
  Pages.erase(Pages.begin() + Index);
  PageListChanged = true;
  Row.Remove(Index, Left);
  MemoOut = false;
  if (Pages.empty()) {
    Row.TabRowEnd = Row.MemoLeft;
    AddPage(NewPageName + std::to_string(PageCounter));
    Row.FirstVisibleTab = 0;
  }
  RowChanged();
  UpdateScrollArrows();
}

int TPageStore::LoadPageSettings(const std::vector<TPageSettingsEntry>& Entries) {
  int restored = 0;
  for (size_t n = 0; n < Entries.size(); ++n) {
    TPageSettingsEntry e = Entries[n];
    if (!CanCreatePage()) {
      Unopened.insert(Unopened.end(), Entries.begin() + n, Entries.end());
      break;
    }
    // A device is never read and never kept; a relative name found in an
    // older file is taken from the folder the program started in.
    if (IsDeviceName(e.FilePath)) continue;
    e.FilePath = Canonical(e.FilePath);
    if (!Paths.FileExists(e.FilePath)) continue;
    // Two pages on one file would let one overwrite the other's edits.
    if (IsFileOpen(e.FilePath)) continue;
    e.View.MemoFormHeight = std::min(e.View.MemoFormHeight, MaxMemoHeight);
    e.View.MemoFormWidth = std::min(e.View.MemoFormWidth, MaxMemoWidth);
    MemoHeight = e.View.MemoFormHeight;
    MemoWidth = e.View.MemoFormWidth;
    int i = AddPage(e.FilePath);
    Windows.ApplyView(Pages[i].PageId, e.View);
    try {
      LoadInto(i, e.FilePath);
      ++restored;
    } catch (const std::exception&) {
      DropLastPage();
      Unopened.push_back(e);
    }
    MemoHeight = 480;
    MemoWidth = 640;
  }
  if (restored > 0) Row.FirstVisibleTab = 0;
  RowChanged();
  return restored;
}

std::vector<TPageSettingsEntry> TPageStore::PagesToKeep() {
  std::vector<TPageSettingsEntry> keep;
  for (const TPage& p : Pages)
    if (p.HasFile && p.Kind == TPageKind::Normal) keep.push_back({p.FilePath, Windows.CurrentView(p.PageId)});
  for (const TPageSettingsEntry& e : Unopened)
    if (!IsFileOpen(e.FilePath)) keep.push_back(e);
  return keep;
}

void TPageStore::StartUp(const std::vector<TPageSettingsEntry>& Entries, const std::vector<std::string>& Params,
                         const std::vector<TJournalPage>& Recovered) {
  Row.TabRowEnd = Row.MemoLeft;
  LoadPageSettings(Entries);
  RecoveredPageIds.clear();
  for (const TJournalPage& r : Recovered) {
    // The journal's text wins over the file's: it is what the user last saw,
    // and nothing is written to the file until the user saves.
    int i = r.HasFile ? FindOpen(Canonical(r.FilePath)) : -1;
    if (i < 0) {
      if (!CanCreatePage()) break;
      i = r.HasFile ? AddPage(Canonical(r.FilePath), r.Kind) : AddPage(NewPageName + std::to_string(PageCounter), r.Kind);
      if (r.HasFile) {
        Pages[i].FilePath = Canonical(r.FilePath);
        Pages[i].HasFile = true;
        Pages[i].Identity = Paths.FileIdentity(Pages[i].FilePath).value_or("");
      } else {
        Pages[i].FilePath = Pages[i].TabCaption;
      }
      Windows.ApplyView(Pages[i].PageId, r.View);
    }
    Windows.SetRecoveredText(Pages[i].PageId, r.Text);
    RecoveredPageIds.push_back(Pages[i].PageId);
  }
  if (!Recovered.empty()) RowChanged();
  for (const std::string& p : Params) OpenPageFile(p);
  if (Pages.empty()) {
    int i = AddPage(NewPageName + std::to_string(PageCounter));
    Row.FirstVisibleTab = 0;
    Pages[i].FilePath = Pages[i].TabCaption;
    RowChanged();
  } else {
    ShowLastPage();
  }
  UpdateScrollArrows();
}

void TPageStore::SlideIn(int Index) {
  if (MemoOut || Index < 0 || Index >= static_cast<int>(Pages.size())) return;
  Windows.AnimateSlide(Pages[Index].PageId, true);
  Pages[Index].Shown = true;
  Row.Tabs[Index].Open = true;
  MemoOut = true;
}

void TPageStore::SlideOut(int Index) {
  // A page that is not out would slide further off the screen.
  if (!MemoOut || Index < 0 || Index >= static_cast<int>(Pages.size()) || !Pages[Index].Shown) return;
  Windows.AnimateSlide(Pages[Index].PageId, false);
  Pages[Index].Shown = false;
  Row.Tabs[Index].Open = false;
  MemoOut = false;
}

void TPageStore::SlideOutShown() {
  for (size_t i = 0; i < Pages.size(); ++i)
    if (Pages[i].Shown) SlideOut(static_cast<int>(i));
}

void TPageStore::ShowLastPage() {
  if (Pages.empty()) return;
  SlideOutShown();
  int last = static_cast<int>(Pages.size()) - 1;
  Row.EnsureTabVisible(last);
  RowChanged();
  SlideIn(last);
  Windows.Foreground(Pages[last].PageId);
}

int TPageStore::NewPage() {
  if (!CanCreatePage()) return -1;
  int i = AddAndShowPage(NewPageName + std::to_string(PageCounter));
  Pages[i].FilePath = Pages[i].TabCaption;
  return i;
}

void TPageStore::OpenInNewPage(int FromIndex, const std::string& Name) {
  const std::string Path = Canonical(Name);
  if (RefuseDevice(-1, Path)) return;
  if (IsFileOpen(Path)) {
    SlideOut(FromIndex);
    ShowOpenPage(Path);
    return;
  }
  int i = AddAndShowPage(Path);
  try {
    LoadInto(i, Path);
  } catch (const std::exception& e) {
    Windows.ShowFileError(-1, e.what());
  }
}

void TPageStore::OpenIntoPage(int Index, const std::string& Name) {
  const std::string Path = Canonical(Name);
  if (RefuseDevice(Pages[Index].PageId, Path)) return;
  if (IsFileOpen(Path)) {
    SlideOut(Index);
    ShowOpenPage(Path);
    return;
  }
  try {
    LoadInto(Index, Path);
  } catch (const std::exception& e) {
    Windows.ShowFileError(Pages[Index].PageId, e.what());
    return;
  }
  Pages[Index].Caption = Path;
  Pages[Index].TabCaption = MakeTabCaption(Path);
  Row.Resize(Index, TabWidthFor(Pages[Index].TabCaption));
  RowChanged();
}

void TPageStore::SavedAs(int Index, const std::string& Name) {
  TPage& p = Pages[Index];
  if (p.Kind != TPageKind::Normal) return;
  const std::string Path = Canonical(Name);
  p.Caption = p.FilePath = Path;
  p.HasFile = true;
  p.Identity = Paths.FileIdentity(Path).value_or("");
  PageListChanged = true;
  p.TabCaption = MakeTabCaption(Path);
  Row.Resize(Index, TabWidthFor(p.TabCaption));
  RowChanged();
}

int TPageStore::OpenClipboardPage(int FromIndex, TPageKind Kind) {
  if (FindKind(Kind) >= 0) return -1;
  SlideOut(FromIndex);
  return AddAndShowPage(KindName(Kind), Kind);
}

void TPageStore::ClipboardChanged(const std::optional<std::string>& Text) {
  int i = FindKind(QuoteCopyPending ? TPageKind::QuoteClipboard : TPageKind::Clipboard);
  QuoteCopyPending = false;
  if (Text && i >= 0) Windows.SetText(Pages[i].PageId, *Text);
}

void TPageStore::HoverTab(int Index, const TRect& r, int x, int y) {
  if (Busy || Index < 0 || Index >= static_cast<int>(Pages.size())) return;
  if (x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom) return;
  bool intersects = r.Left < LastHoverRect.Right && LastHoverRect.Left < r.Right && r.Top < LastHoverRect.Bottom &&
                    LastHoverRect.Top < r.Bottom;
  if (Row.TabsScrolled && intersects) {
    LastHoverRect = {};
    return;
  }
  if (Row.Tabs[Index].Open) return;
  LastHoverRect = r;
  if (MemoOut) SlideOut(ShownIndex());
  Row.EnsureTabVisible(Index);
  RowChanged();
  AutoHideArmed = false;
  SlideIn(Index);
  UpdateScrollArrows();
}

void TPageStore::AutoHideTick(bool TimerEnabled, int ForegroundPageId, int x, int y) {
  if (!AutoHideArmed || Busy || !TimerEnabled || !MemoOut) return;
  int i = ShownIndex();
  if (i < 0 || Pages[i].PageId == ForegroundPageId) return;
  TRect r = Windows.MemoBounds(Pages[i].PageId);
  if (x < r.Left || y < r.Top || x > r.Right || y > r.Bottom) SlideOut(i);
}

void TPageStore::Deactivated() {
  if (Busy || !MemoOut) return;
  SlideOut(ShownIndex());
}

void TPageStore::ScrollArrow(bool Right) {
  if (Right)
    Row.RightArrow();
  else
    Row.LeftArrow();
  RowChanged();
  UpdateScrollArrows();
}

bool OfferSave(const std::function<TSaveAnswer()>& Ask, const std::function<TSaveResult()>& Save) {
  for (;;) {
    switch (Ask()) {
      case TSaveAnswer::No: return true;
      case TSaveAnswer::Cancel: return false;
      case TSaveAnswer::Yes:
        if (Save() == TSaveResult::Saved) return true;
        break;
    }
  }
}

bool TPageStore::Exit(IExitSteps& Steps) {
  SlideOutShown();
  for (size_t i = 0; i < Pages.size(); ++i) {
    // Copied: the page list must not be read through a reference across the prompt.
    const int id = Pages[i].PageId;
    if (Pages[i].Kind != TPageKind::Normal || !Windows.Modified(id)) continue;
    Row.EnsureTabVisible(static_cast<int>(i));
    RowChanged();
    SlideIn(static_cast<int>(i));
    const std::string name = Pages[i].FilePath.empty() ? Pages[i].Caption : ExtractFileName(Pages[i].FilePath);
    bool go = OfferSave([&] { return Steps.AskSave(id, name); }, [&] { return Steps.Save(id); });
    int now = IndexOf(id);
    if (now >= 0) SlideOut(now);
    if (!go) return false;
  }
  SaveSettings(Steps);
  return true;
}

void TPageStore::SaveSettings(IExitSteps& Steps) {
  if (!PageSettingsUnread) Steps.SavePageSettings(PagesToKeep());
  Steps.SaveMainSettings();
}

}  // namespace vel
