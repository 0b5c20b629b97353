#include "shell/RecoveryJournal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "tests/shell/ShellFakes.h"

namespace vel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct TRows final : IEditorRows {
  std::vector<std::pair<std::string, TEditorRowAttribute>> R;
  int RowCount() const override { return static_cast<int>(R.size()); }
  const std::string& RowText(int r) const override { return R[static_cast<size_t>(r)].first; }
  TEditorRowAttribute RowAttribute(int r) const override { return R[static_cast<size_t>(r)].second; }
};

TJournalPage Sample() {
  TJournalPage p;
  p.HasFile = true;
  p.FilePath = "C:\\メモ\\表.txt";
  p.View.FontSize = 12;
  p.View.MemoFormWordWrap = true;
  p.View.MemoFormNumMode = 1;
  // Bytes a journal must keep: NUL, Ctrl-Z, a lone lead byte, and a line
  // that looks like the journal's own last line.
  p.Text = "一行目\r\nEND 5 0000000000000000\r\n\x00\x1A\x82"s;
  return p;
}

TEST(RecoveryJournal, ReadsBackWholeAndRefusesEveryCutAndFlippedByte) {
  const TJournalPage page = Sample();
  const std::string bytes = JournalBytes(page);
  EXPECT_EQ(ParseJournal(bytes), page);
  for (size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(ParseJournal(bytes.substr(0, n))) << "cut at " << n;
  std::mt19937 rng(7);
  for (int k = 0; k < 300; ++k) {
    std::string bad = bytes;
    size_t at = rng() % bad.size();
    bad[at] = static_cast<char>(bad[at] ^ (1 + rng() % 255));
    auto p = ParseJournal(bad);
    // A flip in a view value may still read as a (different) journal; the
    // text itself can never come back changed.
    if (p) EXPECT_EQ(p->Text, page.Text) << "flip at " << at;
  }
  TJournalPage untitled;
  untitled.FilePath = "NewPage2";
  untitled.View.MemoFormNumMode = 0;  // as PageSetting.ini keeps it
  EXPECT_EQ(ParseJournal(JournalBytes(untitled)), untitled);
}

TEST(RecoveryJournal, WriterInSmallStepsGivesTheSameFileAndReplacesTheOldOne) {
  fs::path dir = fs::temp_directory_path() / ("vel-journal-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string target = (dir / "1-1.vjn").string();
  std::ofstream(target) << "an older journal";
  TRows rows;
  rows.R = {{"一行目", raCrlf}, {"wrapped ", raWrapped}, {"row", raCrlf}, {"", raCrlf}, {"last", raEof}};
  TJournalPage page = Sample();
  page.Text = "一行目\r\nwrapped row\r\n\r\nlast";
  TJournalWriter w(target, page);
  int steps = 1;
  while (!w.Step(rows, 3)) {
    ASSERT_FALSE(w.Failed());
    ++steps;
  }
  EXPECT_GT(steps, 2) << "a step writes about its budget";
  std::ifstream f(target, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), JournalBytes(page));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "a scratch file was left";
  {
    // Abandoned half-way: the journal in place stays the complete one.
    TJournalWriter half(target, page);
    half.Step(rows, 1);
  }
  std::ifstream g(target, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(g), {}), JournalBytes(page));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  fs::remove_all(dir);
}

TEST(RecoveryJournal, PagesComeBackModifiedAfterTheListAndBeforeTheCommandLine) {
  TFakeWindows windows;
  TFakePaths paths;
  TFakeSystem system;
  paths.Files = {"C:\\memo\\a.txt", "C:\\memo\\c.txt"};
  TPageStore store(windows, paths, system);
  TJournalPage open = Sample(), gone = Sample(), untitled;
  open.FilePath = "C:\\memo\\a.txt";
  gone.FilePath = "C:\\memo\\deleted since.txt";
  untitled.FilePath = "NewPage1";
  untitled.Text = "never saved";
  TPageSettingsEntry a{"C:\\memo\\a.txt", {}};
  store.StartUp({a}, {"C:\\memo\\c.txt"}, {open, gone, untitled});
  std::vector<std::string> files;
  for (const TPage& p : store.Pages) files.push_back(p.FilePath);
  EXPECT_EQ(files, (std::vector<std::string>{"C:\\memo\\a.txt", "C:\\memo\\deleted since.txt", "NewPage3",
                                             "C:\\memo\\c.txt"}));
  EXPECT_EQ(store.RecoveredPageIds, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(windows.Texts[1], open.Text);
  EXPECT_EQ(windows.Texts[3], "never saved");
  EXPECT_TRUE(windows.Modified(2));
  EXPECT_FALSE(windows.Modified(4));
  EXPECT_TRUE(store.Pages[1].HasFile);
  EXPECT_FALSE(store.Pages[2].HasFile);
}

}  // namespace
}  // namespace vel
