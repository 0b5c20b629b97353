#pragma once
// Stand-ins for the windows, the file system and the system resources that
// the page store talks to: they record what was asked and answer from tables.
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/headless/Headless.h"
#include "shell/PageStore.h"
#include "shell/SettingsFiles.h"

namespace vel {

// Settings file operations over the headless INI store; Exists follows what
// was written or copied, and each operation can be made to fail.
class TFakeSettingsFiles final : public ISettingsFileOps {
 public:
  std::set<std::string> Present;
  bool FailCopy = false, FailReplace = false;
  bool Exists(const std::string& p) override { return Present.count(p) > 0; }
  bool Copy(const std::string& s, const std::string& t) override {
    if (FailCopy) return false;
    headless::SetIniFileText(t, headless::IniFileText(s));
    Present.insert(t);
    return true;
  }
  bool Remove(const std::string& p) override {
    headless::SetIniFileText(p, "");
    Present.erase(p);
    return true;
  }
  bool Replace(const std::string& s, const std::string& t) override {
    if (FailReplace) return false;
    headless::SetIniFileText(t, headless::IniFileText(s));
    headless::SetIniFileText(s, "");
    Present.erase(s);
    Present.insert(t);
    return true;
  }
};

// Files by long path; ShortNames maps a long path to its 8.3 form.
class TFakePaths final : public IPathSystem {
 public:
  std::set<std::string> Files;
  std::map<std::string, std::string> ShortNames;
  std::map<std::string, std::string> LongNames;  // path as given -> last component's long name
  bool FileExists(const std::string& p) override { return Files.count(p) > 0 || LongOf(p) != p; }
  std::optional<std::string> FindLongName(const std::string& p) override {
    auto it = LongNames.find(p);
    if (it != LongNames.end()) return it->second;
    if (Files.count(p)) return ExtractFileName(p);
    return std::nullopt;
  }
  // Names are full already; only the separators are made one kind.
  std::string FullPath(const std::string& p) override {
    std::string r = p;
    for (char& c : r)
      if (c == '/') c = '\\';
    return r;
  }
  std::map<std::string, std::string> Identities;  // path -> file identity
  std::optional<std::string> FileIdentity(const std::string& p) override {
    auto it = Identities.find(p);
    return it == Identities.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
  std::optional<std::string> ShortPath(const std::string& p) override {
    for (const auto& [l, s] : ShortNames)
      if (SameFileName(l, p) || SameFileName(s, p)) return s;
    return std::nullopt;
  }
  std::string LongOf(const std::string& p) const {
    for (const auto& [l, s] : ShortNames)
      if (SameFileName(s, p)) return l;
    return p;
  }
};

class TFakeSystem final : public ISystemResources {
 public:
  int Kind = pkWindowsNT;
  uint64_t Memory = 64u << 20;
  std::optional<TResourcePercentages> Meter;
  int Allowed = 1 << 30;  // how many more pages the memory allows
  int PlatformKind() override { return Kind; }
  uint64_t AvailablePhysicalMemory() override { return Allowed-- > 0 ? Memory : 0; }
  std::optional<TResourcePercentages> Resources() override { return Meter; }
};

class TFakeWindows final : public IPageWindows {
 public:
  std::vector<std::string> Log;
  std::map<int, std::string> Texts;
  std::map<int, bool> ModifiedPages;
  std::set<std::string> Unreadable;
  std::map<int, TPageViewSettings> Views;
  std::map<int, TRect> Bounds;
  TScrollArrows Arrows;
  int CaptionWidth(const std::string& c) override { return 6 * static_cast<int>(c.size()); }
  void CreatePage(const TPage& p) override { Log.push_back("create " + std::to_string(p.PageId) + " " + p.Caption); }
  void DestroyPage(int id) override { Log.push_back("destroy " + std::to_string(id)); }
  void ShowTab(int) override {}
  void ApplyView(int id, const TPageViewSettings& v) override { Views[id] = v; }
  TPageViewSettings CurrentView(int id) override { return Views[id]; }
  void LoadFile(int id, const std::string& path) override {
    if (Unreadable.count(path)) throw std::runtime_error("Cannot open file \"" + path + "\"");
    Texts[id] = "text of " + path;
    Log.push_back("load " + std::to_string(id) + " " + path);
  }
  void SetText(int id, const std::string& t) override { Texts[id] = t; }
  void SetRecoveredText(int id, const std::string& t) override {
    Texts[id] = t;
    ModifiedPages[id] = true;
  }
  bool Modified(int id) override { return ModifiedPages[id]; }
  void AnimateSlide(int id, bool in) override { Log.push_back((in ? "in " : "out ") + std::to_string(id)); }
  void Foreground(int id) override { Log.push_back("fg " + std::to_string(id)); }
  TRect MemoBounds(int id) override { return Bounds[id]; }
  void TabsChanged() override {}
  void SetScrollArrows(TScrollArrows a) override { Arrows = a; }
  void ShowFileError(int owner, const std::string& text) override {
    Log.push_back("error " + std::to_string(owner) + " " + text);
  }
};

}  // namespace vel
