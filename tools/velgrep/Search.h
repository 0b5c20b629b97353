#pragma once
// Searching one input: reading it in blocks of whole lines through one
// reused buffer, selecting lines with the engine's grep, and printing them
// the way the options ask (lines, matches, substitutions, counts, names).
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "regexp/Grep.h"
#include "tools/velgrep/Options.h"

namespace vel::velgrep {

// Standard output through one buffer; CP932 text is converted to UTF-8 on
// the way when asked. File names and the program's own marks go out as bytes.
class TOutput {
 public:
  TOutput(bool utf8, bool flushEachFile);
  ~TOutput();
  TOutput(const TOutput&) = delete;
  TOutput& operator=(const TOutput&) = delete;
  void Bytes(std::string_view s);
  void Text(const char* p, size_t n);
  void Text(std::string_view s) { Text(s.data(), s.size()); }
  void Newline();
  void FileDone();
  void Flush();
  bool Failed() const { return WriteFailed; }
  bool Utf8() const { return ToUtf8; }

 private:
  std::string Buf;
  bool ToUtf8, FlushEachFile, WriteFailed = false;
};

class TSearcher {
 public:
  // `inner` compiles the bare pattern when `grep` holds it in the whole-word
  // frame and the extents of matches are printed; otherwise null.
  TSearcher(const TConfig& cfg, TGrep& grep, TGrep* inner, TOutput& out, bool color);

  // Searches a file ("-" is standard input). False, with the system's
  // message, when it cannot be opened or read.
  bool Search(const std::string& name, bool showName, std::string& error);

  bool Selected = false;  // a line was selected in some input
  bool Quit = false;      // -q has its answer: nothing more to read
  // Lines read at a time; the buffer grows only for a longer line.
  static constexpr size_t kBlockSize = 96 * 1024;

 private:
  enum class TMode { Quiet, List, Count, Substitute, Only, Lines };
  struct TFile {
    std::string Name;
    bool ShowName = false;
    uint64_t LineNo = 1, Count = 0;
    bool Selected = false, Binary = false, BinaryMatched = false, Stop = false;
  };

  bool IsOwnOutput(int fd) const;
  bool ReadAll(int fd, std::string& error);
  void Block(const char* data, size_t size);
  void MatchedLines(const char* data, size_t size);
  void AllLines(const char* data, size_t size);
  bool OnLine(uint64_t lineNo, std::string_view line, bool matched);
  bool OnSelected(uint64_t lineNo, std::string_view line);
  void Finish();

  void Prefix(uint64_t lineNo);
  void Name();
  void Separator();
  void PutColored(const char* color, const char* p, size_t n);
  void PrintLine(std::string_view line);
  void PrintMatches(uint64_t lineNo, std::string_view line);
  void PrintSubstituted(std::string_view line);
  // Calls f(start, end) for each match in the line, empty ones included, in
  // the order and with the steps of the engine's global substitution.
  template <class Fn>
  void EachMatch(std::string_view line, Fn&& f);
  std::pair<size_t, size_t> InnerExtent(std::string_view line, size_t s, size_t e) const;

  const TConfig& Cfg;
  TGrep& Grep;
  TGrep* Inner;
  TOutput& Out;
  const bool Color;
  TMode Mode;
  bool WalkAll;
  TFile F;
  std::vector<char> Buf;
  std::string Scratch;
  // Standard output when it is a regular file (device, inode), which must
  // not be searched while lines are written to it.
  bool OutputIsFile = false;
  uint64_t OutputDev = 0, OutputIno = 0;
};

}  // namespace vel::velgrep
