#pragma once
// Replacing a file by a completely written new one in a single step, so that
// a failed save never leaves the old file half overwritten.
#include <string>

namespace vel {

// Moves Source over Target (replacing it when it exists). False on failure;
// Target is then unchanged.
bool ReplaceFileWith(const std::string& Source, const std::string& Target);

}  // namespace vel
