#pragma once
// Which files a search visits: the operands, the folders under them with -r
// or -R, and the --include, --exclude and --exclude-dir rules, all as GNU
// grep applies them. Names are bytes as the system gives them.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vel::velgrep {

// Shell wildcard match of a whole name: * any bytes (slashes too), ? one
// character, [...] a set ([!...] or [^...] its complement), \ quotes.
bool GlobMatch(const char* glob, const char* name);

// --include/--exclude in the order given (true: include). Later files met
// in a folder are judged by their base name; command-line files by their
// whole name or any part that follows a slash. The last glob that matches
// decides; when none does, the file is searched unless the first is an
// --include.
bool FileExcluded(const std::vector<std::pair<bool, std::string>>& globs, const std::string& name,
                  bool commandLine);
bool DirExcluded(const std::vector<std::string>& globs, const std::string& name, bool commandLine);

struct TWalkOptions {
  bool Recursive = false, Dereference = false;
  std::vector<std::pair<bool, std::string>> FileGlobs;
  std::vector<std::string> DirGlobs;
};

struct TWalkVisitor {
  // A file to search: the name to open and print; `inFolder` when it was
  // found by walking a folder given by the operand (names are then printed
  // by default).
  std::function<void(const std::string& name, bool inFolder)> File;
  // A file or folder that could not be examined; the message is the system's.
  std::function<void(const std::string& name, const std::string& message)> Error;
  // Whether the walk should stop (set, for instance, by -q on a match).
  std::function<bool()> Stop;
};

// Visits one operand ("-" is standard input, passed on as it is). An empty
// operand list with -r stands for the current folder, whose files are then
// named without a "./" in front: pass implicitDot for it.
void WalkOperand(const std::string& operand, bool implicitDot, const TWalkOptions& opt, const TWalkVisitor& v);

}  // namespace vel::velgrep
