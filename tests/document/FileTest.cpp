#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "tests/document/TestClient.h"
#include "document/FileErrors.h"

namespace vel {
namespace {

using test::RowsOf;
using test::TTestClient;
using Rows = std::vector<std::string>;
namespace fs = std::filesystem;

struct TFileFixture : ::testing::Test {
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("vel-lines-" + std::to_string(::getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string p = (dir / name).string();
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  static std::string Read(const std::string& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }
};

// What a load and a save make of a file: line breaks become CR LF, a run of
// Ctrl-Z at the very end is dropped, a last line without a break keeps none.
std::string Normalized(const std::string& bytes) {
  std::string text = bytes.substr(0, bytes.find_last_not_of('\x1a') + 1);
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

TEST_F(TFileFixture, LoadAndSaveRoundTrips) {
  const std::string x8191(8191, 'x');
  struct {
    const char* name;
    std::string bytes;
    Rows rows;
  } cases[] = {
      {"crlf no final break", "a\r\nb", {"a|c", "b|e"}},
      {"crlf final break", "a\r\nb\r\n", {"a|c", "b|c"}},
      {"lone lf and cr", "a\nb\rc", {"a|c", "b|c", "c|e"}},
      {"lf cr is two breaks", "a\n\rb", {"a|c", "|c", "b|e"}},
      {"ctrl-z before text is kept", "a\r\n\x1a" "b", {"a|c", "\x1a" "b|e"}},
      {"ctrl-z before a break is kept", "a\x1a\r\nb", {"a\x1a|c", "b|e"}},
      {"ctrl-z run at the end is dropped", "a\r\nb\x1a\x1a\x1a", {"a|c", "b|e"}},
      {"ctrl-z after the last break", "a\r\n\x1a", {"a|c"}},
      {"only ctrl-z", "\x1a\x1a", {}},
      {"ctrl-z and a final break", "a\x1a\r\n", {"a\x1a|c"}},
      {"nul bytes are kept", std::string("a\0b\r\n\0\r\n", 8), {std::string("a\0b|c", 5), std::string("\0|c", 3)}},
      {"empty file", "", {}},
      {"only a break", "\r\n", {"|c"}},
      {"cr lf across blocks", x8191 + "\r\ny", {x8191 + "|c", "y|e"}},
      {"cr ends a block", x8191 + "\rz", {x8191 + "|c", "z|e"}},
      {"lf starts a block", std::string(8192, 'x') + "\nz", {std::string(8192, 'x') + "|c", "z|e"}},
      {"ctrl-z starts a block", std::string(8192, 'x') + "\x1a" "z", {std::string(8192, 'x') + "\x1a" "z|e"}},
      {"ctrl-z run across blocks", x8191 + "\x1a\x1a\x1a", {x8191 + "|e"}},
      {"ctrl-z run across blocks, then text", x8191 + "\x1a\x1a" "z", {x8191 + "\x1a\x1a" "z|e"}},
      {"lead byte before a break", "\x82\r\n\x82", {"\x82|c", "\x82|e"}},
  };
  for (auto& c : cases) {
    TTestClient client;
    std::string path = Write("in.txt", c.bytes);
    client.Lines.LoadFromFile(path);
    EXPECT_EQ(RowsOf(*client.List), c.rows) << c.name;
    std::string out = (dir / "out.txt").string();
    client.Lines.SaveToFile(out);
    EXPECT_EQ(Read(out), Normalized(c.bytes)) << c.name;
    std::ostringstream stream;
    client.Lines.SaveToStream(stream);
    EXPECT_EQ(stream.str(), Normalized(c.bytes)) << c.name;
    EXPECT_FALSE(client.List->UndoObj().CanUndo());
  }
}

TEST_F(TFileFixture, GeneratedFilesSurviveLoadAndSave) {
  const uint32_t seed = 20261208;
  std::mt19937 rng(seed);
  const std::string pieces[] = {"a", "Z", "漢", "ｶ", "\r", "\n", "\r\n", std::string(1, '\0'), "\t", "\x82", "\x1a"};
  for (int round = 0; round < 60; ++round) {
    std::string bytes;
    size_t size = rng() % 40000;
    while (bytes.size() < size) {
      size_t k = rng() % 100;
      const std::string& p = k < 50 ? pieces[0] : k < 70 ? pieces[2] : k < 75 ? pieces[3] : k < 82 ? pieces[6]
                           : k < 85 ? pieces[4] : k < 88 ? pieces[5] : k < 90 ? pieces[7] : k < 93 ? pieces[8]
                           : k < 95 ? pieces[9] : k < 96 && round % 4 == 0 ? pieces[10] : pieces[1];
      if (rng() % 500 == 0) bytes += std::string(9000, 'L');
      bytes += p;
    }
    std::string path = Write("gen.txt", bytes);
    TTestClient client;
    client.Lines.LoadFromFile(path);
    EXPECT_EQ(client.Lines.GetText(), Normalized(bytes)) << "seed " << seed << " round " << round;
    client.Lines.SaveToFile(path);
    EXPECT_EQ(Read(path), Normalized(bytes)) << "seed " << seed << " round " << round;
  }
}

TEST_F(TFileFixture, LoadingWrapsAndRebuildsRowStates) {
  TTestClient client;
  client.List->WrapOption().SetWrapByte(20);
  client.List->SetWordWrap(true);
  client.List->SetParserClass(test::BraceParserClass());
  client.Lines.LoadFromFile(Write("w.txt", "{" + std::string(44, 'a') + "\r\nb"));
  EXPECT_EQ(RowsOf(*client.List),
            (Rows{"{" + std::string(19, 'a') + "|w", std::string(20, 'a') + "|w", "aaaaa|c", "b|e"}));
  EXPECT_EQ(client.List->Rows().GetBrackets(1), 0);
  EXPECT_EQ(client.List->Rows().GetTokens(1), 7);
  EXPECT_EQ(client.List->Rows().GetBrackets(3), 0);
  EXPECT_GT(client.ViewInits, 0);
  client.Lines.SaveToFile((dir / "w2.txt").string());
  EXPECT_EQ(Read((dir / "w2.txt").string()), "{" + std::string(44, 'a') + "\r\nb");
}

TEST_F(TFileFixture, MissingFileRaisesOpenErrorAfterClearing) {
  TTestClient client;
  client.Lines.SetText("old\r\n");
  std::string path = (dir / "missing.txt").string();
  try {
    client.Lines.LoadFromFile(path);
    FAIL() << "no error";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + path + "\"");
  }
  EXPECT_EQ(client.List->Count(), 0);
  EXPECT_EQ(client.LinesHold, 0);
}

TEST_F(TFileFixture, UncreatableFileRaisesCreateErrorAndKeepsTheText) {
  TTestClient client;
  client.Lines.SetText("keep\r\n");
  std::string path = (dir / "no" / "such" / "dir.txt").string();
  EXPECT_THROW(client.Lines.SaveToFile(path), EFCreateError);
  std::ostringstream failing;
  failing.setstate(std::ios::badbit);
  EXPECT_THROW(client.Lines.SaveToStream(failing), EWriteError);
  EXPECT_EQ(client.Lines.GetText(), "keep\r\n");
}

TEST_F(TFileFixture, FailedWriteLeavesTheOldFileWhole) {
  std::string path = Write("memo.txt", "the old contents\r\n");
  TTestClient client;
  client.Lines.SetText(std::string(200000, 'n'));
  // A file-size limit makes the write fail half-way, as a full disk would.
  struct rlimit old;
  getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 65536;
  setrlimit(RLIMIT_FSIZE, &small);
  bool threw = false;
  try {
    client.Lines.SaveToFile(path);
  } catch (const EWriteError&) {
    threw = true;
  }
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(threw);
  EXPECT_EQ(Read(path), "the old contents\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "a scratch file was left";
  client.Lines.SaveToFile(path);
  EXPECT_EQ(Read(path).size(), 200002u);
}

// A save writes through a link to its target and keeps the link, refuses a
// read-only file with the text kept, keeps the file's permissions, and
// clears what a killed save left beside the file.
TEST_F(TFileFixture, SaveFollowsLinksRefusesReadOnlyAndLeavesNoScratch) {
  std::string target = Write("target.txt", "old");
  std::string link = (dir / "link.txt").string();
  fs::create_symlink(target, link);
  std::string leftover = Write("target.txt.~vel123.tmp", "from a killed save");
  std::string mine = Write("target.txt.tmp", "the user's own file");
  TTestClient client;
  client.Lines.SetText("new");
  client.Lines.SaveToFile(link);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(target), "new\r\n");
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_EQ(Read(mine), "the user's own file");

  fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
  client.Lines.SetText("newer");
  EXPECT_THROW(client.Lines.SaveToFile(link), EFReadOnlyError);
  EXPECT_EQ(Read(target), "new\r\n");
  EXPECT_EQ(client.Lines.GetText(), "newer\r\n");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  client.Lines.SaveToFile(target);
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);
}

}  // namespace
}  // namespace vel
