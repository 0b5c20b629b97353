#pragma once
// Helpers for the tests that run under Wine: scratch folders, and starting
// programs while this thread keeps handling the messages they send it.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
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
// Handles this thread's messages until done() is true (checked between
// messages) or the time is up; returns done()'s last answer. Tests wait with
// this instead of a fixed pause before they assert.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Polls FindWindowA by title until found or timeout.
HWND WaitForWindow(const char* title, DWORD timeoutMs);
// The first window of a class in a process, searched among the top-level
// windows or the children of parent.
HWND FindWindowOf(DWORD pid, HWND parent, const char* cls);

// Runs xdotool on the X display under Wine, so that keys and the pointer come
// through the X server as a person's would, and waits for it to end while
// handling this thread's messages. The shell splits the arguments (single
// quotes group words; double quotes and backslashes are refused). Returns
// whether xdotool succeeded; its standard output goes to *out when asked for.
bool Xdotool(const std::string& args, std::string* out = nullptr, DWORD timeoutMs = 10000);
// Empty when xdotool can be run here and reaches the display; otherwise why not.
std::string XdotoolMissing();

// Watches, from a thread of its own, for message boxes of this process with
// the given caption; records their texts and dismisses them with OK, so a
// test can see the box that code under test shows and go on.
class TMessageBoxWatcher {
 public:
  explicit TMessageBoxWatcher(std::string caption);
  ~TMessageBoxWatcher();
  TMessageBoxWatcher(const TMessageBoxWatcher&) = delete;
  TMessageBoxWatcher& operator=(const TMessageBoxWatcher&) = delete;
  std::vector<std::string> Texts();

 private:
  void Run();
  std::string Caption;
  std::mutex Lock;
  std::vector<std::string> Seen;
  std::vector<HWND> Dismissed;
  std::atomic<bool> Stop{false};
  std::thread Thread;
};

}  // namespace vel::wine
