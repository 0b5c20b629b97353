#include "platform/FileReplace.h"

#include <windows.h>

#include <io.h>

#include <string>

#include "platform/win32/Handles.h"
#include "text/Sjis.h"

namespace vel {

namespace {

// The folder part with its last separator, scanned forward: a backslash
// byte can be the second byte of a character.
std::string FolderOf(const std::string& p) {
  size_t cut = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(p[i]);
    if (sjis::IsLeadByte(b)) {
      ++i;
      continue;
    }
    if (b == '\\' || b == '/' || b == ':') cut = i + 1;
  }
  return p.substr(0, cut);
}

}  // namespace

TSaveTarget ResolveSaveTarget(const std::string& Path) {
  TSaveTarget t{Path, false};
  DWORD a = ::GetFileAttributesA(Path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return t;
  if (a & FILE_ATTRIBUTE_REPARSE_POINT) {
    // Opened through the link: the handle is the target's.
    win32::TFileHandle f(::CreateFileA(Path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    char buf[MAX_PATH * 4];
    DWORD n = f ? ::GetFinalPathNameByHandleA(f.Get(), buf, sizeof buf, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS) : 0;
    if (n > 0 && n < sizeof buf) {
      std::string real(buf, n);
      if (real.rfind("\\\\?\\", 0) == 0 && real.rfind("\\\\?\\UNC\\", 0) != 0) real.erase(0, 4);
      t.Path = real;
      a = ::GetFileAttributesA(real.c_str());
    }
  }
  t.ReadOnly = a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
  return t;
}

std::string CreateScratchBeside(const std::string& Target) {
  const std::string folder = FolderOf(Target);
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((Target + kScratchInfix + "*.tmp").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do ::DeleteFileA((folder + fd.cFileName).c_str());
    while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  const unsigned base = ::GetCurrentProcessId() * 7919u + ::GetTickCount();
  for (unsigned n = 0; n < 1000; ++n) {
    std::string name = Target + kScratchInfix + std::to_string(base + n) + ".tmp";
    win32::TFileHandle f(
        ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (f) return name;
    if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return {};
}

bool FlushToDisk(std::FILE* File) {
  if (std::fflush(File) != 0) return false;
  auto h = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(File)));
  return h != INVALID_HANDLE_VALUE && ::FlushFileBuffers(h);
}

bool ReplaceFileWith(const std::string& Source, const std::string& Target) {
  {
    win32::TFileHandle f(::CreateFileA(Source.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!f || !::FlushFileBuffers(f.Get())) return false;
  }
  // What the user set on the file (hidden, not indexed, ...) stays with it.
  DWORD keep = ::GetFileAttributesA(Target.c_str());
  if (!::MoveFileExA(Source.c_str(), Target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return false;
  if (keep != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesA(Target.c_str(), keep & ~FILE_ATTRIBUTE_DIRECTORY);
  return true;
}

}  // namespace vel
