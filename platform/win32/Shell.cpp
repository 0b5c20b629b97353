#include "platform/Shell.h"

#include <windows.h>

#include <shellapi.h>

namespace vel {

bool OpenWithDesktop(const std::string& Target) {
  // Above 32 is success; the result is only a status, not a handle.
  return reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, nullptr, Target.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

}  // namespace vel
