#pragma once
// Long loops on the user-interface thread keep the program responsive by
// handling the window messages that are waiting.
namespace vel {
void ProcessMessages();
}  // namespace vel
