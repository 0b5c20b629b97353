// velgrep: grep for folders of Shift-JIS memos, over the memo window's own
// regular expression engine. Options follow GNU grep's spelling (velgrep
// --help); exit status: 0 when a line was selected, 1 when none was, 2 on
// an error.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "regexp/AWKStr.h"
#include "regexp/Grep.h"
#include "tools/velgrep/Cp932.h"
#include "tools/velgrep/FileWalk.h"
#include "tools/velgrep/Options.h"
#include "tools/velgrep/PatternText.h"
#include "tools/velgrep/Search.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#endif

namespace {

using namespace vel;
using namespace vel::velgrep;

// Messages: `raw` (names as the system gives them) as it is, `text` (the
// engine's messages are CP932) converted for a terminal that expects UTF-8.
void Say(const std::string& raw, const std::string& text = std::string()) {
  std::string line = "velgrep: " + raw;
#ifdef _WIN32
  line += text;
#else
  AppendUtf8(line, text.data(), text.size());
#endif
  line += "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

int Usage(const std::string& error) {
  if (!error.empty()) Say(error);
  std::fputs("Usage: velgrep [OPTION]... PATTERN [FILE]...\nTry 'velgrep --help' for more information.\n", stderr);
  return 2;
}

bool LocaleIsUtf8() {
#ifdef _WIN32
  return false;  // arguments come in the ANSI code page
#else
  std::setlocale(LC_CTYPE, "");
  const char* cs = nl_langinfo(CODESET);
  return cs && (std::strcmp(cs, "UTF-8") == 0 || std::strcmp(cs, "utf8") == 0);
#endif
}

struct TTerminal {
  bool IsTty = false, Utf8 = false, Colors = false;
};

TTerminal StdoutTerminal(bool utf8Locale) {
  TTerminal t;
#ifdef _WIN32
  (void)utf8Locale;
  HANDLE h = ::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (::GetConsoleMode(h, &mode)) {
    t.IsTty = true;
    t.Utf8 = ::GetConsoleOutputCP() == CP_UTF8;
    t.Colors = (mode & 0x0004) || ::SetConsoleMode(h, mode | 0x0004);  // virtual terminal processing
  }
#else
  t.IsTty = ::isatty(1) != 0;
  const char* term = std::getenv("TERM");
  t.Utf8 = t.IsTty && utf8Locale;
  t.Colors = t.IsTty && term && std::strcmp(term, "dumb") != 0;
#endif
  return t;
}

// A pattern typed in a UTF-8 locale is UTF-8: it becomes the CP932 it
// stands for. Bytes that are not well-formed UTF-8 are taken as CP932.
bool FromUser(std::string& s, bool utf8Locale, const char* what) {
  bool ascii = true;
  for (char c : s) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (!utf8Locale || ascii || !IsUtf8(s)) return true;
  std::string out;
  uint32_t bad = 0;
  if (Utf8ToCp932(s, out, bad)) {
    s = out;
    return true;
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(bad));
  Say(std::string(what) + " holds " + hex + ", a character that Shift-JIS (CP932) does not have");
  return false;
}

void Compile(TGrep& g, const std::string& pattern, bool fuzzy) {
  g.SetUseFuzzyCharDic(fuzzy);
  g.SetRegExp(pattern);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  TConfig cfg;
  std::string error;
  if (!ParseArgs(argc, argv, cfg, error)) return Usage(error);
  const bool utf8Locale = LocaleIsUtf8();
  const TTerminal term = StdoutTerminal(utf8Locale);
  const bool utf8Out =
      cfg.OutputEncoding == TEncoding::Utf8 || (cfg.OutputEncoding == TEncoding::Auto && term.Utf8);
  if (cfg.Help || cfg.Version) {
    TOutput out(utf8Out, false);
    out.Text(std::string(cfg.Help ? HelpText() : VersionText()));
    return 0;
  }
  if (cfg.Substitute && cfg.Invert) return Usage("-s (--substitute) and -v (--invert-match) cannot be used together");

  for (std::string& p : cfg.Patterns)
    if (!FromUser(p, utf8Locale, "the pattern")) return 2;
  if (cfg.Substitute && !FromUser(cfg.Replacement, utf8Locale, "the replacement")) return 2;

  TGrep grep, inner;
  bool needInner = false;
  try {
    std::vector<std::string> patterns;
    const bool rewritten = cfg.Patterns.size() > 1 || cfg.IgnoreCase || cfg.WholeWord || cfg.WholeLine;
    for (std::string p : cfg.Patterns) {
      if (cfg.Fixed) p = QuoteMetaWChar(p);
      // Errors are reported against the pattern as the user wrote it.
      if (rewritten) Compile(grep, p, cfg.Fuzzy);
      if (cfg.IgnoreCase) p = FoldCasePattern(p, cfg.Fuzzy);
      patterns.push_back(p);
    }
    const std::string joined = JoinPatterns(patterns);
    const std::string framed = cfg.WholeLine   ? WholeLinePattern(joined)
                               : cfg.WholeWord ? WholeWordPattern(joined)
                                               : joined;
    Compile(grep, framed, cfg.Fuzzy);
    const bool color = cfg.Color == TWhen::Always || (cfg.Color == TWhen::Auto && term.Colors);
    needInner = framed != joined && cfg.WholeWord && !cfg.WholeLine && (cfg.Only || color || cfg.Substitute);
    if (needInner) Compile(inner, joined, cfg.Fuzzy);
    if (cfg.Substitute) TAWKStr::Substitute_MatchStr_For_ANDChar(cfg.Replacement, std::string());

    TOutput out(utf8Out, term.IsTty);
    TSearcher searcher(cfg, grep, needInner ? &inner : nullptr, out, color);
    bool failed = false;
    const bool implicitDot = cfg.Files.empty() && cfg.Recursive;
    if (cfg.Files.empty()) cfg.Files.push_back(implicitDot ? "." : "-");
    const bool several = cfg.Files.size() > 1;
    TWalkOptions walk;
    walk.Recursive = cfg.Recursive;
    walk.Dereference = cfg.Dereference;
    walk.FileGlobs = cfg.FileGlobs;
    walk.DirGlobs = cfg.DirGlobs;
    TWalkVisitor visitor;
    visitor.Error = [&](const std::string& name, const std::string& message) {
      failed = true;
      if (!cfg.NoMessages) {
        out.Flush();
        Say(name + ": " + message);
      }
    };
    visitor.File = [&](const std::string& name, bool inFolder) {
      const bool show = cfg.WithFileName < 0 ? several || inFolder : cfg.WithFileName == 1;
      std::string message;
      if (!searcher.Search(name, show, message)) visitor.Error(name == "-" ? "(standard input)" : name, message);
    };
    visitor.Stop = [&] { return searcher.Quit; };
    for (const std::string& operand : cfg.Files) {
      if (searcher.Quit) break;
      WalkOperand(operand, implicitDot, walk, visitor);
    }
    if (searcher.Quit) return 0;
    out.Flush();
    if (out.Failed()) {
      Say(std::string("write error: ") + std::strerror(errno));
      return 2;
    }
    if (failed) return 2;
    return searcher.Selected ? 0 : 1;
  } catch (const ERegExpParser& e) {
    Say("", std::string(e.what()) + " (位置 " + std::to_string(e.ErrorPos) + ")");
    return 2;
  } catch (const std::exception& e) {
    Say(e.what());
    return 2;
  }
}
