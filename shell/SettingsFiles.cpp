#include "shell/SettingsFiles.h"

namespace vel {

std::string SettingsScratchPath(const std::string& Target) { return Target + ".new"; }

bool WriteSettingsFile(ISettingsFileOps& Files, const std::string& Target, bool KeepOld,
                       const std::function<bool(TIniFile&)>& Write) {
  std::string scratch = SettingsScratchPath(Target);
  // A scratch file left by an earlier crash must not leak into this one.
  if (Files.Exists(scratch) && !Files.Remove(scratch)) return false;
  if (KeepOld && Files.Exists(Target) && !Files.Copy(Target, scratch)) return false;
  TIniFile ini(scratch);
  if (!Write(ini) || !Files.Replace(scratch, Target)) {
    Files.Remove(scratch);
    return false;
  }
  return true;
}

}  // namespace vel
