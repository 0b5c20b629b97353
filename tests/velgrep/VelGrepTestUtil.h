#pragma once
// Running velgrep (and GNU grep beside it) from the tests: scratch folders,
// shell command lines with their output and status, the Shift-JIS locale.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vel::test {

namespace fs = std::filesystem;

inline fs::path SelfDir() { return fs::read_symlink("/proc/self/exe").parent_path(); }

inline std::string VelgrepPath() {
#ifdef VELGREP_PATH
  return VELGREP_PATH;
#else
  return (SelfDir() / "tools/velgrep/velgrep").string();
#endif
}

inline std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// UTF-8 text whatever the execution character set (ordinary literals are CP932).
inline std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

struct Result {
  int Status;
  std::string Out, Err;
};

class Scratch {
 public:
  explicit Scratch(const std::string& tag = "velgrep_test") {
    static int serial = 0;
    Dir = fs::temp_directory_path() / (tag + "_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
    fs::create_directories(Dir);
  }
  ~Scratch() {
    std::error_code ec;
    fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(Dir, ec);
  }
  fs::path File(const std::string& name, const std::string& bytes) const {
    fs::path p = Dir / name;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  // Runs a shell command line with stdin from `input`.
  Result Run(const std::string& cmd, const std::string& input = std::string()) const {
    fs::path in = File(".stdin", input);
    std::string full = "(" + cmd + ") <'" + in.string() + "' >'" + (Dir / ".out").string() + "' 2>'" +
                       (Dir / ".err").string() + "'";
    int rc = std::system(full.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, Slurp(Dir / ".out"), Slurp(Dir / ".err")};
  }
  fs::path Dir;
};

// A ja_JP locale in Shift-JIS for GNU grep, built once beside the test
// binary; empty when localedef cannot build it.
inline std::string MakeSjisLocale() {
  fs::path dir = SelfDir() / "sjis-locale";
  fs::path loc = dir / "ja_JP.SJIS";
  if (!fs::exists(loc / "LC_CTYPE")) {
    fs::create_directories(dir);
    std::string cmd = "localedef -c -i ja_JP -f SHIFT_JIS '" + loc.string() + "' >/dev/null 2>&1";
    (void)std::system(cmd.c_str());
  }
  return fs::exists(loc / "LC_CTYPE") ? dir.string() : std::string();
}

}  // namespace vel::test
