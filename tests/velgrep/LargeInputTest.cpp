// Large inputs: a 2 GB file searched in bounded memory, one 100 MB line, and
// a CR LF cut by the end of a read block. The big files are sparse, so that
// they cost neither disk space nor time to write.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "tests/velgrep/VelGrepTestUtil.h"
#include "tools/velgrep/Search.h"

extern char** environ;

namespace vel {
namespace {

using namespace vel::test;

// A file of `size` bytes: NULs, an LF every `lineLength` bytes, and `tail`
// as its last bytes.
void MakeSparseFile(const fs::path& p, uint64_t size, uint64_t lineLength, const std::string& tail) {
  int fd = ::open(p.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
  for (uint64_t at = lineLength; at + tail.size() < size; at += lineLength)
    ASSERT_EQ(::pwrite(fd, "\n", 1, static_cast<off_t>(at - 1)), 1);
  ASSERT_EQ(::pwrite(fd, tail.data(), tail.size(), static_cast<off_t>(size - tail.size())),
            static_cast<ssize_t>(tail.size()));
  ::close(fd);
}

struct Measured {
  int Status = -1;
  std::string Out;
  long MaxRssKb = 0;
};

// Runs velgrep with `args` and reports its peak resident memory.
Measured RunMeasured(const Scratch& sc, const std::vector<std::string>& args) {
  Measured m;
  const std::string outPath = (sc.Dir / ".measured").string();
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 1, outPath.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  std::string exe = VelgrepPath();
  std::vector<char*> argv{exe.data()};
  std::vector<std::string> copy = args;
  for (std::string& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawn(&pid, exe.c_str(), &fa, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    rusage ru{};
    if (::wait4(pid, &status, 0, &ru) == pid && WIFEXITED(status)) m.Status = WEXITSTATUS(status);
    m.MaxRssKb = ru.ru_maxrss;
  }
  posix_spawn_file_actions_destroy(&fa);
  m.Out = Slurp(outPath);
  return m;
}

TEST(VelgrepLargeInput, TwoGigabytesInBoundedMemory) {
  Scratch sc;
  const fs::path big = sc.Dir / "big.txt";
  MakeSparseFile(big, uint64_t{2} << 30, 1 << 20, "needle\n");
  Measured m = RunMeasured(sc, {"-a", "-c", "needle", big.string()});
  EXPECT_EQ(m.Status, 0);
  EXPECT_EQ(m.Out, "1\n");
  // The memory a few read blocks and the longest line take, far below the
  // file's size (the sanitizers' own memory included).
  EXPECT_LT(m.MaxRssKb, 300 * 1024) << "peak resident memory in KB";
}

TEST(VelgrepLargeInput, OneHundredMegabyteLine) {
  Scratch sc;
  const fs::path line = sc.Dir / "line.txt";
  MakeSparseFile(line, 100u << 20, uint64_t{1} << 40, "needle\nnext\n");
  Measured m = RunMeasured(sc, {"-a", "-n", "-o", "ne+dle|^next", line.string()});
  EXPECT_EQ(m.Status, 0);
  EXPECT_EQ(m.Out, "1:needle\n2:next\n");
  Measured binary = RunMeasured(sc, {"-c", "needle", line.string()});
  EXPECT_EQ(binary.Out, "1\n");
}

// Every word of a long line is decided only at the line's end (the longer
// alternative never completes): one walk over the line, not one per word.
TEST(VelgrepLargeInput, WholeWordsOfALongLine) {
  Scratch sc;
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "a ";
  text += "\nb a\n";
  fs::path p = sc.File("words.txt", text);
  Result only = sc.Run(VelgrepPath() + " -w -o '[ab]|[a ]*c' " + p.string() + " | sort | uniq -c");
  EXPECT_EQ(only.Out, " 200001 a\n      1 b\n");
  Result count = sc.Run(VelgrepPath() + " -w -c 'a|[a ]*c' " + p.string());
  EXPECT_EQ(count.Out, "2\n");
}

TEST(VelgrepLargeInput, LineBreaksCutByTheEndOfAReadBlock) {
  Scratch sc;
  const size_t block = velgrep::TSearcher::kBlockSize;
  // CR as the last byte of the first block and its LF as the first of the
  // next; then a lone CR there, and a CR LF at the end of a grown buffer.
  std::string text = std::string(block - 1, 'a') + "\r\nb\n";
  text += std::string(block - text.size() % block - 1, 'c') + "\rd\n";
  text += std::string(3 * block, 'e') + "\r\nf";
  fs::path p = sc.File("cut.txt", text);
  Result r = sc.Run(VelgrepPath() + " -n '^[bdf]' " + p.string());
  EXPECT_EQ(r.Out, "2:b\n4:d\n6:f\n");
  Result count = sc.Run(VelgrepPath() + " -c '' " + p.string());
  EXPECT_EQ(count.Out, "6\n");
  Result piped = sc.Run("cat " + p.string() + " | " + VelgrepPath() + " -vc x");
  EXPECT_EQ(piped.Out, "6\n");
}

}  // namespace
}  // namespace vel
