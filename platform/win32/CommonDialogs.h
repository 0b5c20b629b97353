#pragma once
// The system's common dialogs, each written once. Filters are given as
// "description|pattern|description|pattern"; names and texts are CP932. No
// dialog changes the process's working folder, so a relative name read
// before a dialog means the same file after it.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/Color.h"

namespace vel::win32 {

std::optional<std::string> OpenFileDialog(HWND Owner, const std::string& Filter);

struct TSaveFileChoice {
  std::string Path;
  int FilterIndex = 1;  // 1-based, as the filter lists it
};
// Does not ask before replacing a file: the caller asks about the name the
// file will really have, once its extension is added.
std::optional<TSaveFileChoice> SaveFileDialog(HWND Owner, const std::string& Filter, const std::string& InitialPath);

struct TFontChoice {
  std::string Name;
  int Size = 0;  // points
};
std::optional<TFontChoice> FontDialog(HWND Owner, const TFontChoice& Initial);

std::optional<TColor> ColorDialog(HWND Owner, TColor Initial);

// The hourglass for a scope (a long file operation); the old cursor after.
class TWaitCursor {
 public:
  TWaitCursor() : Old(::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)))) {}
  ~TWaitCursor() { ::SetCursor(Old); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

 private:
  HCURSOR Old;
};

}  // namespace vel::win32
