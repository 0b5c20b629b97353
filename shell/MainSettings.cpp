#include "shell/MainSettings.h"

#include <algorithm>
#include <climits>
#include <set>

#include "platform/IniText.h"

namespace vel {

namespace {

// The largest n for which Section has a key Prefix<n>, plus one; 0 when none.
// The numbers that keys of the prefixes carry, in order: only accounts that
// are really there are read, whatever Total claims.
std::set<int> KeyNumbers(const TIniFile& Ini, const std::string& Section, const std::vector<std::string>& Prefixes) {
  std::set<int> numbers;
  for (const std::string& key : Ini.ReadSection(Section)) {
    for (const std::string& prefix : Prefixes) {
      if (key.size() <= prefix.size() || key.size() > prefix.size() + 9) continue;
      if (!SameIniName(key.substr(0, prefix.size()), prefix)) continue;
      std::string digits = key.substr(prefix.size());
      if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
      numbers.insert(std::stoi(digits));
    }
  }
  return numbers;
}

}  // namespace

TMainSettings ReadMainSettings(const TIniFile& Ini) {
  TMainSettings s;
  s.Left = Ini.ReadInteger("Form", "Left", s.Left);
  s.Top = Ini.ReadInteger("Form", "Top", s.Top);
  s.MemoSpeed = std::clamp(Ini.ReadInteger("Option", "MemoSpeed", DefaultMemoSpeed), MinMemoSpeed, MaxMemoSpeed);
  int position = Ini.ReadInteger("Option", "Position", 0);
  s.Position = position == 1 ? 1 : 0;
  s.TabSizeCheck = Ini.ReadBool("Option", "TabSizeCheck", false);
  s.TabSize = std::clamp(Ini.ReadInteger("Option", "TabSize", DefaultTabSize), MinTabSize, MaxTabSize);
  int total = Ini.ReadInteger("WebMail", "Total", 0);
  if (total > 0) {
    for (int i : KeyNumbers(Ini, "WebMail", {"Address", "LoginName", "LoginPass"})) {
      if (i >= total || s.Accounts.size() >= MaxWebMailAccounts) break;
      std::string n = std::to_string(i);
      s.Accounts.push_back({Ini.ReadString("WebMail", "Address" + n, ""), Ini.ReadString("WebMail", "LoginName" + n, ""),
                            Ini.ReadString("WebMail", "LoginPass" + n, "")});
    }
  }
  return s;
}

bool WriteMainSettings(TIniFile& Ini, const TMainSettings& s) {
  bool ok = Ini.WriteInteger("Form", "Left", s.Left) && Ini.WriteInteger("Form", "Top", s.Top) &&
            Ini.WriteInteger("Option", "MemoSpeed", s.MemoSpeed) && Ini.WriteBool("Option", "TabSizeCheck", s.TabSizeCheck) &&
            Ini.WriteInteger("Option", "TabSize", s.TabSize) && Ini.WriteInteger("Option", "Position", s.Position);
  for (size_t i = 0; ok && i < s.Accounts.size(); ++i) {
    std::string n = std::to_string(i);
    ok = Ini.WriteString("WebMail", "Address" + n, s.Accounts[i].Address) &&
         Ini.WriteString("WebMail", "LoginName" + n, s.Accounts[i].LoginName) &&
         Ini.WriteString("WebMail", "LoginPass" + n, s.Accounts[i].LoginPass);
  }
  return ok && Ini.WriteInteger("WebMail", "Total", static_cast<int>(s.Accounts.size()));
}

std::vector<TWebMailAccount> AccountsFromMenu(const std::vector<TMailMenuItem>& Menu,
                                              const std::vector<std::string>& LoginNames,
                                              const std::vector<std::string>& LoginPasses) {
  std::vector<TWebMailAccount> accounts;
  for (size_t i = 0; i < Menu.size(); ++i) {
    if (Menu[i].Tag == 0) continue;
    // Written by position, so an item past the first ones would leave holes
    // that Total cannot describe; the menu puts accounts first.
    if (i != accounts.size()) break;
    std::string address = Menu[i].Caption;
    if (size_t amp = address.find('&'); amp != std::string::npos) address.erase(amp, 1);
    accounts.push_back({address, i < LoginNames.size() ? LoginNames[i] : "", i < LoginPasses.size() ? LoginPasses[i] : ""});
  }
  return accounts;
}

bool SaveMainSettingsFile(ISettingsFileOps& Files, const std::string& Path, const TMainSettings& Settings) {
  return WriteSettingsFile(Files, Path, true, [&](TIniFile& ini) { return WriteMainSettings(ini, Settings); });
}

}  // namespace vel
