#pragma once
// velgrep's command line in the GNU grep spelling: short options that may be
// clustered (-rn), long options that may be abbreviated (--ignore), and
// operands anywhere before "--".
#include <string>
#include <utility>
#include <vector>

namespace vel::velgrep {

enum class TWhen { Never, Always, Auto };
enum class TEncoding { Auto, Sjis, Utf8 };

struct TConfig {
  std::vector<std::string> Patterns;  // from -e, or the first operand
  std::vector<std::string> Files;
  bool Recursive = false, Dereference = false;
  bool IgnoreCase = false, Invert = false, WholeWord = false, WholeLine = false, Fixed = false, Fuzzy = false;
  bool ListMatching = false, ListNonMatching = false, Count = false, Quiet = false, NoMessages = false;
  bool Numbers = false, Only = false, Substitute = false;
  bool Text = false, SkipBinary = false;
  int WithFileName = -1;  // -1 unset, 0 -h, 1 -H
  std::string Replacement;
  TWhen Color = TWhen::Auto;
  TEncoding OutputEncoding = TEncoding::Auto;
  // --include (true) and --exclude (false) in their order; --exclude-dir.
  std::vector<std::pair<bool, std::string>> FileGlobs;
  std::vector<std::string> DirGlobs;
  bool Help = false, Version = false;
};

// Parses argv[1..argc). On a mistake returns false with a message (without
// the program name) in `error`.
bool ParseArgs(int argc, char** argv, TConfig& cfg, std::string& error);

const char* HelpText();
const char* VersionText();

}  // namespace vel::velgrep
