#pragma once
// The control's on-screen state: what painting keeps between passes (the
// margin bitmaps, the advance table, the canvas of the pass in progress) and
// what input keeps between messages (press point, drags, the IME skip
// counter). TEditorScreen is the repaint object that the row list drives
// after each change: it reads the draw information and repaints only the
// rows that changed, scrolling the rest.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/EditorPopupMenu.h"
#include "editor/EditorResumeCache.h"
#include "platform/Canvas.h"

namespace vel {

class TEditor;
class TEditorColor;
class TEditorParser;

// A token of a row being painted: its columns and its colours (null: none).
struct TPaintToken {
  int Pos, End;
  const TEditorColor* Color;
};

enum TEditorMouseCursorState : uint8_t { mcClient, mcLeftMargin, mcInSel, mcDragging, mcDraggingCopy };

class TEditorScreen {
 public:
  explicit TEditorScreen(TEditor& Editor) : FEditor(Editor) {}
  virtual ~TEditorScreen() = default;
  // Repaints after an update of the row list, from its draw information.
  virtual void Update();

 private:
  TEditor& FEditor;
};

struct TEditorViewState {
  TColor Color = clWindow;
  // Painting.
  ICanvas* Canvas = nullptr;  // the canvas of the paint pass in progress
  std::vector<int> Advances;
  std::vector<TPaintToken> Tokens;
  TParseResumeCache Resume;
  std::string RowText;  // the row being painted, tabs expanded
  bool Painting = false;      // a selection-change repaint in progress
  std::unique_ptr<TEditorScreen> Screen;
  // Margin bitmaps and the values they were made for.
  std::unique_ptr<IOffscreen> RulerBase, RulerMarkBase, OriginBase;
  std::unique_ptr<IOffscreen> RulerGauge, RulerDigits, RulerMarkGauge, RulerMarkDigits;
  int RulerBaseFor = -1;  // the first numbered column the ruler bases show
  std::string BitmapKey;
  int RulerMarkCol = -1;  // the column whose ruler cell shows the mark
  // Input.
  int PressX = 0, PressY = 0;
  bool LeftDown = false;
  bool KeyRepeat = false;
  bool ImePending = false;
  bool CandidateOpen = false;
  int CharSkip = 0;
  std::string ImeHeld;  // an input method's result that came while the left button was held
  int WheelRest = 0, HWheelRest = 0;
  enum TDragState : uint8_t { dsNone, dsPending, dsDragging } DragState = dsNone;
  TEditorMouseCursorState CursorState = mcClient;
  int RowSelAnchor = 0;
  bool RowSelAnchorEof = false;
  bool RowSelDown = true;
  bool RowSelecting = false;
  std::unique_ptr<TEditorPopupMenu> Popup;
};

}  // namespace vel
