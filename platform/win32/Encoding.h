#pragma once
// Text inside the program is CP932 bytes; the W functions take UTF-16. The
// conversion names CP932 explicitly so that text shows right whatever the
// system's ANSI code page is.
#include <string>

namespace vel::win32 {

std::wstring WideFromCp932(const std::string& s);
std::string Cp932FromWide(const std::wstring& w);

}  // namespace vel::win32
