#pragma once
// Reading back what the editor drew in a headless window.
#include <string>
#include <vector>

#include "tests/editor/EditorTestHost.h"

namespace vel::test {

using headless::TDrawCall;

// The text outputs drawn since the log was last cleared.
inline std::vector<TDrawCall> Texts(const std::vector<TDrawCall>& drawn) {
  std::vector<TDrawCall> r;
  for (const TDrawCall& c : drawn)
    if (c.What == TDrawCall::kText) r.push_back(c);
  return r;
}

inline std::vector<TDrawCall> Lines(const std::vector<TDrawCall>& drawn) {
  std::vector<TDrawCall> r;
  for (const TDrawCall& c : drawn)
    if (c.What == TDrawCall::kLine) r.push_back(c);
  return r;
}

// Repaints the whole client and returns what was drawn.
inline std::vector<TDrawCall> PaintAll(TEditorHost& h) {
  h.Window.PaintInvalid();
  h.Window.Drawn.clear();
  h.Window.Invalidate(nullptr);
  h.Window.PaintInvalid();
  return h.Window.Drawn;
}

// Paints what is pending, then forgets the log, so that the next paint shows only what an action changed.
inline void Settle(TEditorHost& h) {
  h.Window.PaintInvalid();
  h.Window.Drawn.clear();
  h.Window.Scrolls.clear();
}

}  // namespace vel::test
