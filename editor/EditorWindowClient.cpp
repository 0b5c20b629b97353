// The control as its window's client: the size. Painting and input are in
// EditorPaint.cpp, EditorKeys.cpp, EditorMouse.cpp, EditorScroll.cpp and
// EditorIme.cpp.
#include "editor/Editor.h"

namespace vel {

void TEditor::Resized(int, int) { Resize(); }

}  // namespace vel
