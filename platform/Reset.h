#pragma once
// Process-wide state that code builds on the platform's own (a cursor it
// installed in the table, a clipboard format it registered) registers here
// how to forget itself. The headless backend's reset runs these so that every
// test starts from a fresh process; the real platform never resets.
#include <functional>

namespace vel {
void AtPlatformReset(std::function<void()> forget);
}  // namespace vel
