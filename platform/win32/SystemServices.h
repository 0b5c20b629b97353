#pragma once
// The system's answers to the page store and the settings writer: paths,
// whole-file operations, the system's kind and free memory, and the resource
// meter library of the Windows 95/98/Me kind.
#include <windows.h>

#include <string>

#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"

namespace vel::win32 {

class TSystemServices final : public IPathSystem,
                              public ISettingsFileOps,
                              public ISystemResources,
                              public ILibraryLoader {
 public:
  TSystemServices() = default;
  TSystemServices(const TSystemServices&) = delete;
  TSystemServices& operator=(const TSystemServices&) = delete;
  ~TSystemServices() override;

  // IPathSystem
  bool FileExists(const std::string& Path) override;
  std::optional<std::string> FindLongName(const std::string& Path) override;
  std::optional<std::string> ShortPath(const std::string& Path) override;
  std::string FullPath(const std::string& Path) override;
  std::optional<std::string> FileIdentity(const std::string& Path) override;
  // ISettingsFileOps
  bool Exists(const std::string& Path) override;
  bool Copy(const std::string& Source, const std::string& Target) override;
  bool Remove(const std::string& Path) override;
  bool Replace(const std::string& Source, const std::string& Target) override;
  bool CanRead(const std::string& Path) override;
  // ISystemResources
  int PlatformKind() override;
  uint64_t AvailablePhysicalMemory() override;
  std::optional<TResourcePercentages> Resources() override;
  // ILibraryLoader: the resource meter
  bool Load(const std::string& Path) override;
  bool Resolve(const std::string& Function) override;

 private:
  using TReading = signed char(WINAPI*)();
  HMODULE Meter = nullptr;
  TReading Sys = nullptr, Gdi = nullptr, User = nullptr;
};

// The running program's file, and its folder without the last separator.
std::string ExecutablePath();
std::string ExecutableDirectory();

}  // namespace vel::win32
