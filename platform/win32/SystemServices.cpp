#include "platform/win32/SystemServices.h"

#include <cstdio>

#include "platform/FileReplace.h"
#include "platform/win32/Handles.h"
#include "text/Sjis.h"

namespace vel::win32 {

TSystemServices::~TSystemServices() {
  if (Meter) ::FreeLibrary(Meter);
}

// Only a regular disk file: reading a device (COM1, a pipe) can block forever.
bool TSystemServices::FileExists(const std::string& Path) {
  DWORD a = ::GetFileAttributesA(Path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES || (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))) return false;
  // No access asked: opening for attributes never waits on a device.
  TFileHandle f(::CreateFileA(Path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  return !f || ::GetFileType(f.Get()) == FILE_TYPE_DISK;
}

std::optional<std::string> TSystemServices::FindLongName(const std::string& Path) {
  // A wildcard would find some other entry.
  if (Path.find_first_of("*?") != std::string::npos) return std::nullopt;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA(Path.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  ::FindClose(h);
  return std::string(fd.cFileName);
}

std::optional<std::string> TSystemServices::ShortPath(const std::string& Path) {
  char buf[MAX_PATH * 4];
  DWORD n = ::GetShortPathNameA(Path.c_str(), buf, sizeof buf);
  if (n == 0 || n >= sizeof buf) return std::nullopt;
  return std::string(buf, n);
}

std::string TSystemServices::FullPath(const std::string& Path) {
  std::string p = Path;
  if (p.rfind("\\\\?\\", 0) == 0 && p.rfind("\\\\?\\UNC\\", 0) != 0) p.erase(0, 4);
  DWORD n = ::GetFullPathNameA(p.c_str(), 0, nullptr, nullptr);
  if (n == 0) return Path;
  std::string full(n, '\0');
  n = ::GetFullPathNameA(p.c_str(), n, full.data(), nullptr);
  if (n == 0 || n >= full.size()) return Path;
  full.resize(n);
  return full;
}

std::optional<std::string> TSystemServices::FileIdentity(const std::string& Path) {
  TFileHandle f(::CreateFileA(Path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!f || !::GetFileInformationByHandle(f.Get(), &info)) return std::nullopt;
  if (info.nFileIndexHigh == 0 && info.nFileIndexLow == 0) return std::nullopt;
  char key[64];
  std::snprintf(key, sizeof key, "%08lx:%08lx%08lx", static_cast<unsigned long>(info.dwVolumeSerialNumber),
                static_cast<unsigned long>(info.nFileIndexHigh), static_cast<unsigned long>(info.nFileIndexLow));
  return std::string(key);
}

bool TSystemServices::Exists(const std::string& Path) {
  return ::GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool TSystemServices::Copy(const std::string& Source, const std::string& Target) {
  return ::CopyFileA(Source.c_str(), Target.c_str(), FALSE) != 0;
}

bool TSystemServices::Remove(const std::string& Path) {
  return ::DeleteFileA(Path.c_str()) != 0 || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool TSystemServices::Replace(const std::string& Source, const std::string& Target) {
  return ReplaceFileWith(Source, Target);
}

bool TSystemServices::CanRead(const std::string& Path) {
  TFileHandle f(::CreateFileA(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr));
  if (f) return true;
  DWORD e = ::GetLastError();
  return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
}

int TSystemServices::PlatformKind() {
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof vi;
  if (!::GetVersionExA(&vi)) return pkWindowsNT;
  return static_cast<int>(vi.dwPlatformId);
}

uint64_t TSystemServices::AvailablePhysicalMemory() {
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof ms;
  return ::GlobalMemoryStatusEx(&ms) ? ms.ullAvailPhys : 0;
}

std::optional<TResourcePercentages> TSystemServices::Resources() {
  if (!Sys || !Gdi || !User) return std::nullopt;
  return TResourcePercentages{Sys(), Gdi(), User()};
}

bool TSystemServices::Load(const std::string& Path) {
  if (Meter) ::FreeLibrary(Meter);
  Sys = Gdi = User = nullptr;
  Meter = ::LoadLibraryA(Path.c_str());
  return Meter != nullptr;
}

bool TSystemServices::Resolve(const std::string& Function) {
  FARPROC f = Meter ? ::GetProcAddress(Meter, Function.c_str()) : nullptr;
  auto reading = reinterpret_cast<TReading>(reinterpret_cast<void*>(f));
  if (Function == "GetSysRes") Sys = reading;
  if (Function == "GetGdiRes") Gdi = reading;
  if (Function == "GetUserRes") User = reading;
  return f != nullptr;
}

std::string ExecutablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string ExecutableDirectory() {
  std::string path = ExecutablePath();
  // Scanned forward: a backslash byte can be the trail byte of a character.
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(path[i]);
    if (sjis::IsLeadByte(b)) {
      ++i;
      continue;
    }
    if (b == '\\' || b == '/') last = i;
  }
  return last == std::string::npos ? std::string() : path.substr(0, last);
}

}  // namespace vel::win32
