#include "platform/FileReplace.h"

#include <cstdio>

namespace vel {

bool ReplaceFileWith(const std::string& Source, const std::string& Target) {
  return std::rename(Source.c_str(), Target.c_str()) == 0;
}

}  // namespace vel
