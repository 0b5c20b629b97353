#include "platform/FileReplace.h"

#include <windows.h>

namespace vel {

bool ReplaceFileWith(const std::string& Source, const std::string& Target) {
  return MoveFileExA(Source.c_str(), Target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace vel
