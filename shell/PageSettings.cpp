#include "shell/PageSettings.h"

#include <algorithm>
#include <climits>

#include "platform/IniText.h"
#include "text/Sjis.h"

namespace vel {

namespace {

constexpr size_t MaxFaceNameBytes = 31;  // LF_FACESIZE less the terminating zero

// A face name the font functions can take: whole characters, no control bytes.
bool UsableFaceName(const std::string& s) {
  if (s.empty() || s.size() > MaxFaceNameBytes) return false;
  for (size_t i = 0; i < s.size(); i = sjis::NextChar(s, i)) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x20 || c == 0x7F) return false;
    if (sjis::IsLeadByte(c) && (i + 1 >= s.size() || static_cast<unsigned char>(s[i + 1]) < 0x40)) return false;
  }
  return true;
}

int InRange(int v, int lo, int hi, int def) { return v >= lo && v <= hi ? v : def; }

// n of a section named Page<n> (n >= 1, written without leading zeros), or 0.
int PageSectionNumber(const std::string& name) {
  if (name.size() < 5 || name.size() > 14 || !SameIniName(name.substr(0, 4), "Page")) return 0;
  std::string digits = name.substr(4);
  if (digits[0] == '0' || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return 0;
  long long n = std::stoll(digits);
  return n <= INT_MAX ? static_cast<int>(n) : 0;
}

TPageViewSettings ReadView(const TIniFile& Ini, const std::string& sec) {
  TPageViewSettings d, v;
  v.TabBColor = Ini.ReadInteger(sec, "TabBColor", d.TabBColor);
  v.TabCColor = Ini.ReadInteger(sec, "TabCColor", d.TabCColor);
  std::string font = Ini.ReadString(sec, "FontName", d.FontName);
  v.FontName = UsableFaceName(font) ? font : d.FontName;
  v.FontSize = InRange(Ini.ReadInteger(sec, "FontSize", d.FontSize), 1, 1638, d.FontSize);
  v.MemoFormHeight =
      InRange(Ini.ReadInteger(sec, "MemoFormHeight", d.MemoFormHeight), MinMemoFormHeight, MaxMemoFormHeight, d.MemoFormHeight);
  v.MemoFormWidth =
      InRange(Ini.ReadInteger(sec, "MemoFormWidth", d.MemoFormWidth), MinMemoFormWidth, MaxMemoFormWidth, d.MemoFormWidth);
  v.MemoFormCRMark = Ini.ReadBool(sec, "MemoFormCRMark", false);
  v.MemoFormEOFMark = Ini.ReadBool(sec, "MemoFormEOFMark", false);
  v.MemoFormLineNum = Ini.ReadBool(sec, "MemoFormLineNum", false);
  int mode = Ini.ReadInteger(sec, "MemoFormNumMode", 0);
  if (mode == 0 || mode == 1) v.MemoFormNumMode = mode;
  v.MemoFormLineNumTopZero = Ini.ReadBool(sec, "MemoFormLineNumTopZero", false);
  v.MemoFormWordWrap = Ini.ReadBool(sec, "MemoFormWordWrap", false);
  // The editor clamps the wrap width itself; only nonsense falls back.
  v.MemoFormWrapByte = InRange(Ini.ReadInteger(sec, "MemoFormWrapByte", d.MemoFormWrapByte), 1, 100000, d.MemoFormWrapByte);
  return v;
}

}  // namespace

std::string PageSettingsPath(const std::string& ExePath) {
  size_t cut = 0;
  for (size_t i = 0; i < ExePath.size(); i = sjis::NextChar(ExePath, i))
    if (ExePath[i] == '\\' || ExePath[i] == '/') cut = i + 1;
  return ExePath.substr(0, cut == 0 ? 0 : cut - 1) + "\\PageSetting.ini";
}

std::vector<TPageSettingsEntry> ReadPageSettings(const TIniFile& Ini) {
  // -1 is never written: it marks a missing or unreadable count.
  int total = Ini.ReadInteger("OpenPage", "PageTotal", -1);
  std::vector<int> numbers;
  for (const std::string& name : Ini.ReadSections()) {
    int n = PageSectionNumber(name);
    if (n > 0 && (total < 0 || n <= total)) numbers.push_back(n);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  std::vector<TPageSettingsEntry> pages;
  for (int n : numbers) {
    std::string sec = "Page" + std::to_string(n);
    std::string path = Ini.ReadString(sec, "FilePath", "");
    if (path.empty()) continue;
    pages.push_back({path, ReadView(Ini, sec)});
  }
  return pages;
}

bool WritePageSettings(TIniFile& Ini, const std::vector<TPageSettingsEntry>& Pages) {
  int n = 0;
  for (const TPageSettingsEntry& p : Pages) {
    std::string sec = "Page" + std::to_string(++n);
    const TPageViewSettings& v = p.View;
    bool ok = Ini.WriteString(sec, "FilePath", p.FilePath) && Ini.WriteInteger(sec, "TabBColor", v.TabBColor) &&
              Ini.WriteInteger(sec, "TabCColor", v.TabCColor) && Ini.WriteString(sec, "FontName", v.FontName) &&
              Ini.WriteInteger(sec, "FontSize", v.FontSize) && Ini.WriteInteger(sec, "MemoFormHeight", v.MemoFormHeight) &&
              Ini.WriteInteger(sec, "MemoFormWidth", v.MemoFormWidth) && Ini.WriteBool(sec, "MemoFormCRMark", v.MemoFormCRMark) &&
              Ini.WriteBool(sec, "MemoFormEOFMark", v.MemoFormEOFMark) &&
              Ini.WriteBool(sec, "MemoFormLineNum", v.MemoFormLineNum) &&
              Ini.WriteInteger(sec, "MemoFormNumMode", v.MemoFormNumMode.value_or(0)) &&
              Ini.WriteBool(sec, "MemoFormLineNumTopZero", v.MemoFormLineNumTopZero) &&
              Ini.WriteBool(sec, "MemoFormWordWrap", v.MemoFormWordWrap) &&
              Ini.WriteInteger(sec, "MemoFormWrapByte", v.MemoFormWrapByte);
    if (!ok) return false;
  }
  return Ini.WriteInteger("OpenPage", "PageTotal", n);
}

bool SavePageSettingsFile(ISettingsFileOps& Files, const std::string& Path,
                          const std::vector<TPageSettingsEntry>& Pages) {
  return WriteSettingsFile(Files, Path, false, [&](TIniFile& ini) { return WritePageSettings(ini, Pages); });
}

}  // namespace vel
