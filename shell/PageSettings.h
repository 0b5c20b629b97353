#pragma once
// PageSetting.ini: the pages to restore at start, each with its file and its
// view settings, in page-list order.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Ini.h"
#include "shell/SettingsFiles.h"

namespace vel {

enum class TPageKind { Normal, Clipboard, QuoteClipboard };

struct TPageViewSettings {
  int32_t TabBColor = static_cast<int32_t>(0x8000000D);  // clHighlight
  int32_t TabCColor = 0xFFFFFF;
  std::string FontName = "ＭＳ Ｐゴシック";
  int FontSize = 9;
  int MemoFormHeight = 480;
  int MemoFormWidth = 640;
  bool MemoFormCRMark = false;
  bool MemoFormEOFMark = false;
  bool MemoFormLineNum = false;
  std::optional<int> MemoFormNumMode;  // 0 or 1; anything else keeps the editor's mode
  bool MemoFormLineNumTopZero = false;
  bool MemoFormWordWrap = false;
  int MemoFormWrapByte = 80;
  bool operator==(const TPageViewSettings&) const = default;
};

struct TPageSettingsEntry {
  std::string FilePath;
  TPageViewSettings View;
  bool operator==(const TPageSettingsEntry&) const = default;
};

inline constexpr int MinMemoFormHeight = 50, MaxMemoFormHeight = 16384;
inline constexpr int MinMemoFormWidth = 100, MaxMemoFormWidth = 16384;

// The path of PageSetting.ini beside the executable.
std::string PageSettingsPath(const std::string& ExePath);

// The page sections in page order: Page1 ... Page<PageTotal>, taking only the
// sections that exist (a huge PageTotal costs nothing), or every Page<n>
// section when PageTotal is missing or unusable, so a damaged count loses no
// page. A section without a FilePath is left out. A value that cannot be
// used (a size out of range, a font name that is no valid face name) is the
// key's default.
std::vector<TPageSettingsEntry> ReadPageSettings(const TIniFile& Ini);

// A page's view as stored: its keys and values in the order they are
// written, and read back from a source of values (nothing for a missing
// key), with the same rules for unusable values. Recovery journals keep a
// page's view in these same keys.
std::vector<std::pair<std::string, std::string>> PageViewValues(const TPageViewSettings& View);
TPageViewSettings ReadPageView(const std::function<std::optional<std::string>(const std::string& Key)>& Value);

// Writes Page1 ... Page<n> and PageTotal into Ini (expected empty).
bool WritePageSettings(TIniFile& Ini, const std::vector<TPageSettingsEntry>& Pages);

// Rewrites PageSetting.ini from Pages in one step.
bool SavePageSettingsFile(ISettingsFileOps& Files, const std::string& Path,
                          const std::vector<TPageSettingsEntry>& Pages);

}  // namespace vel
