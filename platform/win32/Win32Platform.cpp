// The platform services of platform/*.h over the Win32 API.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/Color.h"
#include "platform/Cursors.h"
#include "platform/Ini.h"
#include "platform/MessageBox.h"
#include "platform/Messages.h"
#include "platform/Reset.h"
#include "platform/Screen.h"
#include "platform/win32/Encoding.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Window.h"

namespace vel {

namespace {

// Clipboard data needs an owner window; a message-only one serves.
HWND ClipboardOwner() {
  static HWND wnd = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "VelmorindClipboardOwner";
    ::RegisterClassA(&wc);
    return ::CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                             nullptr);
  }();
  return wnd;
}

std::optional<std::string> ReadGlobalText(HANDLE h) {
  if (!h) return std::nullopt;
  const char* p = static_cast<const char*>(::GlobalLock(h));
  if (!p) return std::nullopt;
  SIZE_T size = ::GlobalSize(h);
  size_t n = 0;
  while (n < size && p[n]) ++n;  // never past the block, even without a zero
  std::string s(p, n);
  ::GlobalUnlock(h);
  return s;
}

HGLOBAL GlobalFromBytes(const std::string& s) {
  HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
  if (!g) return nullptr;
  char* p = static_cast<char*>(::GlobalLock(g));
  memcpy(p, s.data(), s.size());
  p[s.size()] = '\0';
  ::GlobalUnlock(g);
  return g;
}

// The program's own copy of the text: its length, then every byte.
std::optional<std::string> ReadCounted(HANDLE h) {
  if (!h) return std::nullopt;
  const char* p = static_cast<const char*>(::GlobalLock(h));
  if (!p) return std::nullopt;
  SIZE_T size = ::GlobalSize(h);
  std::optional<std::string> s;
  uint64_t n = 0;
  if (size >= sizeof n) {
    memcpy(&n, p, sizeof n);
    if (n <= size - sizeof n) s.emplace(p + sizeof n, static_cast<size_t>(n));
  }
  ::GlobalUnlock(h);
  return s;
}

HGLOBAL GlobalCounted(const std::string& s) {
  uint64_t n = s.size();
  HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE, sizeof n + s.size());
  if (!g) return nullptr;
  char* p = static_cast<char*>(::GlobalLock(g));
  memcpy(p, &n, sizeof n);
  memcpy(p + sizeof n, s.data(), s.size());
  ::GlobalUnlock(g);
  return g;
}

class Win32Clipboard final : public IClipboard {
 public:
  unsigned RegisterFormat(const std::string& name) override { return ::RegisterClipboardFormatA(name.c_str()); }
  bool HasText() override { return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE; }
  bool HasFormat(unsigned f) override { return ::IsClipboardFormatAvailable(f) != FALSE; }
  std::optional<std::string> GetText() override {
    unsigned counted = Counted();
    win32::TClipboardGuard guard(ClipboardOwner());
    if (!guard) return std::nullopt;
    if (counted && ::IsClipboardFormatAvailable(counted))
      if (auto whole = ReadCounted(::GetClipboardData(counted))) return whole;
    return ReadGlobalText(::GetClipboardData(CF_TEXT));
  }
  std::optional<std::string> GetData(unsigned f) override {
    win32::TClipboardGuard guard(ClipboardOwner());
    if (!guard) return std::nullopt;
    return ReadGlobalText(::GetClipboardData(f));
  }
  bool SetText(const std::string& text, unsigned extra) override {
    win32::TClipboardGuard guard(ClipboardOwner());
    if (!guard) return false;
    ::EmptyClipboard();
    // Other programs read the plain text, which ends at a NUL for them anyway.
    std::string plain = text.substr(0, text.find('\0'));
    bool ok = Put(CF_TEXT, GlobalFromBytes(plain));
    if (unsigned counted = Counted()) ok = Put(counted, GlobalCounted(text)) && ok;
    if (extra) ok = Put(extra, GlobalFromBytes(plain)) && ok;
    return ok;
  }

 private:
  unsigned Counted() {
    if (!CountedFormat) CountedFormat = ::RegisterClipboardFormatA(kCountedTextFormat);
    return CountedFormat;
  }
  static bool Put(unsigned format, HGLOBAL g) {
    if (g && ::SetClipboardData(format, g)) return true;
    if (g) ::GlobalFree(g);
    return false;
  }
  unsigned CountedFormat = 0;
};

std::map<int, HCURSOR>& CursorTable() {
  static std::map<int, HCURSOR> t;
  return t;
}

// Grows the buffer until the profile call no longer fills it.
template <typename Call>
std::string ProfileCall(Call call, DWORD slack) {
  std::vector<char> buf(1024);
  for (;;) {
    DWORD n = call(buf.data(), static_cast<DWORD>(buf.size()));
    if (n + slack < buf.size() || buf.size() > (64u << 20)) return std::string(buf.data(), n);
    buf.resize(buf.size() * 4);
  }
}

std::vector<std::string> SplitDoubleNul(const std::string& s) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < s.size()) {
    size_t z = s.find('\0', i);
    if (z == std::string::npos) z = s.size();
    if (z > i) out.push_back(s.substr(i, z - i));
    i = z + 1;
  }
  return out;
}

}  // namespace

IClipboard& Clipboard() {
  static Win32Clipboard c;
  return c;
}

TRect WorkArea() {
  RECT r{};
  if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return ScreenRect();
  return {r.left, r.top, r.right, r.bottom};
}

TRect ScreenRect() { return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}; }

int ShowMessageBox(TWindowHandle owner, const std::string& text, const std::string& caption, unsigned flags) {
  return ::MessageBoxW(reinterpret_cast<HWND>(owner), win32::WideFromCp932(text).c_str(),
                       win32::WideFromCp932(caption).c_str(), flags);
}

void ProcessMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The loop that owns the quit must still see it.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

TColor ColorToRGB(TColor c) {
  if (!IsSystemColor(c)) return c;
  return static_cast<TColor>(::GetSysColor(static_cast<int>(static_cast<unsigned>(c) & 0xFF)));
}

void AtPlatformReset(std::function<void()>) {}

namespace win32 {

HCURSOR CursorHandle(TCursor c) {
  auto it = CursorTable().find(c);
  return it != CursorTable().end() ? it->second : SystemCursor(c);
}

}  // namespace win32

bool CursorIsDefault(int index) { return CursorTable().count(index) == 0; }

bool InstallCursorResource(int index, const std::string& resourceName) {
  HCURSOR c = ::LoadCursorA(::GetModuleHandleA(nullptr), resourceName.c_str());
  if (!c) return false;
  CursorTable()[index] = c;
  return true;
}

namespace ini {

std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& def) {
  return ProfileCall(
      [&](char* b, DWORD n) {
        return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), b, n, file.c_str());
      },
      1);
}

bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value) {
  return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

bool WriteText(const std::string& file, const std::string& text) {
  win32::TFileHandle f(::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
  DWORD written = 0;
  return f && ::WriteFile(f.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) {
  return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) != FALSE;
}

bool DeleteSection(const std::string& file, const std::string& section) {
  return ::WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != FALSE;
}

std::vector<std::string> SectionKeys(const std::string& file, const std::string& section) {
  return SplitDoubleNul(ProfileCall(
      [&](char* b, DWORD n) {
        return ::GetPrivateProfileStringA(section.c_str(), nullptr, "", b, n, file.c_str());
      },
      2));
}

std::vector<std::string> SectionNames(const std::string& file) {
  return SplitDoubleNul(
      ProfileCall([&](char* b, DWORD n) { return ::GetPrivateProfileSectionNamesA(b, n, file.c_str()); }, 2));
}

}  // namespace ini

}  // namespace vel
