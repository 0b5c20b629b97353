// The control's lifecycle, its settings objects and its side of the row list.
#include "editor/Editor.h"

#include <algorithm>

#include "editor/EditorCursorNames.h"
#include "syntax/EditorParser.h"

namespace vel {

TEditor::TEditor() { Init(); }

void TEditor::Init() {
  InitEditorUnit();
  FDelimiters = CreateDelimiters();
  FLink = std::make_unique<TEditorListLink>(*this, CreateScreenStrings());
  FList = &**FLink;
  FList->SetDelimiters(FDelimiters);
  FList->SetTabSpaceCount(FCaret ? FCaret->TabSpaceCount() : 8);
  FLines = CreateStrings();
  FView = CreateViewInfo();
  FView->OnChange = [this](TNotifyPersistent* s) { ViewChanged(s); };
  FCaret = std::make_unique<TEditorCaret>();
  FMarks = std::make_unique<TEditorMarks>();
  FMargin = std::make_unique<TEditorMargin>();
  FLeftbar = std::make_unique<TEditorLeftbar>();
  FRuler = std::make_unique<TEditorRuler>();
  for (TNotifyPersistent* p : std::initializer_list<TNotifyPersistent*>{FCaret.get(), FMarks.get(), FMargin.get(),
                                                                       FLeftbar.get(), FRuler.get()})
    p->OnChange = [this](TNotifyPersistent* s) { ViewChanged(s); };
  FFont.Name = "FixedSys";
  FFont.Color = clWindowText;
  FList->SetParserClass(SpecifyParser());
}

// The window may already be gone (a host that is torn down first detaches
// its client without a word), so the control leaves it alone here.
TEditor::~TEditor() = default;

TCharSet TEditor::CreateDelimiters() { return vel::CreateDelimiters(); }

std::shared_ptr<TEditorScreenStrings> TEditor::CreateScreenStrings() {
  return std::make_shared<TEditorScreenStrings>();
}

std::unique_ptr<TEditorStrings> TEditor::CreateStrings() { return std::make_unique<TEditorStrings>(*this); }

std::unique_ptr<TEditorViewInfo> TEditor::CreateViewInfo() { return std::make_unique<TEditorViewInfo>(); }

TEditorParserClass TEditor::SpecifyParser() { return EditorParserClass(); }

void TEditor::CreateHandle(IWindow& Window) {
  FWindow = &Window;
  InitDrawInfo();
  InitScroll();
  if (FWindow->Focused()) FocusIn();
}

void TEditor::DestroyHandle() {
  if (!FWindow) return;
  if (FWindow->Focused()) FocusOut();
  FWindow = nullptr;
}

void TEditor::Loaded() {
  FLoading = false;
  if (FList->GetWordWrap()) FList->WrapLines();
  FList->InitBrackets();
  FModified = false;
}

void TEditor::ViewChanged(TNotifyPersistent* Sender) {
  if (Sender == FMarks.get()) FMargin->SetUnderlineMargin(FMarks->Underline().Visible() ? 1 : 0);
  if (Sender == FView.get()) FList->InitBrackets();
  // The tab width is the rows' layout, kept by the row list.
  if (Sender == FCaret.get()) FList->SetTabSpaceCount(FCaret->TabSpaceCount());
  if (!FWindow) return;
  InitDrawInfo();
  InitScroll();
  Invalidate();
  if (Sender == FCaret.get()) {
    UpdateCaret();
  } else {
    ScrollCaret();
    MoveCaret();
  }
}

void TEditor::SetFont(const TFontSpec& Value) {
  if (Value == FFont) return;
  FFont = Value;
  if (!FWindow) return;
  if (FTopCol > 0) SetCol(0);
  InitDrawInfo();
  InitScroll();
  Invalidate();
  UpdateCaret();
}

void TEditor::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  if (FWindow) {
    if (Value != ssVertical && Value != ssBoth) FWindow->SetScrollInfo(TScrollBarKind::Vertical, {});
    if (Value != ssHorizontal && Value != ssBoth) FWindow->SetScrollInfo(TScrollBarKind::Horizontal, {});
  }
  InitDrawInfo();
  InitScroll();
}

void TEditor::SetReserveWordList(std::vector<std::string> Value) {
  std::sort(Value.begin(), Value.end());
  Value.erase(std::unique(Value.begin(), Value.end()), Value.end());
  if (Value == FReserveWordList) return;
  FReserveWordList = std::move(Value);
  FList->InitBrackets();
  Invalidate();
}

void TEditor::SetView(const TEditorViewInfo& Value) {
  FView->Assign(Value);
  ScrollCaret();
  MoveCaret();
}

void TEditor::SetLines(const std::vector<std::string>& Value) { FLines->Assign(Value); }

void TEditor::SetReadOnly(bool Value) {
  if (Value == FReadOnly || FSelDragging) return;
  FReadOnly = Value;
  if (Selected() && FWindow) FWindow->SetCursor(FCaret->Cursors().DefaultCursor);
}

void TEditor::SetOverWrite(bool Value) {
  if (Value == FOverWrite) return;
  FOverWrite = Value;
  if (!FWindow) return;
  RecreateCaret();
  MoveCaret();
  CaretShow();
}

void TEditor::FocusIn() {
  if (!FWindow) return;
  FCaretShown = false;
  UpdateCaret();
}

void TEditor::FocusOut() {
  if (!FWindow) return;
  CaretHide();
  FWindow->DestroyCaret();
  FCaretShown = false;
}

bool TEditor::Focused() const { return FWindow && FWindow->Focused(); }

void TEditor::Resize() { InitView(); }

void TEditor::InitView() {
  FMaxRowLength = -1;
  if (!FWindow) return;
  InitDrawInfo();
  InitScroll();
  Invalidate();
  if (Focused()) UpdateCaret();
}

void TEditor::ExchangeList(TEditor& Other) {
  if (Other.FList == FList) return;
  CleanSelection();
  FLink->Reset(Other.FLink->Shared());
  FList = &**FLink;
  FMaxRowLength = -1;
  FTopRow = 0;
  FTopCol = 0;
  {
    TCaretUpdate hold(*this);
    TCaretLock lock(FCaretLock);
    SetRow(std::min(FRow, ListCount()));
    SetCol(FCol);
  }
  InitView();
}

void TEditor::DoChange() {
  const TEditorDrawInfo& d = FList->DrawInfo();
  if (d.NeedUpdate) {
    RaiseMaxCol(d.Start, d.NewCount);
    if (FWindow) {
      if (!FVs.Screen) FVs.Screen = std::make_unique<TEditorScreen>(*this);
      FVs.Screen->Update();
    }
  }
  InitScroll();
  if (d.NeedUpdate) {
    FModified = true;
    if (OnChange) OnChange(this);
  }
}

void TEditor::LinesBeginUpdate() {
  CaretBeginUpdate();
  UnderlineBeginUpdate();
}

void TEditor::LinesEndUpdate() {
  UnderlineEndUpdate();
  CaretEndUpdate();
}

void TEditor::Invalidate() {
  if (FWindow) FWindow->Invalidate(nullptr);
}

void TEditor::InvalidateLine(int Row) { InvalidateRows(Row, Row); }

void TEditor::InvalidateRows(int Row1, int Row2) {
  if (!FWindow) return;
  Row1 = std::max(Row1, FTopRow);
  Row2 = std::min(Row2, FTopRow + FVisibleRows + 1);
  if (Row1 > Row2) return;
  TRect r{FLeftbar->Visible() ? 0 : FLeftMargin, FTopMargin + (Row1 - FTopRow) * FRowHeight, FClientWidth,
          FTopMargin + (Row2 - FTopRow + 1) * FRowHeight};
  FWindow->Invalidate(&r);
}

void TEditor::DoScroll(int DX, int DY, const TRect& ScrollRect) {
  if (FWindow) FWindow->Scroll(DX, DY, ScrollRect);
}

void TEditor::DoSelectionChange(bool ASelected) {
  if (OnSelectionChange) OnSelectionChange(this, ASelected);
}

void TEditor::DoSelectionModeChange() {
  if (OnSelectionModeChange) OnSelectionModeChange(this);
}

void TEditor::DoTopColChange() {
  if (OnTopColChange) OnTopColChange(this);
}

void TEditor::DoTopRowChange() {
  if (OnTopRowChange) OnTopRowChange(this);
}

void TEditor::Undo() {
  CleanSelection();
  FList->Undo();
}

void TEditor::Redo() {
  CleanSelection();
  FList->Redo();
}

bool TEditor::CanUndo() const { return FList->UndoObj().CanUndo(); }
bool TEditor::CanRedo() const { return FList->UndoObj().CanRedo(); }

}  // namespace vel
