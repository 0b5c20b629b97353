#pragma once
// The second instance's side of the hand-off.
#include <windows.h>

#include <string>
#include <vector>

namespace vel {

// Brings the running strip to the foreground and sends it one record per
// parameter and the terminator, each synchronously (nothing without parameters).
void SendHandOff(HWND Strip, const std::vector<std::string>& Params);

// The command-line parameters in the process code page, without the program name.
std::vector<std::string> CommandLineParams();

}  // namespace vel
