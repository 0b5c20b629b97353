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

}  // namespace

TPageViewSettings ReadPageView(const std::function<std::optional<std::string>(const std::string& Key)>& Value) {
  auto integer = [&](const char* key, int def) {
    std::optional<std::string> v = Value(key);
    return v ? ParseIniInteger(*v).value_or(def) : def;
  };
  auto flag = [&](const char* key) { return integer(key, 0) != 0; };
  TPageViewSettings d, v;
  v.TabBColor = integer("TabBColor", d.TabBColor);
  v.TabCColor = integer("TabCColor", d.TabCColor);
  std::string font = Value("FontName").value_or(d.FontName);
  v.FontName = UsableFaceName(font) ? font : d.FontName;
  v.FontSize = InRange(integer("FontSize", d.FontSize), 1, 1638, d.FontSize);
  v.MemoFormHeight = InRange(integer("MemoFormHeight", d.MemoFormHeight), MinMemoFormHeight, MaxMemoFormHeight,
                             d.MemoFormHeight);
  v.MemoFormWidth =
      InRange(integer("MemoFormWidth", d.MemoFormWidth), MinMemoFormWidth, MaxMemoFormWidth, d.MemoFormWidth);
  v.MemoFormCRMark = flag("MemoFormCRMark");
  v.MemoFormEOFMark = flag("MemoFormEOFMark");
  v.MemoFormLineNum = flag("MemoFormLineNum");
  int mode = integer("MemoFormNumMode", 0);
  if (mode == 0 || mode == 1) v.MemoFormNumMode = mode;
  v.MemoFormLineNumTopZero = flag("MemoFormLineNumTopZero");
  v.MemoFormWordWrap = flag("MemoFormWordWrap");
  // The editor clamps the wrap width itself; only nonsense falls back.
  v.MemoFormWrapByte = InRange(integer("MemoFormWrapByte", d.MemoFormWrapByte), 1, 100000, d.MemoFormWrapByte);
  return v;
}

std::vector<std::pair<std::string, std::string>> PageViewValues(const TPageViewSettings& v) {
  auto n = [](int i) { return std::to_string(i); };
  auto b = [](bool on) { return std::string(on ? "1" : "0"); };
  return {{"TabBColor", n(v.TabBColor)},
          {"TabCColor", n(v.TabCColor)},
          {"FontName", v.FontName},
          {"FontSize", n(v.FontSize)},
          {"MemoFormHeight", n(v.MemoFormHeight)},
          {"MemoFormWidth", n(v.MemoFormWidth)},
          {"MemoFormCRMark", b(v.MemoFormCRMark)},
          {"MemoFormEOFMark", b(v.MemoFormEOFMark)},
          {"MemoFormLineNum", b(v.MemoFormLineNum)},
          {"MemoFormNumMode", n(v.MemoFormNumMode.value_or(0))},
          {"MemoFormLineNumTopZero", b(v.MemoFormLineNumTopZero)},
          {"MemoFormWordWrap", b(v.MemoFormWordWrap)},
          {"MemoFormWrapByte", n(v.MemoFormWrapByte)}};
}

namespace {

TPageViewSettings ReadView(const TIniFile& Ini, const std::string& sec) {
  // A value no key can hold stands for a missing key.
  static const std::string missing = "\x01";
  return ReadPageView([&](const std::string& key) -> std::optional<std::string> {
    std::string v = Ini.ReadString(sec, key, missing);
    if (v == missing) return std::nullopt;
    return v;
  });
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
  // Built whole and written once: key by key, every key rewrote the file,
  // and a long page list took seconds to save.
  std::string text;
  int n = 0;
  for (const TPageSettingsEntry& p : Pages) {
    text += "[Page" + std::to_string(++n) + "]\r\nFilePath=" + p.FilePath + "\r\n";
    for (const auto& [key, value] : PageViewValues(p.View)) text += key + "=" + value + "\r\n";
  }
  text += "[OpenPage]\r\nPageTotal=" + std::to_string(n) + "\r\n";
  return Ini.WriteText(text);
}

bool SavePageSettingsFile(ISettingsFileOps& Files, const std::string& Path,
                          const std::vector<TPageSettingsEntry>& Pages) {
  return WriteSettingsFile(Files, Path, false, [&](TIniFile& ini) { return WritePageSettings(ini, Pages); });
}

}  // namespace vel
