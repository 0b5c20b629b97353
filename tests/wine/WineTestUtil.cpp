#include "tests/wine/WineTestUtil.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vel::wine {

namespace {

// Wine gives process ids again from one run to the next: a folder of an
// earlier run with the same name is cleared, so no test sees its files.
void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(dir + name + "\\");
      } else {
        ::SetFileAttributesA((dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA((dir + name).c_str());
      }
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  ::RemoveDirectoryA(dir.c_str());
}

}  // namespace

std::string MakeScratchDir(const std::string& tag) {
  char tmp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, tmp);
  static int n = 0;
  std::string dir = std::string(tmp) + "vel_" + tag + "_" + std::to_string(::GetCurrentProcessId()) + "_" +
                    std::to_string(++n) + "\\";
  RemoveTree(dir);
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

namespace {

// Wine's own path conversions, absent elsewhere.
std::string UnixPath(const std::string& dos) {
  using TToUnix = char*(CDECL*)(const WCHAR*);
  static const auto toUnix =
      reinterpret_cast<TToUnix>(reinterpret_cast<void (*)()>(
          ::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  std::wstring wide(dos.begin(), dos.end());
  char* p = toUnix(wide.c_str());
  if (!p) return {};
  std::string s = p;
  ::HeapFree(::GetProcessHeap(), 0, p);
  return s;
}

std::wstring DosPath(const char* unix) {
  using TToDos = WCHAR*(CDECL*)(const char*);
  static const auto toDos =
      reinterpret_cast<TToDos>(reinterpret_cast<void (*)()>(
          ::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_dos_file_name")));
  if (!toDos) return {};
  WCHAR* p = toDos(unix);
  if (!p) return {};
  std::wstring s = p;
  ::HeapFree(::GetProcessHeap(), 0, p);
  return s;
}

std::wstring Widen(UINT codePage, const std::string& s) {
  std::wstring w(s.size(), L'\0');
  w.resize(static_cast<size_t>(::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), w.data(),
                                                     static_cast<int>(w.size()))));
  return w;
}

}  // namespace

bool Xdotool(const std::string& args, std::string* out, DWORD timeoutMs) {
  if (out) out->clear();
  const std::wstring shell = DosPath("/bin/sh");
  char tmp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, tmp);
  static std::atomic<int> serial{0};
  const std::string base =
      std::string(tmp) + "vel_xdo_" + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(++serial);
  const std::string unixBase = UnixPath(base);
  if (shell.empty() || unixBase.empty() || unixBase.find('\'') != std::string::npos) return false;
  // The arguments are in the program's code page, the Unix path in UTF-8;
  // Wine hands the command line on in the locale's encoding. A Shift-JIS
  // trail byte may look like a backslash: the check is on characters.
  const std::wstring wideArgs = Widen(CP_ACP, args), wideBase = Widen(CP_UTF8, unixBase);
  if (wideArgs.find_first_of(L"\"\\") != std::wstring::npos) return false;
  // Wine starts a Unix program without a process handle to wait on: the
  // shell leaves xdotool's exit status in a file, renamed into place whole.
  const std::wstring q = L"'" + wideBase;
  std::wstring cmd = L"sh -c \"xdotool " + wideArgs + L" >" + q + L".out'; echo $? >" + q + L".tmp'; mv " + q +
                     L".tmp' " + q + L".done'\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(shell.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  if (pi.hThread) ::CloseHandle(pi.hThread);
  if (pi.hProcess) ::CloseHandle(pi.hProcess);
  const std::string done = base + ".done";
  const bool ended =
      PumpUntil([&] { return ::GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs);
  const std::string status = ended ? ReadFileBytes(done) : std::string();
  if (out) *out = ReadFileBytes(base + ".out");
  ::DeleteFileA(done.c_str());
  ::DeleteFileA((base + ".out").c_str());
  return status == "0\n";
}

std::string XdotoolMissing() {
  static const std::string why = [] {
    if (UnixPath("C:\\").empty()) return std::string("not running under Wine");
    if (DosPath("/bin/sh").empty()) return std::string("no /bin/sh to start xdotool with");
    std::string out;
    if (!Xdotool("getdisplaygeometry", &out)) return std::string("xdotool cannot be run or cannot reach the display");
    return std::string();
  }();
  return why;
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
      // A box still being built has no text yet: read it at the next look.
      if (text.empty()) continue;
      {
        std::lock_guard<std::mutex> g(Lock);
        Dismissed.push_back(box);
        Seen.push_back(text);
      }
      ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    ::Sleep(20);
  }
}

}  // namespace vel::wine
