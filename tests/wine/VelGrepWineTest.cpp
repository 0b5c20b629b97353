// velgrep.exe as a Windows console program: Shift-JIS bytes in and out
// unchanged, exit codes, and pattern errors in the console's code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/wine/WineTestUtil.h"

namespace vel {
namespace {

struct TRun {
  long Exit = -1;
  std::string Out, Err;
};

// Reads a pipe to its end: all of the child's output, once it has closed its end.
std::string Drain(HANDLE pipe) {
  std::string s;
  char buf[4096];
  DWORD n = 0;
  while (::ReadFile(pipe, buf, sizeof buf, &n, nullptr) && n > 0) s.append(buf, n);
  ::CloseHandle(pipe);
  return s;
}

TRun RunVelGrep(const std::vector<std::string>& args, const std::string& dir) {
  TRun r;
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE outRead, outWrite, errRead, errWrite;
  ::CreatePipe(&outRead, &outWrite, &sa, 1 << 16);
  ::CreatePipe(&errRead, &errWrite, &sa, 1 << 16);
  ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  std::string exe = wine::TestExeDir() + "tools\\velgrep\\velgrep.exe";
  std::string cmd = "\"" + exe + "\"";
  for (const auto& a : args) cmd += " \"" + a + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = outWrite;
  si.hStdError = errWrite;
  PROCESS_INFORMATION pi{};
  BOOL started = ::CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                  dir.c_str(), &si, &pi);
  ::CloseHandle(outWrite);
  ::CloseHandle(errWrite);
  r.Out = Drain(outRead);
  r.Err = Drain(errRead);
  if (started) {
    ::WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    r.Exit = static_cast<long>(code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  }
  return r;
}

TEST(VelGrepExe, FindsShiftJisLinesAndPassesTheirBytesThrough) {
  std::string dir = wine::MakeScratchDir("velgrep");
  // "表" and "ソ" end in 0x5C, a trail byte that looks like a backslash.
  wine::WriteFileBytes(dir + "memo.txt", "会議の予定\r\n表示ソフト\r\nabc\nｶﾅ表示\rend");
  TRun r = RunVelGrep({"-n", "表示", "memo.txt"}, dir);
  EXPECT_EQ(r.Exit, 0);
  EXPECT_EQ(r.Out, "2:表示ソフト\r\n4:ｶﾅ表示\r\n");
  TRun count = RunVelGrep({"-c", "[ｱ-ﾝ]+", "memo.txt"}, dir);
  EXPECT_EQ(count.Out, "1\r\n");
  TRun none = RunVelGrep({"xyz", "memo.txt"}, dir);
  EXPECT_EQ(none.Exit, 1);
  EXPECT_EQ(none.Out, "");
}

TEST(VelGrepExe, SearchesFoldersWithGnuOptions) {
  std::string dir = wine::MakeScratchDir("velgrep-r");
  ::CreateDirectoryA((dir + "memos").c_str(), nullptr);
  ::CreateDirectoryA((dir + "memos\\sub").c_str(), nullptr);
  wine::WriteFileBytes(dir + "memos\\a.txt", "Meeting\r\n会議の予定\r\n");
  wine::WriteFileBytes(dir + "memos\\sub\\b.txt", "表示\r\nmeeting room\r\n");
  wine::WriteFileBytes(dir + "memos\\sub\\c.log", "meeting\r\n");
  TRun r = RunVelGrep({"-r", "-n", "会議", "memos"}, dir);
  EXPECT_EQ(r.Exit, 0);
  EXPECT_EQ(r.Out, "memos/a.txt:2:会議の予定\r\n");
  TRun folded = RunVelGrep({"-ri", "--include=*.txt", "-c", "MEETING", "memos"}, dir);
  EXPECT_EQ(folded.Out, "memos/a.txt:1\r\nmemos/sub/b.txt:1\r\n");
  TRun names = RunVelGrep({"-rlw", "meeting", "memos"}, dir);
  EXPECT_EQ(names.Out, "memos/sub/b.txt\r\nmemos/sub/c.log\r\n");
  TRun missing = RunVelGrep({"-r", "x", "memos", "none"}, dir);
  EXPECT_EQ(missing.Exit, 2);
  EXPECT_NE(missing.Err.find("velgrep: none: "), std::string::npos) << missing.Err;
  TRun folder = RunVelGrep({"x", "memos"}, dir);
  EXPECT_EQ(folder.Exit, 2);
}

TEST(VelGrepExe, PatternErrorGoesToStandardErrorInCp932WithExit2) {
  std::string dir = wine::MakeScratchDir("velgrep");
  wine::WriteFileBytes(dir + "memo.txt", "abc\r\n");
  TRun r = RunVelGrep({"(", "memo.txt"}, dir);
  EXPECT_EQ(r.Exit, 2);
  EXPECT_EQ(r.Out, "");
  EXPECT_NE(r.Err.find("右(閉じ)括弧が必要です"), std::string::npos) << r.Err;
}

// Long patterns under the exe's own stack: each either matches correctly or
// is refused with exit 2, and the process never dies of a stack overflow.
TEST(VelGrepExe, LongPatternsNeverOverflowTheStack) {
  std::string dir = wine::MakeScratchDir("velgrep-long");
  std::string literal;
  for (int i = 0; i < 9500; ++i) literal += "ab";
  std::string nested = std::string(5000, '(') + "z" + std::string(5000, ')');
  std::string plus = std::string(3000, '(') + "q";
  for (int i = 0; i < 3000; ++i) plus += ")+";
  std::string alternatives = "w0";
  for (int i = 1; i < 2000; ++i) alternatives += "|w" + std::to_string(i);
  std::string klass = "[";
  for (int i = 0; i < 4000; ++i) klass += "あ";
  klass += "]";
  wine::WriteFileBytes(dir + "memo.txt", literal + "\r\nz\r\nqq\r\nw1999\r\nあ\r\nnone\r\n");
  struct {
    const std::string& pattern;
    const char* count;
  } cases[] = {{literal, "1\r\n"}, {nested, "1\r\n"}, {plus, "1\r\n"}, {alternatives, "1\r\n"}, {klass, "1\r\n"}};
  for (const auto& c : cases) {
    TRun r = RunVelGrep({"-c", c.pattern, "memo.txt"}, dir);
    EXPECT_EQ(r.Exit, 0) << c.pattern.substr(0, 40) << " err: " << r.Err.substr(0, 200);
    EXPECT_EQ(r.Out, c.count) << c.pattern.substr(0, 40);
  }
}

}  // namespace
}  // namespace vel
