#pragma once
// Helpers for the tests that run under Wine: scratch folders, and starting
// programs while this thread keeps handling the messages they send it.
#include <windows.h>

#include <string>
#include <vector>

namespace vel::wine {

// A fresh, empty folder under the temporary folder (with a trailing backslash).
std::string MakeScratchDir(const std::string& tag);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string TestExeDir();
// build/win/velmorind.exe, next to the test programs.
std::string ProductExe();

struct TProcess {
  HANDLE Process = nullptr;
  DWORD Id = 0;
  ~TProcess();
};

// Starts exe with the arguments (quoted as needed) in dir.
bool Start(TProcess& p, const std::string& exe, const std::vector<std::string>& args, const std::string& dir);
// Waits for the process to end, handling this thread's messages meanwhile.
// Returns the exit code, or -1 on timeout.
long WaitPumping(TProcess& p, DWORD timeoutMs);
// Handles this thread's messages for a while.
void Pump(DWORD ms);
// Polls FindWindowA by title until found or timeout.
HWND WaitForWindow(const char* title, DWORD timeoutMs);

}  // namespace vel::wine
