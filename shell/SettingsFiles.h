#pragma once
// Writing a settings file in one step. The new contents are written to a
// file beside the target through the INI functions and then moved over the
// target, so a crash or a full disk during the write keeps the old file.
#include <functional>
#include <string>

#include "platform/Ini.h"

namespace vel {

// The file operations the settings writer needs; the Win32 forms implement
// them with the kernel's file calls, tests over the headless INI store.
class ISettingsFileOps {
 public:
  virtual ~ISettingsFileOps() = default;
  virtual bool Exists(const std::string& Path) = 0;
  virtual bool Copy(const std::string& Source, const std::string& Target) = 0;
  virtual bool Remove(const std::string& Path) = 0;
  // Moves Source over Target; false leaves Target as it was.
  virtual bool Replace(const std::string& Source, const std::string& Target) = 0;
};

// The name of the file a settings file is written to before it replaces it.
std::string SettingsScratchPath(const std::string& Target);

// Runs Write on a scratch file and moves it over Target when Write succeeded.
// KeepOld starts the scratch file as a copy of Target (keys nobody writes
// survive); otherwise it starts empty. False when anything failed: Target is
// then untouched and the scratch file removed.
bool WriteSettingsFile(ISettingsFileOps& Files, const std::string& Target, bool KeepOld,
                       const std::function<bool(TIniFile&)>& Write);

}  // namespace vel
