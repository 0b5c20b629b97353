// velgrep against GNU grep, command line by command line, on a folder of
// Shift-JIS memos with nested folders, a binary file, an unreadable file and
// a symbolic link. Both run in a Shift-JIS locale on the same files; only
// cases where grep is right for CP932 text are compared (no extension
// characters, no CR LF in printed lines, ASCII letters for -i, and -w only
// where a blank or a double-byte character stands beside the word, on which
// the two whole-word rules agree).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "tests/velgrep/VelGrepTestUtil.h"

namespace vel {
namespace {

using namespace vel::test;

std::string SortedLines(const std::string& s) {
  std::vector<std::string> lines;
  std::string cur;
  for (char c : s) {
    if (c == '\n') {
      lines.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) lines.push_back(cur + "<no newline>");
  std::sort(lines.begin(), lines.end());
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

// grep's messages with velgrep's name in front.
std::string AsVelgrepMessages(const std::string& err) {
  std::string out;
  size_t p = 0;
  while (p < err.size()) {
    size_t e = err.find('\n', p);
    std::string line = err.substr(p, e == std::string::npos ? std::string::npos : e - p);
    if (line.rfind("grep: ", 0) == 0) line = "velgrep: " + line.substr(6);
    out += line + "\n";
    if (e == std::string::npos) break;
    p = e + 1;
  }
  return out;
}

class MemoTree {
 public:
  MemoTree() {
    S.File("tree/memos/a.txt", "会議の予定\n打合せ foo\nmeeting at 10\n");
    S.File("tree/memos/b.txt", "予定なし\nfoo bar\nFoo\nfoobar\n\tfoo\n");
    S.File("tree/memos/sub/c.txt", "会議室\nmeeting\n");
    S.File("tree/memos/sub/deep/d.log", "会議\nfoo\n");
    S.File("tree/memos/bin.dat", std::string("会議\n\0\x01\x02\nfoo\n", 13));
    S.File("tree/memos/empty.txt", "");
    fs::path locked = S.File("tree/memos/locked.txt", "会議 locked\n");
    fs::permissions(locked, fs::perms::none);
    fs::create_symlink("sub/c.txt", S.Dir / "tree/memos/link.txt");
    fs::create_symlink("sub", S.Dir / "tree/memos/linkdir");
    // The files are read by an unprivileged user, for whom locked.txt is
    // unreadable; root reads everything.
    for (const auto& e : fs::recursive_directory_iterator(S.Dir))
      if (e.is_directory() && !e.is_symlink())
        fs::permissions(e.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(S.Dir, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    AsUser = ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  }
  Result Run(const std::string& env, const std::string& program, const std::string& args) const {
    return S.Run("cd '" + (S.Dir / "tree").string() + "' && env -u GREP_COLORS -u GREP_COLOR " + env + " " + AsUser + program +
                 " " + args);
  }
  Scratch S{"velgrep_tree"};
  std::string AsUser;
};

TEST(VelgrepAgainstGnuGrep, CommandLinesOnAFolderOfMemos) {
  const std::string locpath = MakeSjisLocale();
  ASSERT_FALSE(locpath.empty()) << "could not build the ja_JP.SJIS locale with localedef";
  MemoTree tree;
  // Messages in English, characters in Shift-JIS.
  const std::string env = "-u LC_ALL LANG=C LOCPATH='" + locpath + "' LC_CTYPE=ja_JP.SJIS";
  const char* const lines[] = {
      // Folders: nested, a binary file, an unreadable file, links.
      "-r 会議 memos",
      "-rn 会議 memos",
      "-rl 会議 memos",
      "-rL 会議 memos",
      "-rc 会議 memos",
      "-rh 会議 memos",
      "-rH 会議 memos/sub/c.txt",
      "-r 会議 memos/sub/c.txt",
      "-r 会議",
      "-r 会議 memos/",
      "-R 会議 memos",
      "-ra 会議 memos",
      "-rI foo memos",
      "-rI -L foo memos",
      "-rv -c 会議 memos/sub memos/a.txt",
      "-rw 会議 memos",
      "-rq zzz memos",
      // --include, --exclude, --exclude-dir, in folders and on the command line.
      "-r --include='*.log' 会議 memos",
      "-r --exclude='*.txt' 会議 memos",
      "-r --exclude-dir=deep 会議 memos",
      "-r --exclude-dir=memos 会議 memos",
      "-r --include='*.txt' --exclude='a*' 会議 memos",
      "-r --exclude='a*' --include='*.txt' 会議 memos",
      "-r --exclude='[bc].*' 会議 memos",
      "--exclude=b.txt foo memos/b.txt memos/a.txt",
      "--include='*.log' foo memos/b.txt",
      // Several files.
      "-l foo memos/a.txt memos/b.txt memos/sub/c.txt",
      "-L foo memos/a.txt memos/b.txt memos/sub/c.txt",
      "-L zzz memos/a.txt",
      "-c foo memos/a.txt memos/b.txt memos/empty.txt",
      "-v foo memos/b.txt",
      "-vc foo memos/a.txt memos/b.txt",
      "-vn '予定' memos/a.txt memos/b.txt",
      "-h foo memos/a.txt memos/b.txt",
      "-H 会議 memos/a.txt",
      "-e foo -e 会議 memos/a.txt memos/b.txt",
      "-o '[a-z]+' memos/a.txt",
      "-on 'o+' memos/b.txt",
      // Whole words and lines, ASCII case folding.
      "-w foo memos/b.txt memos/a.txt",
      "-wo foo memos/b.txt",
      "-wc 'foo|bar' memos/b.txt",
      "-wn 'f[a-z]*' memos/b.txt",
      "-x foo memos/sub/deep/d.log memos/b.txt",
      "-xv foo memos/b.txt",
      "-i FOO memos/b.txt",
      "-ic fOo memos/b.txt memos/a.txt",
      "-io 'F[O]+' memos/b.txt",
      "-iw FOO memos/b.txt",
      // Binary files.
      "会議 memos/bin.dat",
      "-c 会議 memos/bin.dat",
      "-n foo memos/bin.dat",
      "-a foo memos/bin.dat",
      "-l foo memos/bin.dat memos/a.txt",
      "-o foo memos/bin.dat",
      // Colours.
      "--color=always -n foo memos/b.txt memos/a.txt",
      "--color=always -c foo memos/b.txt memos/a.txt",
      "--color=always -l foo memos/b.txt memos/a.txt",
      "--color=always -on 'o+' memos/b.txt",
      "--color=always -w foo memos/b.txt",
      "--color=always -v foo memos/b.txt",
      "--color=always foo memos/bin.dat",
      // Standard input.
      "foo < memos/b.txt",
      "-H -n foo - < memos/b.txt",
      "-c foo - memos/a.txt < memos/b.txt",
      // Exit status.
      "-n zzz memos/a.txt",
      "foo memos/none.txt",
      "foo memos/none.txt memos/b.txt",
      "-q foo memos/b.txt memos/none.txt",
      "-q foo memos/none.txt memos/b.txt",
      "-q zzz memos/none.txt memos/b.txt",
      "foo memos",
      "foo memos/locked.txt memos/b.txt",
      "-c foo memos/locked.txt",
      // A file that reads in pieces shorter than asked long before its end.
      "-c . /proc/kallsyms",
  };
  int answered = 0;  // lines on which grep printed something: the tree was reachable
  for (const char* args : lines) {
    Result gnu = tree.Run(env, "grep -E", args);
    Result ours = tree.Run(env, VelgrepPath(), args);
    answered += !gnu.Out.empty();
    EXPECT_EQ(SortedLines(ours.Out), SortedLines(gnu.Out)) << args;
    EXPECT_EQ(SortedLines(ours.Err), SortedLines(AsVelgrepMessages(gnu.Err))) << args;
    EXPECT_EQ(ours.Status, gnu.Status) << args;
  }
  EXPECT_GT(answered, 50);
}

}  // namespace
}  // namespace vel
