#pragma once
// The file system as the page store and the settings writer ask it: names in
// their long and short (8.3) forms, and whole-file operations. The Win32
// implementation is platform/win32/SystemServices.h.
#include <optional>
#include <string>

namespace vel {

// Path questions over the long and short (8.3) names.
class IPathSystem {
 public:
  virtual ~IPathSystem() = default;
  virtual bool FileExists(const std::string& Path) = 0;
  // The long name of the entry Path names (its last component only), or
  // nothing when there is no such entry.
  virtual std::optional<std::string> FindLongName(const std::string& Path) = 0;
  // The 8.3 form of an existing path, or nothing.
  virtual std::optional<std::string> ShortPath(const std::string& Path) = 0;
  // The absolute form of Path in the process's working folder now: "." and
  // ".." resolved, "/" made "\\", a "\\?\\" prefix dropped.
  virtual std::string FullPath(const std::string& Path) = 0;
  // What makes two names one file (the volume and the file's index where
  // the system gives them); nothing when it cannot tell.
  virtual std::optional<std::string> FileIdentity(const std::string& Path) = 0;
};

// The file operations of writing a file in one step; tests fake them over
// the headless INI store.
class ISettingsFileOps {
 public:
  virtual ~ISettingsFileOps() = default;
  virtual bool Exists(const std::string& Path) = 0;
  virtual bool Copy(const std::string& Source, const std::string& Target) = 0;
  virtual bool Remove(const std::string& Path) = 0;
  // Moves Source over Target; false leaves Target as it was.
  virtual bool Replace(const std::string& Source, const std::string& Target) = 0;
  // False when Path exists but cannot be read now (another program holds
  // it): what was read of it is then not the file's contents.
  virtual bool CanRead(const std::string& Path) { return (void)Path, true; }
};

}  // namespace vel
