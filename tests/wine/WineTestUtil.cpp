#include "tests/wine/WineTestUtil.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vel::wine {

std::string MakeScratchDir(const std::string& tag) {
  char tmp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, tmp);
  static int n = 0;
  std::string dir = std::string(tmp) + "vel_" + tag + "_" + std::to_string(::GetCurrentProcessId()) + "_" +
                    std::to_string(++n) + "\\";
  ::CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << bytes;
}

std::string TestExeDir() {
  char buf[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(nullptr, buf, MAX_PATH);
  std::string s(buf, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

std::string ProductExe() { return TestExeDir() + "velmorind.exe"; }

TProcess::~TProcess() {
  if (Process) {
    DWORD code = 0;
    if (::GetExitCodeProcess(Process, &code) && code == STILL_ACTIVE) ::TerminateProcess(Process, 99);
    ::CloseHandle(Process);
  }
}

bool Start(TProcess& p, const std::string& exe, const std::vector<std::string>& args, const std::string& dir) {
  std::string cmd = "\"" + exe + "\"";
  for (const auto& a : args) cmd += " \"" + a + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &si, &pi))
    return false;
  ::CloseHandle(pi.hThread);
  p.Process = pi.hProcess;
  p.Id = pi.dwProcessId;
  return true;
}

long WaitPumping(TProcess& p, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    DWORD left = timeoutMs - (::GetTickCount() - start);
    if (static_cast<long>(left) <= 0) return -1;
    DWORD r = ::MsgWaitForMultipleObjects(1, &p.Process, FALSE, left, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) {
      DWORD code = 0;
      ::GetExitCodeProcess(p.Process, &code);
      return static_cast<long>(code);
    }
    if (r == WAIT_TIMEOUT) return -1;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
}

void Pump(DWORD ms) {
  DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < ms) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(5);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (done()) return true;
    if (::GetTickCount() - start >= timeoutMs) return done();
    MSG msg;
    if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    } else {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
}

HWND WaitForWindow(const char* title, DWORD timeoutMs) {
  HWND found = nullptr;
  PumpUntil([&] { return (found = ::FindWindowA(nullptr, title)) != nullptr; }, timeoutMs);
  return found;
}

HWND FindWindowOf(DWORD pid, HWND parent, const char* cls) {
  for (HWND w = ::FindWindowExA(parent, nullptr, cls, nullptr); w; w = ::FindWindowExA(parent, w, cls, nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(w, &owner);
    if (owner == pid) return w;
  }
  return nullptr;
}

TMessageBoxWatcher::TMessageBoxWatcher(std::string caption)
    : Caption(std::move(caption)), Thread([this] { Run(); }) {}

TMessageBoxWatcher::~TMessageBoxWatcher() {
  Stop = true;
  Thread.join();
}

std::vector<std::string> TMessageBoxWatcher::Texts() {
  std::lock_guard<std::mutex> g(Lock);
  return Seen;
}

void TMessageBoxWatcher::Run() {
  struct TFind {
    const std::string* Caption;
    std::vector<HWND> Boxes;
  } find{&Caption, {}};
  while (!Stop) {
    find.Boxes.clear();
    ::EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
          auto* f = reinterpret_cast<TFind*>(lp);
          DWORD pid = 0;
          ::GetWindowThreadProcessId(w, &pid);
          char cls[16] = {}, title[128] = {};
          ::GetClassNameA(w, cls, sizeof cls);
          ::GetWindowTextA(w, title, sizeof title);
          if (pid == ::GetCurrentProcessId() && std::string(cls) == "#32770" && *f->Caption == title)
            f->Boxes.push_back(w);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    for (HWND box : find.Boxes) {
      {
        std::lock_guard<std::mutex> g(Lock);
        if (std::find(Dismissed.begin(), Dismissed.end(), box) != Dismissed.end()) continue;
        Dismissed.push_back(box);
      }
      std::string text;
      ::EnumChildWindows(
          box,
          [](HWND c, LPARAM lp) -> BOOL {
            char cls[16] = {}, buf[1024] = {};
            ::GetClassNameA(c, cls, sizeof cls);
            ::GetWindowTextA(c, buf, sizeof buf);
            if (_stricmp(cls, "Static") == 0 && buf[0]) *reinterpret_cast<std::string*>(lp) += buf;
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&text));
      {
        std::lock_guard<std::mutex> g(Lock);
        Seen.push_back(text);
      }
      ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    ::Sleep(20);
  }
}

}  // namespace vel::wine
