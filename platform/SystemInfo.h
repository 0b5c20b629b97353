#pragma once
// What the system says of itself: its kind, free memory, and the resource
// meter of the Windows 95/98/Me kind, loaded as a library.
#include <cstdint>
#include <optional>
#include <string>

namespace vel {

// The platform kind of the OS version query.
enum : int { pkWin32s = 0, pkWindows9x = 1, pkWindowsNT = 2 };

struct TResourcePercentages {
  int8_t System = 0, Gdi = 0, User = 0;
};

class ISystemResources {
 public:
  virtual ~ISystemResources() = default;
  virtual int PlatformKind() = 0;
  virtual uint64_t AvailablePhysicalMemory() = 0;
  // The resource meter's three readings; nothing when no meter is loaded.
  virtual std::optional<TResourcePercentages> Resources() = 0;
};

class ILibraryLoader {
 public:
  virtual ~ILibraryLoader() = default;
  virtual bool Load(const std::string& Path) = 0;
  virtual bool Resolve(const std::string& Function) = 0;
};

}  // namespace vel
