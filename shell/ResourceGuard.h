#pragma once
// The guard that refuses new pages when the system runs short, and the
// resource meter that the Windows 95/98/Me kind asks besides free memory.
#include <string>

#include "platform/SystemInfo.h"

namespace vel {

// Allows a page: never on Win32s; on the NT family (and any later kind) when
// more than 7,105 bytes of physical memory are free; on 95/98/Me besides
// when every resource reading is above 20 percent (free memory alone without
// a meter). A refusal is shown in the application's message box.
bool CanCreatePage(ISystemResources& System);

// The meter library's exports, resolved in this order at start on 95/98/Me.
inline constexpr const char* ResourceMeterFunctions[] = {"GetResInfo", "GetSysRes", "GetGdiRes", "GetUserRes"};
inline constexpr char ResourceMeterLibrary[] = "resinfo.dll";

// Loads the meter from the executable's folder (given without its last
// separator) and never from the search path, so no other folder can slip a
// library in; then resolves its four functions. On the first failure shows its stop message and returns false.
bool LoadResourceMeter(ILibraryLoader& Loader, const std::string& ExeDirectory);

}  // namespace vel
