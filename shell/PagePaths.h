#pragma once
// Path questions of the page store, over the file system's long and short
// (8.3) names.
#include <optional>
#include <string>

#include "platform/FileSystem.h"

namespace vel {


// Brings every component of Path to its long form, from the last one back,
// until one is not found; the head from there on stays as given. A name that
// does not exist comes back unchanged.
std::string ExpandLongPath(IPathSystem& Paths, const std::string& Path);

// The part after the last backslash (or slash), by whole characters.
std::string ExtractFileName(const std::string& Path);

// A name the system gives to a device rather than a file (CON, NUL, COM1,
// LPT1, ... with any extension, in any folder, or a \\\\.\\ path): reading
// one can wait forever, so it never becomes a page.
bool IsDeviceName(const std::string& Path);

// Equal ignoring the case of ASCII letters; double-byte characters compare as they are.
bool SameFileName(const std::string& a, const std::string& b);

}  // namespace vel
