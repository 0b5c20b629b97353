#include "platform/Ini.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace vel {

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
  return ini::GetString(FileName, section, key, def);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
  return ParseIniInteger(ReadString(section, key, "")).value_or(def);
}

std::optional<int> ParseIniInteger(const std::string& s) {
  const std::optional<int> def;
  if (s.empty()) return def;
  const char* p = s.c_str();
  bool neg = false;
  if (*p == '-' || *p == '+') neg = (*p++ == '-');
  int base = 10;
  if ((p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) || p[0] == '$') {
    p += (p[0] == '$') ? 1 : 2;
    base = 16;
  }
  if (!*p) return def;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(p, &end, base);
  if (*end || errno == ERANGE) return def;
  if (neg) v = -v;
  // Colours are written as signed decimal but may have been written unsigned.
  if (v > INT_MAX && v <= static_cast<long long>(UINT_MAX)) v -= 0x100000000LL;
  if (v < INT_MIN || v > INT_MAX) return def;
  return static_cast<int>(v);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  return ini::WriteString(FileName, section, key, value);
}

bool TIniFile::WriteText(const std::string& text) { return ini::WriteText(FileName, text); }

bool TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
  return ini::SectionKeys(FileName, section);
}

std::vector<std::string> TIniFile::ReadSections() const { return ini::SectionNames(FileName); }

bool TIniFile::EraseSection(const std::string& section) { return ini::DeleteSection(FileName, section); }

bool TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  return ini::DeleteKey(FileName, section, key);
}

}  // namespace vel
