#pragma once
// The main settings file: the strip's place, the options and the web-mail
// accounts. Values that cannot be used are replaced so that the program
// always starts in a working layout; nothing read is ever a reason to fail.
#include <string>
#include <vector>

#include "platform/Ini.h"
#include "shell/SettingsFiles.h"

namespace vel {

struct TWebMailAccount {
  std::string Address, LoginName, LoginPass;
  bool operator==(const TWebMailAccount&) const = default;
};

// One item of a memo window's Web-mail menu: accounts carry a non-zero Tag.
struct TMailMenuItem {
  std::string Caption;
  int Tag = 0;
};

inline constexpr int MinMemoSpeed = 10, MaxMemoSpeed = 100, DefaultMemoSpeed = 10;
inline constexpr int MinTabSize = 20, MaxTabSize = 100, DefaultTabSize = 20;
inline constexpr size_t MaxWebMailAccounts = 100;

struct TMainSettings {
  int Left = 100;
  int Top = 0;
  int MemoSpeed = DefaultMemoSpeed;  // always within 10-100
  int Position = 0;                  // 0 top, 1 bottom
  bool TabSizeCheck = false;
  int TabSize = DefaultTabSize;      // always within 20-100
  std::vector<TWebMailAccount> Accounts;
};

// MemoSpeed and TabSize outside their ranges are clamped to the nearest
// bound; a Position other than 0 or 1 is taken as 0 (the vertical layout has
// no tabs and no slide). Only the accounts below Total that have keys of
// their own are read, in index order, and at most MaxWebMailAccounts of them
// (every page's menu lists them all).
TMainSettings ReadMainSettings(const TIniFile& Ini);

// Writes every key into Ini, accounts as Address<i>/LoginName<i>/LoginPass<i>
// with i from 0, then Total. False when a write failed.
bool WriteMainSettings(TIniFile& Ini, const TMainSettings& Settings);

// The accounts as the Web-mail menu orders them: the item at menu position i
// with a non-zero Tag is account i, its address the caption without its
// first "&", its login from entry i of the two lists.
std::vector<TWebMailAccount> AccountsFromMenu(const std::vector<TMailMenuItem>& Menu,
                                              const std::vector<std::string>& LoginNames,
                                              const std::vector<std::string>& LoginPasses);

// Updates the main settings file in one step, keeping keys it does not write.
bool SaveMainSettingsFile(ISettingsFileOps& Files, const std::string& Path, const TMainSettings& Settings);

}  // namespace vel
