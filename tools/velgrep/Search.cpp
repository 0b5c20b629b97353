#include "tools/velgrep/Search.h"

#include <cerrno>
#include <cstring>

#include "regexp/AWKStr.h"
#include "text/Sjis.h"
#include "tools/velgrep/Cp932.h"
#include "tools/velgrep/PatternText.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vel::velgrep {

namespace {

#ifdef _WIN32
const char* const kNewLine = "\r\n";
int OpenRead(const char* name) { return ::_open(name, _O_RDONLY | _O_BINARY); }
long ReadSome(int fd, char* p, size_t n) {
  return ::_read(fd, p, static_cast<unsigned>(n < (1u << 30) ? n : (1u << 30)));
}
void CloseFile(int fd) { ::_close(fd); }
#else
const char* const kNewLine = "\n";
int OpenRead(const char* name) { return ::open(name, O_RDONLY | O_NOCTTY | O_CLOEXEC); }
long ReadSome(int fd, char* p, size_t n) { return ::read(fd, p, n); }
void CloseFile(int fd) { ::close(fd); }
#endif

// GNU grep's default colours: the match bold red, file names magenta, line
// numbers green, separators cyan.
const char* const kMatchColor = "\33[01;31m\33[K";
const char* const kNameColor = "\33[35m\33[K";
const char* const kNumberColor = "\33[32m\33[K";
const char* const kSeparatorColor = "\33[36m\33[K";
const char* const kColorEnd = "\33[m\33[K";

// Where the data holds its last whole line: just past the last line break
// at or after `from`, or 0. A CR at the very end may be the first half of
// a CR LF, so it ends no line until the next byte is known.
const char* FindLast(const char* p, size_t n, char c) {
#ifdef __GLIBC__
  return static_cast<const char*>(memrchr(p, c, n));
#else
  for (size_t i = n; i > 0; --i)
    if (p[i - 1] == c) return p + i - 1;
  return nullptr;
#endif
}

size_t LastCut(const char* data, size_t from, size_t size) {
  size_t end = size;
  if (end > from && data[end - 1] == '\r') --end;
  const char* lf = FindLast(data + from, end - from, '\n');
  const size_t after = lf ? static_cast<size_t>(lf - data) + 1 : from;
  // A CR after the last LF ends a later line.
  const char* cr = FindLast(data + after, end - after, '\r');
  if (cr) return static_cast<size_t>(cr - data) + 1;
  return lf ? after : 0;
}

}  // namespace

TOutput::TOutput(bool utf8, bool flushEachFile) : ToUtf8(utf8), FlushEachFile(flushEachFile) {}

TOutput::~TOutput() { Flush(); }

void TOutput::Bytes(std::string_view s) {
  Buf.append(s);
  if (Buf.size() >= (1u << 16)) Flush();
}

void TOutput::Text(const char* p, size_t n) {
  if (ToUtf8)
    AppendUtf8(Buf, p, n);
  else
    Buf.append(p, n);
  if (Buf.size() >= (1u << 16)) Flush();
}

void TOutput::Newline() { Bytes(kNewLine); }

void TOutput::FileDone() {
  if (FlushEachFile) Flush();
}

void TOutput::Flush() {
  if (Buf.empty()) return;
  if (std::fwrite(Buf.data(), 1, Buf.size(), stdout) != Buf.size() || std::fflush(stdout) != 0) WriteFailed = true;
  Buf.clear();
}

TSearcher::TSearcher(const TConfig& cfg, TGrep& grep, TGrep* inner, TOutput& out, bool color)
    : Cfg(cfg), Grep(grep), Inner(inner), Out(out), Color(color) {
  if (cfg.Quiet) Mode = TMode::Quiet;
  else if (cfg.ListMatching || cfg.ListNonMatching) Mode = TMode::List;
  else if (cfg.Count) Mode = TMode::Count;
  else if (cfg.Substitute) Mode = TMode::Substitute;
  else if (cfg.Only) Mode = TMode::Only;
  else Mode = TMode::Lines;
  WalkAll = cfg.Invert || Mode == TMode::Substitute;
  Buf.reset(new char[kBlockSize]);
  BufSize = kBlockSize;
#ifndef _WIN32
  struct stat st;
  if (::fstat(1, &st) == 0 && S_ISREG(st.st_mode)) {
    OutputIsFile = true;
    OutputDev = st.st_dev;
    OutputIno = st.st_ino;
  }
#endif
}

// Lines written to the file being read would be read again, without end.
bool TSearcher::IsOwnOutput(int fd) const {
  if (!OutputIsFile || Mode == TMode::Quiet || Mode == TMode::List || Mode == TMode::Count) return false;
#ifndef _WIN32
  struct stat st;
  return ::fstat(fd, &st) == 0 && static_cast<uint64_t>(st.st_dev) == OutputDev &&
         static_cast<uint64_t>(st.st_ino) == OutputIno;
#else
  (void)fd;
  return false;
#endif
}

bool TSearcher::Search(const std::string& name, bool regular, bool showName, std::string& error) {
  const bool isStdin = name == "-";
  int fd = isStdin ? 0 : OpenRead(name.c_str());
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  if (IsOwnOutput(fd)) {
    if (!isStdin) CloseFile(fd);
    error = "input file is also the output";
    return false;
  }
  F = TFile();
  F.Name = isStdin ? "(standard input)" : name;
  F.ShowName = showName;
  bool ok = ReadAll(fd, regular, error);
  if (!isStdin) CloseFile(fd);
  if (ok) Finish();
  Out.FileDone();
  return ok;
}

// Twice the size for a line that does not fit; for a regular file up to
// eight times, or just what is left of the file, so that a long line is not
// copied through many buffers on its way in.
size_t TSearcher::GrownSize(int fd, bool regular) const {
  size_t size = BufSize * 2;
#ifndef _WIN32
  struct stat st;
  const off_t at = regular ? ::lseek(fd, 0, SEEK_CUR) : -1;
  if (at >= 0 && ::fstat(fd, &st) == 0 && st.st_size > at) {
    const size_t rest = static_cast<size_t>(st.st_size - at);
    const size_t fit = BufSize + (rest < BufSize * 7 ? rest : BufSize * 7) + 1;
    if (fit > size) size = fit;
  }
#else
  (void)fd;
  (void)regular;
#endif
  return size;
}

bool TSearcher::ReadAll(int fd, bool regular, std::string& error) {
  size_t have = 0, scanned = 0;
  for (;;) {
    if (have == BufSize) {
      const size_t size = GrownSize(fd, regular);
      std::unique_ptr<char[]> grown(new char[size]);
      std::memcpy(grown.get(), Buf.get(), have);
      Buf = std::move(grown);
      BufSize = size;
    }
    const size_t want = BufSize - have;
    long n = ReadSome(fd, Buf.get() + have, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = std::strerror(errno);
      return false;
    }
    have += static_cast<size_t>(n);
    // Only an empty read ends the file: some files (those of /proc) give
    // less than asked long before their end.
    if (n == 0) {
      if (have > 0) Block(Buf.get(), have);
      return true;
    }
    // Only the new bytes (and a CR left at the old end) can hold a new break.
    size_t cut = LastCut(Buf.get(), scanned > 0 ? scanned - 1 : 0, have);
    scanned = have;
    if (cut == 0) continue;
    Block(Buf.get(), cut);
    if (F.Stop) return true;
    std::memmove(Buf.get(), Buf.get() + cut, have - cut);
    have -= cut;
    scanned = have;
  }
}

void TSearcher::Block(const char* data, size_t size) {
  if (!Cfg.Text && !F.Binary && std::memchr(data, 0, size)) {
    F.Binary = true;
    if (Cfg.SkipBinary) {
      F.Stop = true;
      F.Count = 0;
      F.Selected = false;
      return;
    }
  }
  if (WalkAll)
    AllLines(data, size);
  else
    MatchedLines(data, size);
}

void TSearcher::MatchedLines(const char* data, size_t size) {
  const bool numbers = Cfg.Numbers && (Mode == TMode::Lines || Mode == TMode::Only);
  size_t breaks = Grep.GrepBuffer(data, size, F.LineNo, numbers,
                                  [this](size_t no, std::string_view line) { return OnSelected(no, line); });
  F.LineNo += breaks;
}

// Every line in turn: the engine reports the matching ones, and the lines
// between two of them are the ones that do not match.
void TSearcher::AllLines(const char* data, size_t size) {
  const char* cursor = data;
  const char* const end = data + size;
  bool go = true;
  auto gap = [&](const char* upto) {
    while (go && cursor < upto) {
      const char* e = sjis::FindBreak(cursor, upto);
      go = OnLine(F.LineNo++, std::string_view(cursor, static_cast<size_t>(e - cursor)), false);
      cursor = sjis::SkipBreak(e, end);
    }
  };
  Grep.GrepBuffer(data, size, 0, false, [&](size_t, std::string_view line) {
    gap(line.data());
    if (!go) return false;
    go = OnLine(F.LineNo++, line, true);
    cursor = sjis::SkipBreak(line.data() + line.size(), end);
    return go;
  });
  gap(end);
}

bool TSearcher::OnLine(uint64_t lineNo, std::string_view line, bool matched) {
  if (Cfg.Invert) return matched || OnSelected(lineNo, line);
  if (matched) return OnSelected(lineNo, line);
  // Substitution prints the lines without a match unchanged.
  if (!F.Binary) {
    Prefix(lineNo);
    Out.Text(line);
    Out.Newline();
  }
  return true;
}

bool TSearcher::OnSelected(uint64_t lineNo, std::string_view line) {
  Selected = F.Selected = true;
  ++F.Count;
  switch (Mode) {
    case TMode::Quiet: Quit = F.Stop = true; return false;
    case TMode::List: F.Stop = true; return false;
    case TMode::Count: return true;
    default: break;
  }
  // Past a NUL byte lines are not printed: a binary file only says it matches.
  if (F.Binary) {
    F.BinaryMatched = F.Stop = true;
    return false;
  }
  if (Mode == TMode::Only) {
    if (!Cfg.Invert) PrintMatches(lineNo, line);
    return true;
  }
  Prefix(lineNo);
  if (Mode == TMode::Substitute)
    PrintSubstituted(line);
  else
    PrintLine(line);
  Out.Newline();
  return true;
}

void TSearcher::Finish() {
  if (Mode == TMode::Count) {
    if (F.ShowName) {
      Name();
      Separator();
    }
    Out.Bytes(std::to_string(F.Count));
    Out.Newline();
  } else if (Mode == TMode::List && (Cfg.ListMatching ? F.Selected : !F.Selected)) {
    Name();
    Out.Newline();
  }
  if (F.BinaryMatched) {
    Out.Flush();
    std::string msg = "velgrep: " + F.Name + ": binary file matches\n";
    std::fwrite(msg.data(), 1, msg.size(), stderr);
  }
}

void TSearcher::Name() {
  if (Color) Out.Bytes(kNameColor);
  Out.Bytes(F.Name);
  if (Color) Out.Bytes(kColorEnd);
}

void TSearcher::Separator() {
  if (Color) Out.Bytes(kSeparatorColor);
  Out.Bytes(":");
  if (Color) Out.Bytes(kColorEnd);
}

void TSearcher::Prefix(uint64_t lineNo) {
  if (F.ShowName) {
    Name();
    Separator();
  }
  if (Cfg.Numbers) {
    if (Color) Out.Bytes(kNumberColor);
    Out.Bytes(std::to_string(lineNo));
    if (Color) Out.Bytes(kColorEnd);
    Separator();
  }
}

void TSearcher::PutColored(const char* color, const char* p, size_t n) {
  if (Color) Out.Bytes(color);
  Out.Text(p, n);
  if (Color) Out.Bytes(kColorEnd);
}

void TSearcher::PrintLine(std::string_view line) {
  if (!Color || Cfg.Invert) {
    Out.Text(line);
    return;
  }
  size_t done = 0;
  EachMatch(line, [&](size_t s, size_t e) {
    if (e == s) return;
    Out.Text(line.data() + done, s - done);
    PutColored(kMatchColor, line.data() + s, e - s);
    done = e;
  });
  Out.Text(line.data() + done, line.size() - done);
}

void TSearcher::PrintMatches(uint64_t lineNo, std::string_view line) {
  EachMatch(line, [&](size_t s, size_t e) {
    if (e == s) return;
    Prefix(lineNo);
    PutColored(kMatchColor, line.data() + s, e - s);
    Out.Newline();
  });
}

void TSearcher::PrintSubstituted(std::string_view line) {
  Scratch.clear();
  size_t done = 0;
  EachMatch(line, [&](size_t s, size_t e) {
    Scratch.append(line.data() + done, s - done);
    Scratch += TAWKStr::Substitute_MatchStr_For_ANDChar(Cfg.Replacement, std::string(line.substr(s, e - s)));
    // An empty match keeps the character after it.
    done = e;
  });
  Scratch.append(line.data() + done, line.size() - done);
  Out.Text(Scratch);
}

template <class Fn>
void TSearcher::EachMatch(std::string_view line, Fn&& f) {
  const size_t n = line.size();
  // Past the match; past one more character after an empty one. The walk
  // ends when nothing of the line is left, as the engine's GSub does.
  auto next = [&](size_t s, size_t e) {
    size_t p = e > s ? e : e + (e < n ? sjis::CharLen(line, e) : 0);
    return p >= n ? SIZE_MAX : p;
  };
  // Whole words: the frame's matches take in the blanks around the word,
  // and a blank may start the next one, so each search starts at the end
  // of the word found before, which may lie inside the frame's match.
  Grep.GetCurrentDFA()->MatchAll(line.data(), n, 0, true, true, [&](size_t s, size_t e) -> size_t {
    if (!Inner) {
      f(s, e);
      return next(s, e);
    }
    auto [a, b] = InnerExtent(line, s, e);
    f(a, b);
    return next(a, b);
  });
}

// The word inside a match of the whole-word frame: without the blank on
// either side, unless the pattern itself takes it in.
std::pair<size_t, size_t> TSearcher::InnerExtent(std::string_view line, size_t s, size_t e) const {
  const auto blank = [&](size_t i) { return IsWordBlank(static_cast<unsigned char>(line[i])); };
  const bool stripLeft = s < e && blank(s), keepLeft = s == 0;
  const bool stripRight = e > s && blank(e - 1), keepRight = e == line.size();
  const struct {
    bool Valid;
    size_t A, B;
  } tries[] = {{stripLeft && stripRight, s + 1, e - 1},
               {stripLeft && keepRight, s + 1, e},
               {keepLeft && stripRight, s, e - 1},
               {keepLeft && keepRight, s, e}};
  TRE_DFA* bare = Inner->GetCurrentDFA();
  for (const auto& t : tries) {
    if (!t.Valid || t.A > t.B) continue;
    size_t ms, me;
    if (bare->Search(line.data(), t.B, t.A, t.A == 0, true, ms, me) && ms == t.A && me == t.B) return {t.A, t.B};
  }
  return {s, e};
}

}  // namespace vel::velgrep
