#include "shell/PageStore.h"

#include <gtest/gtest.h>

#include "ShellFakes.h"

namespace vel {
namespace {

class PageStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    Store.Row.MemoLeft = Store.Row.TabRowEnd = 152;
    Paths.Files = {"C:\\memo\\a.txt", "C:\\memo\\c.txt", "C:\\memo\\d.txt"};
  }
  static TPageSettingsEntry Entry(const std::string& path, int height = 480) {
    TPageSettingsEntry e{path, {}};
    e.View.MemoFormHeight = height;
    return e;
  }
  std::vector<std::string> FilePaths() {
    std::vector<std::string> v;
    for (const auto& p : Store.Pages) v.push_back(p.FilePath);
    return v;
  }
  TFakeWindows Windows;
  TFakePaths Paths;
  TFakeSystem System;
  TPageStore Store{Windows, Paths, System};
};

TEST_F(PageStoreTest, RestoredPagesSkipAMissingFileAndAreRenumberedAtExit) {
  Store.MaxMemoHeight = 700;
  Store.StartUp({Entry("C:\\memo\\a.txt", 300), Entry("C:\\memo\\b.txt"), Entry("C:\\memo\\c.txt", 16384)}, {});
  EXPECT_EQ(FilePaths(), (std::vector<std::string>{"C:\\memo\\a.txt", "C:\\memo\\c.txt"}));
  EXPECT_EQ(Store.Pages[0].Height, 300);
  EXPECT_EQ(Store.Pages[1].Height, 700) << "no taller than the work area";
  EXPECT_TRUE(Store.Pages[0].HasFile);
  EXPECT_EQ(Store.PageCounter, 3);
  // The last page slides in and takes the foreground.
  EXPECT_TRUE(Store.Pages[1].Shown);
  EXPECT_TRUE(Store.MemoOut);
  EXPECT_EQ(Windows.Log.back(), "fg 2");
  auto keep = Store.PagesToKeep();
  ASSERT_EQ(keep.size(), 2u);
  EXPECT_EQ(keep[0].FilePath, "C:\\memo\\a.txt");
  EXPECT_EQ(keep[1].FilePath, "C:\\memo\\c.txt");
  EXPECT_EQ(keep[0].View.MemoFormHeight, 300);
}

TEST_F(PageStoreTest, AnEmptyStartMakesOneNewPageThatStaysIn) {
  Store.StartUp({}, {"C:\\memo\\missing.txt"});
  ASSERT_EQ(Store.Pages.size(), 1u);
  EXPECT_EQ(Store.Pages[0].TabCaption, "NewPage1");
  EXPECT_EQ(Store.Pages[0].FilePath, "NewPage1");
  EXPECT_FALSE(Store.Pages[0].HasFile);
  EXPECT_FALSE(Store.MemoOut);
  EXPECT_EQ(Store.Row.Tabs[0].FullWidth, 6 * 8 + 28);
  EXPECT_TRUE(Store.PagesToKeep().empty());
}

TEST_F(PageStoreTest, CommandLineFilesOpenOnceByLongOrShortName) {
  Paths.ShortNames["C:\\memo\\a.txt"] = "C:\\MEMO\\A~1.TXT";
  Store.StartUp({Entry("C:\\memo\\a.txt")}, {"c:\\memo\\a~1.txt", "C:\\memo\\c.txt", "C:\\memo\\c.txt"});
  EXPECT_EQ(FilePaths(), (std::vector<std::string>{"C:\\memo\\a.txt", "C:\\memo\\c.txt"}));
  EXPECT_TRUE(Store.IsFileOpen("C:\\MEMO\\A~1.TXT"));
  EXPECT_FALSE(Store.IsFileOpen("C:\\memo\\d.txt"));
  EXPECT_FALSE(Store.OpenPageFile("C:\\MEMO\\A~1.TXT"));
}

// Other spellings of an open file (a link, "/" for "\\", "..") and device
// names never become pages; a device in the page list is not kept either.
TEST_F(PageStoreTest, OneFileUnderOtherNamesAndDevicesGetNoPage) {
  Paths.Files = {"C:\\memo\\a.txt", "C:\\link\\a.txt", "C:\\memo\\COM1", "C:\\nul.txt"};
  Paths.Identities = {{"C:\\memo\\a.txt", "v1:42"}, {"C:\\link\\a.txt", "v1:42"}};
  Store.StartUp({Entry("C:\\memo\\a.txt"), Entry("COM1")}, {"C:/memo/a.txt", "C:\\link\\a.txt", "C:\\memo\\COM1"});
  EXPECT_EQ(FilePaths(), std::vector<std::string>{"C:\\memo\\a.txt"});
  Windows.Log.clear();
  EXPECT_FALSE(Store.OpenPageFile("C:\\nul.txt"));
  EXPECT_EQ(Windows.Log, std::vector<std::string>{"error -1 C:\\nul.txt はファイルではないため開けません。"});
  EXPECT_EQ(Store.PagesToKeep().size(), 1u);
  for (const char* device : {"CON", "aux.txt", "C:\\x\\lpt9.log", "\\\\.\\pipe\\p", "com1 "})
    EXPECT_TRUE(IsDeviceName(device)) << device;
  for (const char* file : {"CONSOLE.txt", "com10", "C:\\con\\a.txt", "ソNUL", "lpt"})
    EXPECT_FALSE(IsDeviceName(file)) << file;
}

TEST_F(PageStoreTest, ASectionNamingAnOpenFileAgainGetsNoSecondPage) {
  Store.StartUp({Entry("C:\\memo\\a.txt"), Entry("C:\\memo\\a.txt")}, {});
  EXPECT_EQ(Store.Pages.size(), 1u);
}

TEST_F(PageStoreTest, ClosingTheOnlyPageLeavesANewEmptyPageWithTheNextNumber) {
  Store.StartUp({Entry("C:\\memo\\a.txt")}, {});
  Store.RemovePage(0, Store.Row.Tabs[0].Left);
  ASSERT_EQ(Store.Pages.size(), 1u);
  EXPECT_EQ(Store.Pages[0].TabCaption, "NewPage2");
  EXPECT_EQ(Store.Pages[0].FilePath, "");
  EXPECT_EQ(Store.Pages[0].PageId, 2);
  EXPECT_EQ(Store.PageCounter, 3);
  EXPECT_FALSE(Store.MemoOut);
  EXPECT_EQ(Store.Row.FirstVisibleTab, 0);
  EXPECT_EQ(Store.Row.Tabs[0].Left, 152);
}

TEST_F(PageStoreTest, AGuardRefusalStopsRestoringButKeepsTheRestForTheNextRun) {
  System.Allowed = 1;
  Store.StartUp({Entry("C:\\memo\\a.txt"), Entry("C:\\memo\\c.txt"), Entry("C:\\memo\\d.txt")}, {});
  EXPECT_EQ(Store.Pages.size(), 1u);
  ASSERT_EQ(headless::ShownMessages().size(), 1u);
  EXPECT_EQ(headless::ShownMessages()[0].Text, "これ以上新しいページは作れません！！");
  EXPECT_EQ(headless::ShownMessages()[0].Caption, "新規ページ作成禁止");
  EXPECT_EQ(headless::ShownMessages()[0].Flags, mbOK | mbIconInformation);
  auto keep = Store.PagesToKeep();
  ASSERT_EQ(keep.size(), 3u);
  EXPECT_EQ(keep[2].FilePath, "C:\\memo\\d.txt");
}

TEST_F(PageStoreTest, AnUnreadableFileLeavesNoPageBehindAndIsKept) {
  Windows.Unreadable = {"C:\\memo\\c.txt"};
  Store.StartUp({Entry("C:\\memo\\c.txt"), Entry("C:\\memo\\a.txt")}, {});
  EXPECT_EQ(FilePaths(), (std::vector<std::string>{"C:\\memo\\a.txt"}));
  EXPECT_EQ(Store.PagesToKeep().size(), 2u);
  EXPECT_FALSE(Store.OpenPageFile("C:\\memo\\c.txt"));
  EXPECT_EQ(Store.Pages.size(), 1u);
  EXPECT_EQ(Windows.Log.back(), "error -1 Cannot open file \"C:\\memo\\c.txt\"");
}

TEST(CanCreatePage, FollowsThePlatformKind) {
  struct {
    int Kind;
    uint64_t Memory;
    std::optional<TResourcePercentages> Meter;
    bool Allowed;
  } cases[] = {
      {pkWin32s, 1u << 30, std::nullopt, false},
      {pkWindowsNT, 7106, std::nullopt, true},
      {pkWindowsNT, 7105, std::nullopt, false},
      {pkWindowsNT, 0, std::nullopt, false},
      {pkWindows9x, 1u << 20, TResourcePercentages{21, 21, 21}, true},
      {pkWindows9x, 1u << 20, TResourcePercentages{21, 20, 90}, false},
      {pkWindows9x, 1u << 20, TResourcePercentages{-5, 50, 50}, false},
      {pkWindows9x, 1u << 20, std::nullopt, true},
      {7, 1u << 20, std::nullopt, true},
  };
  for (const auto& c : cases) {
    headless::Reset();
    TFakeSystem s;
    s.Kind = c.Kind;
    s.Memory = c.Memory;
    s.Meter = c.Meter;
    EXPECT_EQ(CanCreatePage(s), c.Allowed) << c.Kind << " " << c.Memory;
    EXPECT_EQ(headless::ShownMessages().size(), c.Allowed ? 0u : 1u);
  }
}

class FakeLoader final : public ILibraryLoader {
 public:
  std::string Loaded;
  std::string Missing;
  bool Load(const std::string& p) override {
    Loaded = p;
    return Missing != "library";
  }
  bool Resolve(const std::string& f) override { return f != Missing; }
};

TEST(ResourceMeter, IsLoadedFromTheProgramsFolderAndEachMissingPartHasItsMessage) {
  struct {
    std::string Missing, Text, Caption;
  } cases[] = {
      {"library", "resource.dllの読み込みに失敗しました。", "Dll読み込み失敗"},
      {"GetResInfo", "GetResInfo関数の取り込みに失敗しました。", "関数取り込み失敗"},
      {"GetSysRes", "GetSysRes関数の取り込みに失敗しました。", "関数取り込み失敗"},
      {"GetGdiRes", "GetGdiRes関数の取り込みに失敗しました。", "関数取り込み失敗"},
      {"GetUserRes", "GetUserRes関数の取り込みに失敗しました。", "関数取り込み失敗"},
  };
  for (const auto& c : cases) {
    headless::Reset();
    FakeLoader loader;
    loader.Missing = c.Missing;
    EXPECT_FALSE(LoadResourceMeter(loader, "C:\\表"));
    EXPECT_EQ(loader.Loaded, "C:\\表\\resinfo.dll");
    ASSERT_EQ(headless::ShownMessages().size(), 1u);
    EXPECT_EQ(headless::ShownMessages()[0].Text, c.Text);
    EXPECT_EQ(headless::ShownMessages()[0].Caption, c.Caption);
    EXPECT_EQ(headless::ShownMessages()[0].Flags, mbOK | mbIconStop);
  }
  FakeLoader ok;
  EXPECT_TRUE(LoadResourceMeter(ok, "C:\\app"));
}

TEST(ExpandLongPath, BringsEachComponentToItsLongForm) {
  TFakePaths paths;
  paths.LongNames = {{"C:\\PROGRA~1\\MEMO~1.TXT", "memo file.txt"}, {"C:\\PROGRA~1", "Program Files"}};
  EXPECT_EQ(ExpandLongPath(paths, "C:\\PROGRA~1\\MEMO~1.TXT"), "C:\\Program Files\\memo file.txt");
  EXPECT_EQ(ExpandLongPath(paths, "NewPage3"), "NewPage3");
  EXPECT_EQ(ExpandLongPath(paths, "C:\\nowhere\\MEMO~1.TXT"), "C:\\nowhere\\MEMO~1.TXT");
  paths.LongNames = {{"C:\\表\\A~1.TXT", "a long.txt"}};
  EXPECT_EQ(ExpandLongPath(paths, "C:\\表\\A~1.TXT"), "C:\\表\\a long.txt");
}

TEST_F(PageStoreTest, ClipboardPagesFollowTheirKindOfClipboardChange) {
  Store.StartUp({}, {});
  int clip = Store.OpenClipboardPage(0, TPageKind::Clipboard);
  int quote = Store.OpenClipboardPage(clip, TPageKind::QuoteClipboard);
  EXPECT_EQ(Store.OpenClipboardPage(0, TPageKind::Clipboard), -1);
  EXPECT_EQ(Store.Pages[clip].TabCaption, "クリップボード");
  EXPECT_EQ(Store.Pages[quote].TabCaption, "引用符クリップボード");
  EXPECT_EQ(Store.Pages[quote].FilePath, "");
  int clipId = Store.Pages[clip].PageId, quoteId = Store.Pages[quote].PageId;
  Store.ClipboardChanged(std::string("plain"));
  Store.QuoteCopyPending = true;
  Store.ClipboardChanged(std::string(">quoted"));
  EXPECT_FALSE(Store.QuoteCopyPending);
  Store.ClipboardChanged(std::nullopt);
  EXPECT_EQ(Windows.Texts[clipId], "plain");
  EXPECT_EQ(Windows.Texts[quoteId], ">quoted");
  EXPECT_TRUE(Store.PagesToKeep().empty());
}

TEST_F(PageStoreTest, HoverSlidesTheOpenPageOutAndTheHoveredOneIn) {
  Store.StartUp({Entry("C:\\memo\\a.txt"), Entry("C:\\memo\\c.txt")}, {});
  Windows.Log.clear();
  TRect tab0{152, 0, 152 + Store.Row.Tabs[0].Width, 20};
  Store.HoverTab(0, tab0, 160, 10);
  EXPECT_EQ(Windows.Log, (std::vector<std::string>{"out 2", "in 1"}));
  EXPECT_FALSE(Store.AutoHideArmed);
  Store.HoverTab(0, tab0, 160, 10);  // already open
  Store.Busy = true;
  Store.HoverTab(1, {300, 0, 350, 20}, 310, 10);
  Store.Busy = false;
  Store.HoverTab(1, {300, 0, 350, 20}, 10, 10);  // cursor elsewhere
  EXPECT_EQ(Windows.Log.size(), 2u);
}

TEST_F(PageStoreTest, AutoHideActsOnlyWhenArmedIdleAndTheCursorHasLeft) {
  Store.StartUp({Entry("C:\\memo\\a.txt")}, {});
  Windows.Bounds[1] = {152, 20, 792, 500};
  struct {
    bool Armed, Busy, Timer;
    int Foreground, X, Y;
    bool SlidOut;
  } cases[] = {
      {true, false, true, 0, 500, 300, false}, {false, false, true, 0, 10, 10, false},
      {true, true, true, 0, 10, 10, false},    {true, false, false, 0, 10, 10, false},
      {true, false, true, 1, 10, 10, false},   {true, false, true, 0, 10, 10, true},
  };
  for (const auto& c : cases) {
    Store.AutoHideArmed = c.Armed;
    Store.Busy = c.Busy;
    Store.AutoHideTick(c.Timer, c.Foreground, c.X, c.Y);
    EXPECT_EQ(!Store.MemoOut, c.SlidOut) << c.Armed << c.Busy << c.Timer << c.Foreground << c.X;
  }
  Store.Busy = false;
  Store.SlideIn(0);
  Store.Busy = true;
  Store.Deactivated();
  EXPECT_TRUE(Store.MemoOut);
  Store.Busy = false;
  Store.Deactivated();
  EXPECT_FALSE(Store.MemoOut);
}

class RecordingExit final : public IExitSteps {
 public:
  std::vector<std::string> Log;
  std::vector<TSaveAnswer> Answers;
  std::vector<TSaveResult> Saves;
  TSaveAnswer AskSave(int id, const std::string& name) override {
    Log.push_back("ask " + std::to_string(id) + " " + name);
    TSaveAnswer a = Answers.front();
    Answers.erase(Answers.begin());
    return a;
  }
  TSaveResult Save(int id) override {
    Log.push_back("save " + std::to_string(id));
    TSaveResult r = Saves.front();
    Saves.erase(Saves.begin());
    return r;
  }
  void SavePageSettings(const std::vector<TPageSettingsEntry>& pages) override {
    Log.push_back("page settings " + std::to_string(pages.size()));
  }
  void SaveMainSettings() override { Log.push_back("main settings"); }
};

TEST_F(PageStoreTest, ExitAsksForEachModifiedNormalPageThenWritesBothFiles) {
  Store.StartUp({Entry("C:\\memo\\a.txt"), Entry("C:\\memo\\c.txt")}, {});
  Store.NewPage();
  int clip = Store.OpenClipboardPage(2, TPageKind::Clipboard);
  Windows.ModifiedPages = {{1, true}, {2, false}, {3, true}, {Store.Pages[clip].PageId, true}};
  using A = TSaveAnswer;
  const size_t pages = Store.Pages.size();
  {
    // Cancel (Escape, the close box) at the second page stops the exit:
    // nothing written, every page still there.
    RecordingExit exit;
    exit.Answers = {A::No, A::Cancel};
    EXPECT_FALSE(Store.Exit(exit));
    EXPECT_EQ(exit.Log, (std::vector<std::string>{"ask 1 a.txt", "ask 3 NewPage3"}));
    EXPECT_EQ(Store.Pages.size(), pages);
  }
  RecordingExit exit;
  // Page 1: Yes, the save fails, asked again, No. Page 3: Yes, saved.
  exit.Answers = {A::Yes, A::No, A::Yes};
  exit.Saves = {TSaveResult::Failed, TSaveResult::Saved};
  Store.SlideIn(clip);
  Windows.Log.clear();
  EXPECT_TRUE(Store.Exit(exit));
  EXPECT_EQ(exit.Log, (std::vector<std::string>{"ask 1 a.txt", "save 1", "ask 1 a.txt", "ask 3 NewPage3", "save 3",
                                                "page settings 2", "main settings"}));
  EXPECT_EQ(Windows.Log.front(), "out 4");
  EXPECT_FALSE(Store.MemoOut);
}

TEST_F(PageStoreTest, SaveAsRetitlesTheTabAndPushesLaterTabs) {
  Store.StartUp({}, {});
  Store.NewPage();
  int before = Store.Row.Tabs[1].Left;
  Store.SavedAs(0, "C:\\memo\\a much longer name.txt");
  EXPECT_EQ(Store.Pages[0].TabCaption, "a much longer name.txt");
  EXPECT_TRUE(Store.Pages[0].HasFile);
  EXPECT_EQ(Store.Row.Tabs[1].Left - before, 6 * (22 - 8));
  EXPECT_EQ(Store.PagesToKeep().size(), 1u);
}

TEST_F(PageStoreTest, FixedTabSizeGivesEveryTabTheSameWidth) {
  Store.TabSizeCheck = true;
  Store.TabSize = 20;
  Store.StartUp({Entry("C:\\memo\\a.txt"), Entry("C:\\memo\\c.txt")}, {});
  EXPECT_EQ(Store.Row.Tabs[0].FullWidth, 40);
  EXPECT_EQ(Store.Row.Tabs[1].Left, 192);
}

TEST_F(PageStoreTest, OpenIntoAnUntouchedPageOrSwitchToTheOpenOne) {
  Store.StartUp({Entry("C:\\memo\\a.txt")}, {});
  Store.NewPage();
  Store.OpenIntoPage(1, "C:\\memo\\c.txt");
  EXPECT_EQ(Store.Pages[1].TabCaption, "c.txt");
  EXPECT_TRUE(Store.Pages[1].HasFile);
  Windows.Log.clear();
  Store.OpenInNewPage(1, "C:\\memo\\a.txt");
  EXPECT_EQ(Store.Pages.size(), 2u);
  EXPECT_EQ(Windows.Log, (std::vector<std::string>{"out 2", "in 1"}));
}

}  // namespace
}  // namespace vel
