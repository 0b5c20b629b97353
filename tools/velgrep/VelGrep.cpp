// velgrep [-f] [-n] [-c] [-o] [-s REPLACEMENT] PATTERN [FILE...]
// Searches Shift-JIS text with the engine's regular expressions. Input and
// output bytes are passed through unchanged; lines end at CR LF, CR or LF.
// Exit status: 0 when a line matched, 1 when none did, 2 on an error.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "regexp/AWKStr.h"
#include "regexp/Grep.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <iconv.h>
#endif

namespace {

using namespace vel;

#ifdef _WIN32
const char* const kNewLine = "\r\n";
#else
const char* const kNewLine = "\n";
#endif

// Messages are CP932; a Windows console shows them as they are, elsewhere
// the terminal expects UTF-8.
std::string ToConsole(const std::string& s) {
#ifdef _WIN32
  return s;
#else
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return s;
  std::string out(s.size() * 3 + 16, '\0');
  char* in = const_cast<char*>(s.data());
  size_t inLeft = s.size();
  char* o = out.data();
  size_t outLeft = out.size();
  size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return s;
  out.resize(out.size() - outLeft);
  return out;
#endif
}

void Error(const std::string& msg) {
  std::string text = ToConsole("velgrep: " + msg) + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
}

struct Options {
  bool Fuzzy = false, Numbers = false, Count = false, Only = false, Replace = false;
  std::string Replacement, Pattern;
  std::vector<std::string> Files;
};

class Output {
 public:
  ~Output() { Flush(); }
  void Put(const char* p, size_t n) {
    Buf.append(p, n);
    if (Buf.size() >= (1u << 16)) Flush();
  }
  void Put(const std::string& s) { Put(s.data(), s.size()); }
  void Flush() {
    if (!Buf.empty()) std::fwrite(Buf.data(), 1, Buf.size(), stdout);
    Buf.clear();
  }

 private:
  std::string Buf;
};

class VelGrep {
 public:
  VelGrep(const Options& o, TGrep& g, TAWKStr& a) : Opt(o), Grep(g), Awk(a) {}
  bool Matched = false;

  // Reads the stream in large blocks cut after their last LF, so that every
  // block holds whole lines.
  void Run(std::FILE* f, const std::string& name) {
    Prefix = Opt.Files.size() > 1 ? name + ":" : std::string();
    LineNo = 1;
    Count = 0;
    std::string buf;
    const size_t block = 8u << 20;
    bool eof = false;
    while (!eof) {
      size_t old = buf.size();
      buf.resize(old + block);
      size_t n = std::fread(buf.data() + old, 1, block, f);
      buf.resize(old + n);
      if (std::ferror(f)) throw std::runtime_error(name + ": " + std::strerror(errno));
      if (n < block) eof = true;
      size_t cut = buf.size();
      if (!eof) {
        const void* lf = nullptr;
        for (size_t i = buf.size(); i > 0; --i)
          if (buf[i - 1] == '\n') {
            lf = &buf[i - 1];
            break;
          }
        if (!lf) continue;
        cut = static_cast<size_t>(static_cast<const char*>(lf) - buf.data()) + 1;
      }
      Process(buf.data(), cut);
      buf.erase(0, cut);
    }
    if (Opt.Count) Out.Put(Prefix + std::to_string(Count) + kNewLine);
    Out.Flush();
  }

 private:
  std::string LinePrefix(size_t lineNo) const {
    return Opt.Numbers ? Prefix + std::to_string(lineNo) + ":" : Prefix;
  }

  void Process(const char* data, size_t size) {
    if (Opt.Replace && !Opt.Count) {
      ReplaceLines(data, size);
      return;
    }
    bool numbers = Opt.Numbers && !Opt.Count;
    LineNo += Grep.GrepBuffer(data, size, LineNo, numbers, [&](size_t lineNo, std::string_view line) {
      Matched = true;
      if (Opt.Count) {
        ++Count;
      } else if (Opt.Only) {
        PrintMatches(lineNo, line);
      } else {
        Out.Put(LinePrefix(lineNo));
        Out.Put(line.data(), line.size());
        Out.Put(kNewLine);
      }
      return true;
    });
  }

  // Every non-empty leftmost-longest match; an empty match moves the search
  // on by one character.
  void PrintMatches(size_t lineNo, std::string_view line) {
    Grep.GetCurrentDFA()->MatchAll(line.data(), line.size(), 0, true, true, [&](size_t s, size_t e) -> size_t {
      if (e > s) {
        Out.Put(LinePrefix(lineNo));
        Out.Put(line.data() + s, e - s);
        Out.Put(kNewLine);
        return e;
      }
      if (e >= line.size()) return SIZE_MAX;
      return e + ((REIsLeadByte(static_cast<unsigned char>(line[e])) && e + 1 < line.size()) ? 2 : 1);
    });
  }

  void ReplaceLines(const char* data, size_t size) {
    const char* p = data;
    const char* end = data + size;
    while (p < end) {
      const char* le = p;
      while (le < end && *le != '\r' && *le != '\n') ++le;
      std::string line(p, le);
      if (Awk.GSub(Opt.Replacement, line) > 0) Matched = true;
      Out.Put(LinePrefix(LineNo));
      Out.Put(line);
      Out.Put(kNewLine);
      ++LineNo;
      if (le < end && *le == '\r') {
        ++le;
        if (le < end && *le == '\n') ++le;
      } else if (le < end) {
        ++le;
      }
      p = le;
    }
  }

  const Options& Opt;
  TGrep& Grep;
  TAWKStr& Awk;
  Output Out;
  std::string Prefix;
  size_t LineNo = 1, Count = 0;
};

int Usage() {
  Error("usage: velgrep [-f] [-n] [-c] [-o] [-s REPLACEMENT] PATTERN [FILE...]");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  Options opt;
  int i = 1;
  for (; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--") {
      ++i;
      break;
    }
    if (a.size() < 2 || a[0] != '-') break;
    for (size_t k = 1; k < a.size(); ++k) {
      switch (a[k]) {
        case 'f': opt.Fuzzy = true; break;
        case 'n': opt.Numbers = true; break;
        case 'c': opt.Count = true; break;
        case 'o': opt.Only = true; break;
        case 's':
          opt.Replace = true;
          if (k + 1 < a.size()) {
            opt.Replacement = a.substr(k + 1);
          } else if (i + 1 < argc) {
            opt.Replacement = argv[++i];
          } else {
            return Usage();
          }
          k = a.size();
          break;
        default: return Usage();
      }
    }
  }
  if (i >= argc) return Usage();
  opt.Pattern = argv[i++];
  for (; i < argc; ++i) opt.Files.push_back(argv[i]);

  TGrep grep;
  TAWKStr awk;
  try {
    grep.SetUseFuzzyCharDic(opt.Fuzzy);
    grep.SetRegExp(opt.Pattern);
    if (opt.Replace) {
      awk.LineSeparator = mcls_LF;
      awk.SetUseFuzzyCharDic(opt.Fuzzy);
      awk.SetRegExp(opt.Pattern);
      TAWKStr::Substitute_MatchStr_For_ANDChar(opt.Replacement, std::string());
    }
  } catch (const ERegExpParser& e) {
    Error(std::string(e.what()) + " (位置 " + std::to_string(e.ErrorPos) + ")");
    return 2;
  } catch (const std::exception& e) {
    Error(e.what());
    return 2;
  }

  VelGrep run(opt, grep, awk);
  bool failed = false;
  try {
    if (opt.Files.empty()) {
      run.Run(stdin, "(standard input)");
    } else {
      for (const std::string& name : opt.Files) {
        std::FILE* f = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
        if (!f) {
          Error(name + ": " + std::strerror(errno));
          failed = true;
          continue;
        }
        try {
          run.Run(f, name);
        } catch (const std::runtime_error& e) {
          Error(e.what());
          failed = true;
        }
        if (f != stdin) std::fclose(f);
      }
    }
  } catch (const std::exception& e) {
    Error(e.what());
    return 2;
  }
  if (failed) return 2;
  return run.Matched ? 0 : 1;
}
