#pragma once
// Writing a settings file in one step. The new contents are written to a
// file beside the target through the INI functions and then moved over the
// target, so a crash or a full disk during the write keeps the old file.
#include <functional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Ini.h"

namespace vel {


// The name of the file a settings file is written to before it replaces it.
std::string SettingsScratchPath(const std::string& Target);

// Runs Write on a scratch file and moves it over Target when Write succeeded.
// KeepOld starts the scratch file as a copy of Target (keys nobody writes
// survive); otherwise it starts empty. False when anything failed: Target is
// then untouched and the scratch file removed.
bool WriteSettingsFile(ISettingsFileOps& Files, const std::string& Target, bool KeepOld,
                       const std::function<bool(TIniFile&)>& Write);

}  // namespace vel
