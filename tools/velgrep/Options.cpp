#include "tools/velgrep/Options.h"

#include <cstring>

namespace vel::velgrep {

namespace {

enum TArg { argNone, argRequired, argOptional };

enum TLongOnly {
  optInclude = 256, optExclude, optExcludeDir, optColor, optEncoding, optHelp, optVersion, optNoMessages
};

struct TLongOption {
  const char* Name;
  TArg Arg;
  int Id;
};

const TLongOption kLongOptions[] = {
    {"recursive", argNone, 'r'},
    {"dereference-recursive", argNone, 'R'},
    {"ignore-case", argNone, 'i'},
    {"invert-match", argNone, 'v'},
    {"files-with-matches", argNone, 'l'},
    {"files-without-match", argNone, 'L'},
    {"word-regexp", argNone, 'w'},
    {"line-regexp", argNone, 'x'},
    {"count", argNone, 'c'},
    {"line-number", argNone, 'n'},
    {"only-matching", argNone, 'o'},
    {"with-filename", argNone, 'H'},
    {"no-filename", argNone, 'h'},
    {"regexp", argRequired, 'e'},
    {"fuzzy", argNone, 'f'},
    {"substitute", argRequired, 's'},
    {"text", argNone, 'a'},
    {"quiet", argNone, 'q'},
    {"silent", argNone, 'q'},
    {"fixed-strings", argNone, 'F'},
    {"extended-regexp", argNone, 'E'},
    {"include", argRequired, optInclude},
    {"exclude", argRequired, optExclude},
    {"exclude-dir", argRequired, optExcludeDir},
    {"color", argOptional, optColor},
    {"colour", argOptional, optColor},
    {"output-encoding", argRequired, optEncoding},
    {"no-messages", argNone, optNoMessages},
    {"help", argNone, optHelp},
    {"version", argNone, optVersion},
};

// Short options; those followed by ':' take an argument.
const char kShortOptions[] = "rRivlLwxcnoHhe:fs:aqFEI";

bool OneOf(const std::string& v, std::initializer_list<const char*> names) {
  for (const char* n : names)
    if (v == n) return true;
  return false;
}

bool Apply(int id, const std::string& value, TConfig& cfg, std::string& error) {
  switch (id) {
    case 'r': cfg.Recursive = true; break;
    case 'R': cfg.Recursive = cfg.Dereference = true; break;
    case 'i': cfg.IgnoreCase = true; break;
    case 'v': cfg.Invert = true; break;
    case 'l': cfg.ListMatching = true; cfg.ListNonMatching = false; break;
    case 'L': cfg.ListNonMatching = true; cfg.ListMatching = false; break;
    case 'w': cfg.WholeWord = true; break;
    case 'x': cfg.WholeLine = true; break;
    case 'c': cfg.Count = true; break;
    case 'n': cfg.Numbers = true; break;
    case 'o': cfg.Only = true; break;
    case 'H': cfg.WithFileName = 1; break;
    case 'h': cfg.WithFileName = 0; break;
    case 'e': cfg.Patterns.push_back(value); break;
    case 'f': cfg.Fuzzy = true; break;
    case 's': cfg.Substitute = true; cfg.Replacement = value; break;
    case 'a': cfg.Text = true; cfg.SkipBinary = false; break;
    case 'I': cfg.SkipBinary = true; cfg.Text = false; break;
    case 'q': cfg.Quiet = true; break;
    case 'F': cfg.Fixed = true; break;
    case 'E': cfg.Fixed = false; break;
    case optInclude: cfg.FileGlobs.emplace_back(true, value); break;
    case optExclude: cfg.FileGlobs.emplace_back(false, value); break;
    case optExcludeDir: cfg.DirGlobs.push_back(value); break;
    case optNoMessages: cfg.NoMessages = true; break;
    case optHelp: cfg.Help = true; break;
    case optVersion: cfg.Version = true; break;
    case optColor:
      if (value.empty() || OneOf(value, {"auto", "tty", "if-tty"})) cfg.Color = TWhen::Auto;
      else if (OneOf(value, {"always", "yes", "force"})) cfg.Color = TWhen::Always;
      else if (OneOf(value, {"never", "no", "none"})) cfg.Color = TWhen::Never;
      else {
        error = "invalid argument '" + value + "' for '--color'\nValid arguments are 'always', 'never' and 'auto'.";
        return false;
      }
      break;
    case optEncoding:
      if (OneOf(value, {"auto"})) cfg.OutputEncoding = TEncoding::Auto;
      else if (OneOf(value, {"sjis", "shift_jis", "shift-jis", "cp932"})) cfg.OutputEncoding = TEncoding::Sjis;
      else if (OneOf(value, {"utf-8", "utf8"})) cfg.OutputEncoding = TEncoding::Utf8;
      else {
        error = "invalid argument '" + value + "' for '--output-encoding'\n"
                "Valid arguments are 'auto', 'sjis' and 'utf-8'.";
        return false;
      }
      break;
    default: return false;
  }
  return true;
}

// The long option named by `name` exactly, or else by a unique prefix.
const TLongOption* FindLong(const std::string& name, std::string& error) {
  const TLongOption* found = nullptr;
  int prefixes = 0;
  for (const TLongOption& o : kLongOptions) {
    if (name == o.Name) return &o;
    if (std::strncmp(o.Name, name.c_str(), name.size()) == 0) {
      // Aliases (--color/--colour, --quiet/--silent) are one option.
      if (!found || found->Id != o.Id) ++prefixes;
      if (!found) found = &o;
    }
  }
  if (prefixes == 1) return found;
  error = prefixes == 0 ? "unrecognized option '--" + name + "'" : "option '--" + name + "' is ambiguous";
  return nullptr;
}

}  // namespace

bool ParseArgs(int argc, char** argv, TConfig& cfg, std::string& error) {
  std::vector<std::string> operands;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (optionsEnded || a.size() < 2 || a[0] != '-') {
      operands.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    if (a[1] == '-') {
      size_t eq = a.find('=');
      std::string name = a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
      const TLongOption* o = FindLong(name, error);
      if (!o) return false;
      std::string value;
      if (eq != std::string::npos) {
        if (o->Arg == argNone) {
          error = std::string("option '--") + o->Name + "' doesn't allow an argument";
          return false;
        }
        value = a.substr(eq + 1);
      } else if (o->Arg == argRequired) {
        if (i + 1 >= argc) {
          error = std::string("option '--") + o->Name + "' requires an argument";
          return false;
        }
        value = argv[++i];
      }
      if (!Apply(o->Id, value, cfg, error)) return false;
      continue;
    }
    for (size_t k = 1; k < a.size(); ++k) {
      const char c = a[k];
      const char* known = c == ':' ? nullptr : std::strchr(kShortOptions, c);
      if (!known) {
        error = std::string("invalid option -- '") + c + "'";
        return false;
      }
      std::string value;
      if (known[1] == ':') {
        if (k + 1 < a.size()) {
          value = a.substr(k + 1);
        } else if (i + 1 < argc) {
          value = argv[++i];
        } else {
          error = std::string("option requires an argument -- '") + c + "'";
          return false;
        }
        k = a.size();
      }
      if (!Apply(c, value, cfg, error)) return false;
    }
  }
  if (cfg.Help || cfg.Version) return true;
  size_t first = 0;
  if (cfg.Patterns.empty()) {
    if (operands.empty()) {
      error.clear();  // the bare usage lines
      return false;
    }
    cfg.Patterns.push_back(operands[0]);
    first = 1;
  }
  cfg.Files.assign(operands.begin() + static_cast<std::ptrdiff_t>(first), operands.end());
  return true;
}

const char* VersionText() {
  return "velgrep (Velmorind 3) 2.0\n"
         "The grep of the Velmorind memo pad: Shift-JIS (CP932) text, the memo window's own\n"
         "regular expression engine.\n";
}

const char* HelpText() {
  return "Usage: velgrep [OPTION]... PATTERN [FILE]...\n"
         "Search for PATTERN in each Shift-JIS (CP932) FILE.\n"
         "Example: velgrep -r -n '会議|打合せ' memos/\n"
         "\n"
         "PATTERN is a regular expression of the memo window's find: . [ ] [^ ] * + ? | ( ) ^ $,\n"
         "\\x41 and \\x82A0 for character codes, \\t \\n \\r \\b and octal \\101.\n"
         "In a UTF-8 locale a pattern written in UTF-8 is converted to Shift-JIS first.\n"
         "\n"
         "Matching:\n"
         "  -e, --regexp=PATTERN      use PATTERN; may be repeated (any of them matches)\n"
         "  -F, --fixed-strings       PATTERN is plain text, not a regular expression\n"
         "  -E, --extended-regexp     accepted for habit's sake: patterns are always extended\n"
         "  -i, --ignore-case         fold case of ASCII and full-width Latin letters only\n"
         "  -f, --fuzzy               fuzzy Japanese matching: hiragana/katakana, full/half\n"
         "                            width and similar forms match each other\n"
         "                            (NOTE: not grep's -f FILE; velgrep reads no pattern file)\n"
         "  -w, --word-regexp         match only whole words: each side of the match is the\n"
         "                            line's edge or a blank (a tab, a space or a control\n"
         "                            character), as the memo window's whole-word find\n"
         "  -x, --line-regexp         match only whole lines\n"
         "  -v, --invert-match        select the lines that do not match\n"
         "\n"
         "Output:\n"
         "  -c, --count               print only a count of selected lines per file\n"
         "  -l, --files-with-matches  print only the names of files with selected lines\n"
         "  -L, --files-without-match print only the names of files with no selected line\n"
         "  -q, --quiet, --silent     print nothing; the exit status tells\n"
         "  -n, --line-number         print the line number with each line\n"
         "  -o, --only-matching       print each non-empty match on a line of its own\n"
         "  -H, --with-filename       print the file name with each line\n"
         "  -h, --no-filename         never print file names (they are shown by default\n"
         "                            with more than one file, or when a folder is searched)\n"
         "  -s, --substitute=TEXT     print every line with each match replaced by TEXT\n"
         "                            (& is the match, \\& a literal &; escapes as in PATTERN)\n"
         "                            (NOTE: not grep's -s; --no-messages is that one)\n"
         "      --no-messages         say nothing about files that cannot be read\n"
         "      --color[=WHEN]        highlight matches: WHEN is 'auto' (the default: only on\n"
         "                            a terminal), 'always' or 'never'\n"
         "      --output-encoding=ENC 'auto' (the default), 'sjis' or 'utf-8'. auto writes UTF-8\n"
         "                            to a terminal of a UTF-8 locale and the file's bytes\n"
         "                            unchanged anywhere else (pipes, files, Windows consoles).\n"
         "                            Bytes that are no CP932 character show as \\xHH escapes.\n"
         "\n"
         "Files:\n"
         "  -r, --recursive           search folders, following no symbolic links found in them\n"
         "  -R, --dereference-recursive  search folders, following every symbolic link\n"
         "      --include=GLOB        search only files whose name matches GLOB\n"
         "      --exclude=GLOB        skip files whose name matches GLOB\n"
         "      --exclude-dir=GLOB    skip folders whose name matches GLOB\n"
         "  -a, --text                search binary files as text\n"
         "  -I                        skip binary files\n"
         "A file with a NUL byte is binary: velgrep says \"binary file matches\" instead of\n"
         "printing its lines, unless -a is given. With no FILE, or FILE '-', standard input is\n"
         "read (with -r and no FILE, the current folder).\n"
         "\n"
         "Lines end at CR LF, CR or LF and are searched one by one: a pattern never matches\n"
         "across a line break. A pattern that matches the empty string selects every line\n"
         "(grep's convention); -o prints only non-empty matches. A NUL byte is an ordinary\n"
         "character. Large files are read in blocks, never whole.\n"
         "\n"
         "Exit status: 0 if a line was selected, 1 if none was, 2 if an error occurred\n"
         "(with -q, 0 when a line was selected even after an error).\n";
}

}  // namespace vel::velgrep
