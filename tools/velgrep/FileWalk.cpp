#include "tools/velgrep/FileWalk.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "text/Sjis.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace vel::velgrep {

namespace {

// One character of a name: CP932 on Windows, UTF-8 elsewhere (a byte that
// starts no well-formed sequence stands alone).
uint32_t NextNameChar(const char*& p) {
  const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
#ifdef _WIN32
  if (sjis::IsLeadByte(u[0]) && u[1] != 0) {
    p += 2;
    return static_cast<uint32_t>(u[0] << 8 | u[1]);
  }
#else
  int len = u[0] >= 0xF0 && u[0] <= 0xF4 ? 4 : u[0] >= 0xE0 ? 3 : u[0] >= 0xC2 && u[0] < 0xE0 ? 2 : 1;
  if (u[0] >= 0xF5) len = 1;
  bool ok = len > 1;
  for (int k = 1; ok && k < len; ++k) ok = (u[k] & 0xC0) == 0x80;
  if (ok) {
    uint32_t c = u[0] & (0x7F >> len);
    for (int k = 1; k < len; ++k) c = c << 6 | (u[k] & 0x3F);
    p += len;
    return c;
  }
#endif
  ++p;
  return u[0];
}

// Matches one glob item at g against one character at n, advancing both.
bool MatchOne(const char*& g, const char*& n) {
  if (*g == '?') {
    ++g;
    NextNameChar(n);
    return true;
  }
  if (*g == '[') {
    const char* q = g + 1;
    bool negate = *q == '!' || *q == '^';
    if (negate) ++q;
    const char* name = n;
    const uint32_t c = NextNameChar(name);
    bool hit = false, first = true;
    while (*q && (*q != ']' || first)) {
      first = false;
      if (*q == '\\' && q[1]) ++q;
      uint32_t lo = NextNameChar(q), hi = lo;
      if (*q == '-' && q[1] && q[1] != ']') {
        ++q;
        if (*q == '\\' && q[1]) ++q;
        hi = NextNameChar(q);
      }
      if (lo <= c && c <= hi) hit = true;
    }
    if (*q == ']') {
      g = q + 1;
      n = name;
      return hit != negate;
    }
    // No closing bracket: the "[" is an ordinary character.
  }
  if (*g == '\\' && g[1]) ++g;
  const uint32_t want = NextNameChar(g);
  return NextNameChar(n) == want;
}

const char* BaseName(const std::string& name) {
  size_t slash = name.find_last_of('/');
  return name.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

// A command-line name matches when the whole of it, or any part after a
// slash, does.
bool NameMatches(const std::string& glob, const std::string& name, bool commandLine) {
  if (!commandLine) return GlobMatch(glob.c_str(), BaseName(name));
  if (GlobMatch(glob.c_str(), name.c_str())) return true;
  for (size_t i = 0; i + 1 < name.size(); ++i)
    if (name[i] == '/' && name[i + 1] != '/' && GlobMatch(glob.c_str(), name.c_str() + i + 1)) return true;
  return false;
}

std::string Join(const std::string& dir, const std::string& name, bool implicitDot) {
  if (implicitDot) return name;
  size_t end = dir.size();
  while (end > 1 && dir[end - 1] == '/') --end;
  std::string d = dir.substr(0, end);
  return d == "/" ? "/" + name : d + "/" + name;
}

enum class TKind { File, Dir, Link, Other, Unknown };

struct TEntry {
  std::string Name;
  TKind Kind;
};

#ifdef _WIN32

TKind KindOf(DWORD attrs) {
  if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) return TKind::Link;
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) return TKind::Dir;
  if (attrs & FILE_ATTRIBUTE_DEVICE) return TKind::Other;
  return TKind::File;
}

std::string SystemMessage(DWORD code) {
  char buf[512] = {};
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buf,
                             sizeof buf, nullptr);
  while (n > 0 && (buf[n - 1] == '\r' || buf[n - 1] == '\n' || buf[n - 1] == ' ' || buf[n - 1] == '.')) --n;
  return n ? std::string(buf, n) : "error " + std::to_string(code);
}

bool ListDir(const std::string& dir, std::vector<TEntry>& out, std::string& error) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) {
    error = SystemMessage(::GetLastError());
    return false;
  }
  do {
    if (std::strcmp(fd.cFileName, ".") == 0 || std::strcmp(fd.cFileName, "..") == 0) continue;
    out.push_back({fd.cFileName, KindOf(fd.dwFileAttributes)});
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return true;
}

// What a name is once links are followed.
TKind Resolve(const std::string& path, std::string& error) {
  DWORD attrs = ::GetFileAttributesA(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) {
    error = SystemMessage(::GetLastError());
    return TKind::Unknown;
  }
  return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? TKind::Dir : TKind::File;
}

// Folders are told apart by their volume and file index.
struct TDirId {
  DWORD Volume = 0, High = 0, Low = 0;
  bool operator==(const TDirId&) const = default;
};
TDirId IdOf(const std::string& path) {
  HANDLE h = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION info;
  TDirId id;
  if (::GetFileInformationByHandle(h, &info))
    id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
  ::CloseHandle(h);
  return id;
}

#else

TKind KindOfMode(mode_t m) {
  if (S_ISREG(m)) return TKind::File;
  if (S_ISDIR(m)) return TKind::Dir;
  if (S_ISLNK(m)) return TKind::Link;
  return TKind::Other;
}

bool ListDir(const std::string& dir, std::vector<TEntry>& out, std::string& error) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) {
    error = std::strerror(errno);
    return false;
  }
  while (const dirent* e = ::readdir(d)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    TKind k = TKind::Unknown;
#ifdef DT_UNKNOWN
    switch (e->d_type) {
      case DT_REG: k = TKind::File; break;
      case DT_DIR: k = TKind::Dir; break;
      case DT_LNK: k = TKind::Link; break;
      case DT_UNKNOWN: break;
      default: k = TKind::Other; break;
    }
#endif
    out.push_back({e->d_name, k});
  }
  ::closedir(d);
  return true;
}

TKind Resolve(const std::string& path, std::string& error) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    error = std::strerror(errno);
    return TKind::Unknown;
  }
  return KindOfMode(st.st_mode);
}

struct TDirId {
  dev_t Dev = 0;
  ino_t Ino = 0;
  bool operator==(const TDirId&) const = default;
};
TDirId IdOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return {};
  return {st.st_dev, st.st_ino};
}

#endif

class TWalker {
 public:
  TWalker(const TWalkOptions& o, const TWalkVisitor& v) : Opt(o), V(v) {}

  void Dir(const std::string& path, bool implicitDot) {
    std::vector<TEntry> entries;
    std::string error;
    if (!ListDir(path, entries, error)) {
      V.Error(path, error);
      return;
    }
    // A fixed order, whatever the file system's: names sorted by bytes.
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Name < b.Name; });
    // Loops are possible only through followed links.
    const bool guard = Opt.Dereference;
    if (guard) Ancestors.push_back(IdOf(path));
    for (const TEntry& e : entries) {
      if (V.Stop && V.Stop()) break;
      const std::string child = Join(path, e.Name, implicitDot);
      TKind kind = e.Kind;
      if (kind == TKind::Link && !Opt.Dereference) continue;
      if (kind == TKind::Link || kind == TKind::Unknown) {
#ifndef _WIN32
        if (kind == TKind::Unknown) {
          struct stat st;
          kind = ::lstat(child.c_str(), &st) == 0 ? KindOfMode(st.st_mode) : TKind::Unknown;
          if (kind == TKind::Link && !Opt.Dereference) continue;
        }
#endif
        if (kind == TKind::Link || kind == TKind::Unknown) {
          kind = Resolve(child, error);
          if (kind == TKind::Unknown) {
            V.Error(child, error);
            continue;
          }
        }
      }
      if (kind == TKind::Dir) {
        if (DirExcluded(Opt.DirGlobs, e.Name, false)) continue;
        if (guard && std::find(Ancestors.begin(), Ancestors.end(), IdOf(child)) != Ancestors.end()) continue;
        Dir(child, false);
      } else if (kind == TKind::File) {
        if (FileExcluded(Opt.FileGlobs, e.Name, false)) continue;
        V.File(child, true);
      }
      // Devices, pipes and sockets met in a folder are not read.
    }
    if (guard) Ancestors.pop_back();
  }

 private:
  const TWalkOptions& Opt;
  const TWalkVisitor& V;
  std::vector<TDirId> Ancestors;
};

}  // namespace

bool GlobMatch(const char* g, const char* n) {
  const char* starG = nullptr;
  const char* starN = nullptr;
  while (*n) {
    if (*g == '*') {
      while (*g == '*') ++g;
      if (!*g) return true;
      starG = g;
      starN = n;
      continue;
    }
    const char* g2 = g;
    const char* n2 = n;
    if (*g && MatchOne(g2, n2)) {
      g = g2;
      n = n2;
      continue;
    }
    if (!starG) return false;
    g = starG;
    NextNameChar(starN);
    n = starN;
  }
  while (*g == '*') ++g;
  return *g == 0;
}

bool FileExcluded(const std::vector<std::pair<bool, std::string>>& globs, const std::string& name,
                  bool commandLine) {
  for (auto it = globs.rbegin(); it != globs.rend(); ++it)
    if (NameMatches(it->second, name, commandLine)) return !it->first;
  return !globs.empty() && globs.front().first;
}

bool DirExcluded(const std::vector<std::string>& globs, const std::string& name, bool commandLine) {
  for (const std::string& g : globs)
    if (NameMatches(g, name, commandLine)) return true;
  return false;
}

void WalkOperand(const std::string& operand, bool implicitDot, const TWalkOptions& opt, const TWalkVisitor& v) {
  if (operand == "-") {
    v.File(operand, false);
    return;
  }
  std::string error;
  TKind kind = Resolve(operand, error);
  if (kind == TKind::Unknown) {
    v.Error(operand, error);
    return;
  }
  if (kind == TKind::Dir) {
    if (!opt.Recursive) {
      v.Error(operand, std::strerror(EISDIR));
      return;
    }
    if (!implicitDot && DirExcluded(opt.DirGlobs, operand, true)) return;
    TWalker(opt, v).Dir(operand, implicitDot);
    return;
  }
  if (FileExcluded(opt.FileGlobs, operand, true)) return;
  v.File(operand, false);
}

}  // namespace vel::velgrep
