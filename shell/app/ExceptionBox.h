#pragma once
// The toolkit's standard box for an exception nobody handled.
#include <exception>

namespace vel {
void ShowStandardException(const std::exception& e);
void ShowUnknownException();
}  // namespace vel
