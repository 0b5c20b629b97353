#pragma once
// The desktop's own handling of a document or address: a URL opens in the
// user's browser, as a double click in the file manager would.
#include <string>

namespace vel {

// False when the system could not hand it on.
bool OpenWithDesktop(const std::string& Target);

}  // namespace vel
