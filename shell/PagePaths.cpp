#include "shell/PagePaths.h"

#include "text/Sjis.h"

namespace vel {

namespace {

// Index of the last path separator, by whole characters (a trail byte may be 0x5C), or npos.
size_t LastSeparator(const std::string& s) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < s.size(); i = sjis::NextChar(s, i))
    if (s[i] == '\\' || s[i] == '/') last = i;
  return last;
}

}  // namespace

std::string ExpandLongPath(IPathSystem& Paths, const std::string& Path) {
  std::string head = Path, tail;
  // A root ("C:\") or a bare drive has no long name of its own.
  while (!head.empty() && head.back() != ':' && !(head.size() <= 3 && head.find(':') != std::string::npos)) {
    std::optional<std::string> name = Paths.FindLongName(head);
    if (!name) break;
    size_t cut = LastSeparator(head);
    if (cut == std::string::npos) return *name + tail;
    tail = "\\" + *name + tail;
    head.erase(cut);
  }
  return head + tail;
}

std::string ExtractFileName(const std::string& Path) {
  size_t cut = LastSeparator(Path);
  return cut == std::string::npos ? Path : Path.substr(cut + 1);
}

bool IsDeviceName(const std::string& Path) {
  if (Path.rfind("\\\\.\\", 0) == 0) return true;
  std::string base = ExtractFileName(Path);
  base = base.substr(0, base.find('.'));
  // Trailing blanks are dropped by the system too: "nul " is NUL.
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
    return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '0' &&
         base[3] <= '9';
}

bool SameFileName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (sjis::IsLeadByte(x)) {
      if (x != y || (i + 1 < a.size() && a[i + 1] != b[i + 1])) return false;
      ++i;
      continue;
    }
    if (sjis::AsciiLower(x) != sjis::AsciiLower(y)) return false;
  }
  return true;
}

}  // namespace vel
