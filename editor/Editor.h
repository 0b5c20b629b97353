#pragma once
// TEditor, the text editing control: it shows one document (a row list that
// several controls may share) as display rows, keeps a caret and a selection
// and turns input into edits.
//
// The control holds no text. Positions come in three measures: display
// (row, column) where every byte takes a column and a tab also its blanks;
// the char index within a row; and the text offset, where a line break counts
// two bytes. Every change of the text is one call of the row list's
// UpdateList, built by the edit frame in EditorEditing.cpp: the caret's target
// is kept as a byte count from the start of the edited logical line, which
// a rewrap never moves.
//
// The control reaches the system only through an IWindow (caret, scrolling,
// invalidation, font metrics) and the platform clipboard. Before a window is
// attached it still edits, selects and converts, with nothing shown.
//
// Files: Editor.cpp (lifecycle, settings, row-list client), EditorCoords.cpp
// (measures and conversions), EditorCaretOps.cpp (caret and scrolling),
// EditorSelection.cpp, EditorEditing.cpp (edits), EditorIndent.cpp,
// EditorClipboard.cpp (clipboard, box paste, drag drops),
// EditorWindowClient.cpp (the window's calls).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/ColumnMap.h"
#include "editor/EditorCaret.h"
#include "document/EditorClient.h"
#include "editor/EditorLeftbar.h"
#include "editor/EditorMargin.h"
#include "editor/EditorMarks.h"
#include "editor/EditorRuler.h"
#include "editor/EditorScreen.h"
#include "document/EditorScreenStrings.h"
#include "document/EditorStrings.h"
#include "syntax/EditorViewInfo.h"
#include "text/UpdateGuard.h"
#include "platform/Canvas.h"
#include "platform/Input.h"
#include "platform/Window.h"

namespace vel {

enum TEditorSelectionMode : uint8_t { smLine, smBox };
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

// A place found from a point: a row (or logical line) and a char index, both
// -1 when there is none.
struct TEditorStrInfo {
  int Line = -1;
  int CharIndex = -1;
};

class TEditor : public IEditorClient, public IEditorParserHost, public IWindowClient {
 public:
  using TNotifyEvent = std::function<void(TEditor* Sender)>;
  using TSelectionChangeEvent = std::function<void(TEditor* Sender, bool Selected)>;
  using TDrawLineEvent = std::function<void(TEditor* Sender, const std::string& LineStr, int X, int Y, int Index,
                                            const TRect& ARect, bool Selected)>;

  // The column no caret is ever held below as its largest: rows longer than
  // this raise the limit to their own display length.
  static constexpr int MinMaxCol = 1000;

  TEditor();
  // For a descendant that overrides a factory: C++ does not dispatch virtual
  // calls from a base constructor, so it constructs with TDeferInit and calls
  // Init from its own constructor.
  struct TDeferInit {};
  explicit TEditor(TDeferInit) {}
  TEditor(const TEditor&) = delete;
  TEditor& operator=(const TEditor&) = delete;
  ~TEditor() override;

  // Lifecycle. CreateHandle attaches the window the
  // control lives in; DestroyHandle detaches it (the caret goes with it).
  void CreateHandle(IWindow& Window);
  void DestroyHandle();
  bool HandleAllocated() const { return FWindow != nullptr; }
  IWindow* Window() const { return FWindow; }
  void Loaded();
  virtual void ViewChanged(TNotifyPersistent* Sender);
  void FocusIn() override;
  void FocusOut() override;
  // A size change of the window.
  void Resize();

  // The window's calls (EditorWindowClient.cpp and the on-screen files below).
  void WindowCreated(IWindow& Window) override { CreateHandle(Window); }
  void WindowDestroyed() override { DestroyHandle(); }
  void Paint(ICanvas& Canvas, const TRect& Area) override;
  bool KeyDown(const TKeyEvent& E) override;
  void KeyPress(const TCharEvent& E) override;
  void Resized(int Width, int Height) override;
  bool ImeResult(const std::string& Text) override;
  void ImeCandidateWindow(bool Open) override;
  void InitView() override;

  // Settings objects and published properties.
  TEditorCaret& Caret() { return *FCaret; }
  TEditorMarks& Marks() { return *FMarks; }
  TEditorMargin& Margin() { return *FMargin; }
  TEditorLeftbar& Leftbar() { return *FLeftbar; }
  TEditorRuler& Ruler() { return *FRuler; }
  TEditorViewInfo& View() { return *FView; }
  void SetCaret(const TEditorCaret& Value) { FCaret->Assign(Value); }
  void SetMarks(const TEditorMarks& Value) { FMarks->Assign(Value); }
  void SetMargin(const TEditorMargin& Value) { FMargin->Assign(Value); }
  void SetLeftbar(const TEditorLeftbar& Value) { FLeftbar->Assign(Value); }
  void SetRuler(const TEditorRuler& Value) { FRuler->Assign(Value); }
  void SetView(const TEditorViewInfo& Value);
  TEditorStrings& Lines() { return *FLines; }
  void SetLines(const std::vector<std::string>& Value);
  const std::vector<std::string>& ReserveWordList() const override { return FReserveWordList; }
  void SetReserveWordList(std::vector<std::string> Value);
  const TFontSpec& Font() const { return FFont; }
  void SetFont(const TFontSpec& Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool WantReturns = true;
  bool WantTabs = true;
  int UndoListMax() const { return FList->UndoObj().GetUndoLimit(); }
  void SetUndoListMax(int Value) { FList->UndoObj().SetUndoListMax(Value); }
  bool WordWrap() const { return FList->GetWordWrap(); }
  void SetWordWrap(bool Value) { FList->SetWordWrap(Value); }
  TEditorWrapOption& WrapOption() { return FList->WrapOption(); }
  const TCharSet& Delimiters() const { return FDelimiters; }
  TEditorUndoObj& UndoObj() { return FList->UndoObj(); }
  void SetParserClass(TEditorParserClass Class) { FList->SetParserClass(std::move(Class)); }
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }

  // Public state.
  int Row() const { return FRow; }
  int Col() const { return FCol; }
  int TopRow() const { return FTopRow; }
  int TopCol() const { return FTopCol; }
  int VisibleRows() const { return FVisibleRows; }
  int VisibleCols() const { return FVisibleCols; }
  bool OverWrite() const { return FOverWrite; }
  void SetOverWrite(bool Value);
  TEditorSelectionMode SelectionMode() const { return FSelectionMode; }
  void SetSelectionMode(TEditorSelectionMode Value);
  bool Selected() const { return FSelState == selActive; }
  bool SelDragging() const { return FSelDragging; }
  int RowHeight() const { return FRowHeight; }
  int FontHeight() const { return FFontHeight; }
  int ColWidth() const { return FColWidth; }
  int LeftMargin() const { return FLeftMargin; }
  int TopMargin() const { return FTopMargin; }
  // The largest caret column: MinMaxCol, or the longest row's display length.
  int MaxCol() const;

  // The row list.
  int ListCount() const { return FList->Count(); }
  std::string ListStr(int Row) const;
  TEditorRowAttribute ListRows(int Row) const;
  int ListToken(int Row) const;
  int ListBracket(int Row) const;
  std::string ListToStr(const TEditorStringList& List) const;
  void ListToFile(const std::string& FileName) const { FLines->SaveToFile(FileName); }
  void ListToStream(std::ostream& Stream) const { FLines->SaveToStream(Stream); }
  void Clear() { FLines->Clear(); }
  void ExchangeList(TEditor& Other);
  const std::shared_ptr<TEditorScreenStrings>& ScreenStringsPtr() const { return FLink->Shared(); }

  // Column maps and tab expansion.
  TColumnMapOptions ColumnOptions() const;
  std::string StrToAttributes(const std::string& S) const;
  std::string ExpandTab(const std::string& S) const;
  int ExpandLength(const std::string& S) const;
  std::string ExpandListStr(int Row) const;
  // ExpandListStr into Out, reusing its storage.
  void ExpandListStrTo(int Row, std::string& Out) const;
  int ExpandListLength(int Row) const;

  // Conversions.
  void PosToRowCol(int X, int Y, bool Round, int& ACol, int& ARow) const;
  virtual void SetCaretPosition(int& X, int& Y) const;
  bool ListInfoFromPos(int X, int Y, TEditorStrInfo& Info) const;
  TEditorStrInfo StrInfoFromPos(int X, int Y) const;
  int ColToChar(int Row, int Col) const;
  int CharFromPos(int X, int Y) const;
  int GetSelIndex(int FromRow, int ToRow, int Col) const;
  void SetSelIndex(int FromRow, int Index) override;
  int RowToLines(int Row) const;
  // The caret's char index: may exceed the row's length when the caret
  // stands beyond the end of the text.
  int CaretIndex() const { return CharIndexOf(FRow, FCol); }
  int CharIndexOf(int Row, int Col) const;
  // Text offset of a char index in a row (index limited to the row).
  int TextOffset(int Row, int Index) const;
  // The caret place of a text offset (beyond the text: its end).
  void OffsetToRowCol(int64_t Offset, int& ARow, int& ACol) const;
  int GetTextLen() const;

  // Caret.
  void SetRow(int Value) override;
  void SetCol(int Value) override;
  void SetRowCol(int ARow, int ACol);
  void AdjustCol(bool Vertical, int Direction);
  void CaretBeginUpdate() override;
  void CaretEndUpdate() override;
  void CaretShow();
  void CaretHide();
  bool IsCaretNoClient() const;
  virtual void RecreateCaret();
  void ScrollCaret();
  void MoveCaret();
  // Places the input method's composition window at the caret, or marks the
  // move pending while a key repeats (Force: do it now).
  void MoveImeWindow(bool Force);
  void UpdateCaret();
  void InitScroll();
  void SetTopRow(int Value) override;
  void SetTopCol(int Value);
  // Largest first row and largest first column of the view.
  int MaxTopRow() const;
  int MaxTopCol() const;
  virtual void UnderlineBeginUpdate();
  virtual void UnderlineEndUpdate();
  virtual int UnderlinePos(int Row) const;
  virtual void DrawUnderline(int Row);
  virtual void HideUnderline(int Row);

  // Selection.
  void InitSelection();
  void StartSelection();
  void UpdateSelection();
  void SetSelection();
  void CleanSelection() override;
  void SelectAll();
  bool IsSelectedArea(int Row, int Col) const;
  // 1-based byte index of the first / last byte of a box edge in a row of
  // column map A (see EditorSelection.cpp).
  static int BoxLeftIndex(const std::string& A, int Position);
  static int BoxRightIndex(const std::string& A, int Position);
  std::string GetSelText() const;
  int GetSelTextBuf(char* Buffer, int Size) const;
  int SelStart() const;
  int SelLength() const;
  std::string SelText() const { return GetSelText(); }
  void SetSelStart(int Value);
  void SetSelLength(int Value);
  // Selects from offset Start to offset End, each placed on its own: in
  // the middle of a double-byte character it moves to the character's
  // start, inside a CR LF to the end of its line.
  void SetSelRange(int Start, int End);
  void SetSelText(const std::string& S) { SetSelTextBuf(S); }
  // The selection's ranges: rows and char indices (end inclusive), rows and columns.
  struct TIndexRange {
    int StartRow = 0, StartIndex = 0, EndRow = 0, EndIndex = 0;
  };
  struct TColRange {
    int StartRow = 0, StartCol = 0, EndRow = 0, EndCol = 0;
    bool operator==(const TColRange&) const = default;
  };
  const TIndexRange& SelIndexRange() const { return FSelIdx; }
  const TColRange& SelColRange() const { return FSelCol; }

  // Editing.
  void PutStringToLine(const std::string& S);
  void SetSelTextBuf(const std::string& P);
  void SetSelTextBox(const std::string& P);
  void DeleteSelection();
  void ClearSelection() { DeleteSelection(); }
  // The keyboard's edits: a character (one byte, or a whole double-byte
  // character) with Tab, Enter and Backspace among the byte values; Delete.
  void KeyChar(const std::string& Ch);
  void KeyTab();
  void KeyReturn();
  void KeyBackSpace();
  void KeyDelete();
  // False when there is no selection or the clipboard refused the text.
  bool CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  virtual bool CanSelDrag() const;
  virtual void MoveSelection(int ARow, int ACol);
  virtual void CopySelection(int ARow, int ACol);
  void DeleteRow(int ARow);
  void SelIndent();
  void SelUnIndent();
  void SelTabIndent();
  void SelTabUnIndent();
  virtual void Undo();
  virtual void Redo();
  virtual bool CanUndo() const;
  virtual bool CanRedo() const;

  // Events.
  TNotifyEvent OnCaretMoved;
  TNotifyEvent OnChange;
  TDrawLineEvent OnDrawLine;
  TSelectionChangeEvent OnSelectionChange;
  TNotifyEvent OnSelectionModeChange;
  TNotifyEvent OnTopColChange;
  TNotifyEvent OnTopRowChange;

  // The row list's client.
  void DoChange() override;
  int GetRow() const override { return FRow; }
  int GetCol() const override { return FCol; }
  int GetTopRow() const override { return FTopRow; }
  bool Focused() const override;
  void LinesBeginUpdate() override;
  void LinesEndUpdate() override;
  void Invalidate() override;
  void InvalidateLine(int Row) override;
  bool IsLoading() const override { return FLoading; }
  bool HasBracketPairs() const override { return FView->Brackets().Count() > 0; }
  const IEditorParserHost* ParserHost() const override { return this; }
  TEditorScreenStrings& ScreenStrings() override { return *FList; }
  const TEditorViewInfo* ParserView() const override { return FView.get(); }

  // From here until Loaded the control is being read from its form data:
  // the row list does not rewrap or rebuild row states for it.
  void BeginLoading() { FLoading = true; }

  // On screen (EditorPaint.cpp, EditorScreen.cpp, EditorKeys.cpp,
  // EditorMouse.cpp, EditorScroll.cpp, EditorIme.cpp, EditorMessages.cpp).
  TColor Color() const { return FVs.Color; }
  void SetColor(TColor Value);
  // The window client's calls beyond those above.
  bool KeyUp(const TKeyEvent& E) override;
  void MouseDown(const TMouseEvent& E) override;
  void MouseMove(const TMouseEvent& E) override;
  void MouseUp(const TMouseEvent& E) override;
  bool MouseWheel(const TWheelEvent& E) override;
  void Scrolled(const TScrollEvent& E) override;
  void ImeStartComposition() override;
  bool HandleMessage(TMessage& M) override;
  // Painting.
  void PaintRect(const TRect& Rect);
  void PaintLine(const TRect& Rect, int X, TEditorParser* Parser, int Row, const std::string& S, int Y);
  void PaintLineSelected(const TRect& Rect, int X, TEditorParser* Parser, int Row, const std::string& S, int Y);
  void PaintRectSelected(const TRect& Rect, int X, TEditorParser* Parser, int Row, const std::string& S, int Y);
  void DrawTextRect(const TRect& Rect, int X, bool Opaque, const std::string& S, int Y, int From, int To, TColor Fg,
                    TColor Bg);
  virtual void DrawEof(int X, int Y);
  virtual void DrawRetMark(int X, int Y);
  virtual void DrawRetMarkSelected(int X, int Y);
  virtual void DoDrawLine(const TRect& ARect, int X, int Y, int Index, const std::string& LineStr, bool ASelected);
  void PaintLeftbar(int FirstRow, int LastRow);
  void InvalidateLeftbar(int Row1, int Row2);
  bool AdjustLeftbarColumn();
  void UpdateLeftBarWidth(int OldWidth, int NewWidth);
  void PaintRuler();
  virtual void DrawRulerMark(int Col);
  virtual void HideRulerMark(int Col);
  // Copies column Col of the ruler from a bitmap (the marked or the plain base);
  // false when the column is not in view or there is nothing to copy.
  bool CopyRulerColumn(int Col, IOffscreen* From);
  void InitMarginBitmaps();
  // Moves the ruler mark to the caret's column when it is elsewhere.
  void SyncRulerMark();
  void DrawSelection();
  void InvalidateRow(int Row1, int Row2);
  void LineScroll(int Row, int Count);
  bool ItalicMode() const;
  // Input.
  void PageVScroll(int Delta);
  bool FindNextWordStart(int& ARow, int& ACol, int Direction) const;
  void StartRowSelection(int R);
  void UpdateRowSelection(int R);
  void CancelSelDrag(bool EscapeDown = false);
  // Inserts an input method's result that came while the button was held.
  void PutHeldImeResult();
  void EndSelDrag(int X, int Y, bool Copy);
  void SetCursorState(TEditorMouseCursorState Value);
  // Shows the cursor of the state now (after a descendant showed its own).
  void ShowStateCursor();
  TEditorMouseCursorState CursorState() const { return FVs.CursorState; }
  bool SelDragPending() const { return FVs.DragState == TEditorViewState::dsPending; }
  bool RowSelecting() const { return FVs.RowSelecting; }
  int CharSkip() const { return FVs.CharSkip; }
  std::string WordFromPos(int X, int Y) const;
  std::string TokenStringFromPos(int X, int Y) const;
  std::string TokenStringBracketFromPos(int X, int Y) const;
  int TokenFromPos(int X, int Y) const;
  int TokenBracketFromPos(int X, int Y) const;
  void SelectWordFromPos(int X, int Y);
  void SelectTokenFromPos(int X, int Y);
  void SelectTokenBracketFromPos(int X, int Y);
  std::string WordFromCaret() const;
  std::string TokenStringFromCaret() const;
  std::string TokenStringBracketFromCaret() const;
  int TokenFromCaret() const;
  int TokenBracketFromCaret() const;
  void SelectWordFromCaret();
  void SelectTokenFromCaret();
  void SelectTokenBracketFromCaret();
  virtual bool PosTokenString(int X, int Y, bool UseEditor, std::string& S, bool Bracket, int& Token) const;
  virtual void SelectPosToken(int X, int Y, bool UseEditor, bool Bracket);
  TEditorPopupMenu* PopupMenu() const { return FVs.Popup.get(); }
  void ShowPopupMenu(int X, int Y);
  TEditorPopupMenu& EnsurePopupMenu();

 protected:
  // Creates the owned objects through the factories, in this order.
  void Init();
  // Factories.
  virtual TCharSet CreateDelimiters();
  virtual std::shared_ptr<TEditorScreenStrings> CreateScreenStrings();
  virtual std::unique_ptr<TEditorStrings> CreateStrings();
  virtual std::unique_ptr<TEditorViewInfo> CreateViewInfo();
  virtual TEditorParserClass SpecifyParser();

  virtual void DoScroll(int DX, int DY, const TRect& ScrollRect);
  virtual void DoSelectionChange(bool ASelected);
  virtual void DoSelectionModeChange();
  virtual void DoTopColChange();
  virtual void DoTopRowChange();
  virtual void InitDrawInfo();
  void InvalidateRows(int Row1, int Row2);
  // The canvas of the paint under way (or the window's own).
  ICanvas& PaintCanvas();

 private:
  enum TSelState : uint8_t { selNone, selPending, selActive };
  // One row of a selection removed from the text (see EditorEditing.cpp).
  struct TRemovedRow {
    std::string Text;
    TEditorRowAttribute Attribute;
    int Insert;  // where text put into the row goes (may lie past its end)
  };
  struct TEdit;

  int DisplayLength(int Row) const;
  int LeftbarWidth() const;
  int RulerHeight() const;
  TIndexRange ClampedIndexRange() const;
  // Anchors a selection at the caret and selects to offset End (counted
  // from the caret when Relative).
  void SelectFromCaret(int64_t End, bool Relative);
  std::vector<TRemovedRow> RemoveSelection() const;
  // The bytes of a row inside the box: From (0-based; past the row's end
  // where the row ends left of the box) and Length.
  void BoxSpan(const std::string& S, const TColumnMapOptions& O, int& From, int& Length) const;
  void Apply(int R, int E, const std::string& S, int TargetInS, bool Underline);
  void InsertText(const std::string& S, bool OverWriteMode);
  void ReplaceSelection(const std::string& S);
  void BackSpaceJoin();
  void ShiftSelection(int Kind);
  void RaiseMaxCol(int Start, int Count) const;
  void ForgetKeepCol() { FKeepColSet = false; }
  void KeepCol(bool Vertical, int Value);

  friend class TEditorScreen;
  void PaintPiece(const TRect& Rect, int X, TEditorParser* Parser, int Row, const std::string& S, int Y, bool Sel);
  void ReleaseHugeRowText();
  bool SelSpan(int Row, const TColRange& K, int& X0, int& X1) const;
  void SetAnchor(int ARow, int ACol);
  void ScrollView(TScrollBarKind Bar, int Delta, bool MoveCaretToo);
  void SetAdvances(const std::string& Piece);
  TEditorViewState FVs;

  TCharSet FDelimiters;
  std::unique_ptr<TEditorListLink> FLink;
  TEditorScreenStrings* FList = nullptr;  // the linked list
  std::unique_ptr<TEditorStrings> FLines;
  std::unique_ptr<TEditorViewInfo> FView;
  std::vector<std::string> FReserveWordList;
  std::unique_ptr<TEditorCaret> FCaret;
  std::unique_ptr<TEditorMarks> FMarks;
  std::unique_ptr<TEditorMargin> FMargin;
  std::unique_ptr<TEditorLeftbar> FLeftbar;
  std::unique_ptr<TEditorRuler> FRuler;

  IWindow* FWindow = nullptr;
  TFontSpec FFont;
  TScrollStyle FScrollBars = ssNone;
  bool FReadOnly = false;
  bool FModified = false;
  bool FLoading = false;
  bool FOverWrite = false;

  int FRow = 0, FCol = 0, FTopRow = 0, FTopCol = 0;
  int FVisibleRows = 1, FVisibleCols = 1;
  int FRowHeight = 1, FFontHeight = 1, FColWidth = 1, FCharWidth = 1;
  int FLeftMargin = 19, FTopMargin = 2;
  int FClientWidth = 185, FClientHeight = 89;
  mutable int FMaxRowLength = -1;  // -1: not known

  bool FKeepColSet = false;
  int FKeepCol = 0;
  int FCaretLock = 0;
  // Holds SetRow and SetCol from placing the caret until the scope ends,
  // also when an exception passes.
  struct TCaretLock {
    int& N;
    explicit TCaretLock(int& Count) : N(++Count) {}
    ~TCaretLock() { --N; }
  };
  int FCaretHideCount = 0;
  bool FCaretShown = false;
  int FUnderlineCount = 0;

  TEditorSelectionMode FSelectionMode = smLine;
  TSelState FSelState = selNone;
  bool FSelDragging = false;
  int FAnchorRow = 0, FAnchorIndex = 0, FAnchorCol = 0;
  TIndexRange FSelIdx;
  TColRange FSelCol, FPrevSelCol;
};

// Suspends the caret-row underline for a scope (a null control: nothing).
using TUnderlineUpdate = TUpdateGuard<TEditor, &TEditor::UnderlineBeginUpdate, &TEditor::UnderlineEndUpdate>;

}  // namespace vel
