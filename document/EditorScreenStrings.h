#pragma once
// The row list of a document: display rows with their packed state, shared
// by every control that shows the document. The rows are the list's own and
// are read through Rows(); they change only through UpdateList (which
// replaces a range of rows by new text, re-cuts only the logical lines it
// touches, records one undo step and tells the controls what to repaint),
// Undo and Redo, word wrap and loading. With word wrap on, a logical line is
// cut into rows by the wrap settings (kinsoku, hanging punctuation, word
// breaks) and the layout values the list owns.
//
// Controls hold the list through a TEditorListLink (a shared_ptr and a
// registration in one): the list lives as long as its last client, and keeps
// only a non-owning registry of the clients that hold it.
#include <algorithm>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/ColumnMap.h"
#include "document/EditorClient.h"
#include "document/EditorStringList.h"
#include "document/EditorUndoObj.h"
#include "document/EditorWrapOption.h"
#include "document/LineIndex.h"
#include "syntax/ParserHost.h"

namespace vel {

// A place in the text: a row and a byte index within it.
struct TTextPos {
  int Row = 0;
  int Index = 0;
};

struct TEditorDrawInfo {
  int Start = 0;
  int OldCount = 0;
  int NewCount = 0;
  int BracketCount = 0;
  bool NeedUpdate = false;
};

class TEditorScreenStrings {
 public:
  TEditorScreenStrings();
  TEditorScreenStrings(const TEditorScreenStrings&) = delete;
  TEditorScreenStrings& operator=(const TEditorScreenStrings&) = delete;
  virtual ~TEditorScreenStrings();

  // The rows, read-only; the reference is valid for the list's life.
  const TEditorStringList& Rows() const { return FRows; }
  int Count() const { return FRows.Count(); }

  // The editing primitive: rows Index..Index+Count-1 become the text S (CR LF,
  // lone CR and lone LF end lines). Count 0 inserts before Index. One undo step.
  void UpdateList(int Index, int Count, const std::string& S);
  // Text, number and last attribute of rows Index..Index+Count-1 (Count -1:
  // to the end of the logical line holding Index).
  void ListInfo(int Index, int Count, TEditorRowAttribute& Attribute, int& RowCount, std::string& S) const;
  int RowStart(int Row) const;
  int RowEnd(int Row) const;
  // Logical lines: without word wrap every row is one; with it they are
  // answered from an index of the rows that end a line, never by a walk.
  int LineCount() const;
  // The first row of logical line Line; the row count past the last line.
  int LinesToRow(int Line) const;
  // The logical line that holds Row: the raCrlf rows above it.
  int RowToLines(int Row) const;
  // The text of logical line Line without its line break; empty outside.
  std::string LineText(int Line) const;
  void CheckCrlf(int Row, std::string& S) const;

  // Text offsets count the bytes of the whole text, each line break as 2; a
  // raWrapped row and the last row add none. Both directions are answered
  // from an index of row starts, in O(log rows); every conversion between
  // offsets and rows goes through these two.
  // The offset of byte Index of Row (Index limited to the row); 0 before the
  // first row, the text's length past the last.
  int TextOffset(int Row, int Index = 0) const;
  // The place of an offset, clamped to the text. The end of a raWrapped row
  // is the start of the next row; an offset inside a CR LF is the end of its
  // line (half a line break is no place); the end of the text is the row
  // after a final line break, or else the end of the last row.
  TTextPos OffsetToPos(int64_t Offset) const;
  int TextLength() const { return TextOffset(Count()); }
  // The caret place Index bytes (at least 0) after the start of FromRow.
  TRowCol RowColAt(int FromRow, int Index) const;
  // The text of rows Index..Index+Count-1, CR LF after each raCrlf row.
  std::string RangeText(int Index, int Count) const;
  std::string Text() const { return RangeText(0, Count()); }

  // Loading: every row is replaced by the rows of Source (which is left
  // empty), re-wrapped when word wrap is on, with fresh row states. Not
  // undoable; the undo and redo lists are emptied.
  void LoadRows(TEditorStringList& Source);
  void Clear();
  virtual void Undo();
  virtual void Redo();
  TEditorUndoObj& UndoObj() { return *FUndoObj; }

  // Update mode: clients hear of the changes once, when the outermost update ends.
  void BeginUpdate() { FRows.BeginUpdate(); }
  void EndUpdate() { FRows.EndUpdate(); }
  int GetUpdateCount() const { return FRows.GetUpdateCount(); }

  void UpdateDrawInfo(int Start, int OldCount, int BracketCount, int NewCount);
  const TEditorDrawInfo& DrawInfo() const { return FDrawInfo; }

  // The client registry; clients register through TEditorListLink.
  void Reference(IEditorClient* Editor);
  void Release(IEditorClient* Editor);
  IEditorClient* GetClient() const { return FClients.empty() ? nullptr : FClients.front(); }
  IEditorClient* GetActiveClient() const;
  const std::vector<IEditorClient*>& Clients() const { return FClients; }

  const TEditorParserClass& GetParserClass() const { return FParserClass; }
  // Replaces the parser (an empty class means none) and rebuilds the row states.
  void SetParserClass(TEditorParserClass Class);

  // Layout values: rows are cut by them, so they are the list's, shared by
  // its clients like word wrap. A change re-wraps when word wrap is on.
  TColumnMapOptions ColumnOptions() const;
  void SetTabSpaceCount(int Value);
  void SetDelimiters(const TCharSet& Value);

  // Word wrap.
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TEditorWrapOption& WrapOption() { return *FWrapOption; }
  virtual void StrToWrapList(const std::string& S, TEditorStringList& List);
  virtual int WrapCount(const std::string& S);
  void WrapLines();
  void StretchLines();
  void WrapOptionChanged();

  // Row states. They are computed ahead for two screens of rows: the rows
  // a screen holds are handed in by the clients whenever their size or
  // font changes (the last one told wins; rows further on are computed
  // when painted, so the value only decides how much is done early).
  void SetScreenRows(int Rows) { FScreenRows = std::clamp(Rows, 0, 1 << 20); }
  int ScreenRows() const { return FScreenRows; }
  void InitBrackets();
  int UpdateBrackets(int Row, bool Invalidate);

  // Carets and top rows pulled back into the rows.
  void ClientsAdjustRow();

 protected:
  virtual std::unique_ptr<TEditorUndoObj> CreateUndoObj();
  virtual std::unique_ptr<TEditorWrapOption> CreateWrapOption();

 private:
  friend class TEditorUndoObj;
  // Membership of a character in one of the wrap option's character lists,
  // answered as IsInclude would, from tables rebuilt when the list changes.
  struct TCharTable {
    std::string Source;
    bool Built = false;
    std::bitset<256> Single;
    std::bitset<65536> Double;
    const TCharTable& For(const std::string& List);
    bool Has(const std::string& Char) const;
  };
  TCharTable FLeadTable, FFollowTable, FPunctuationTable;
  // Rows Index..Index+Count-1 are replaced by the rows of List (taken away
  // from it), with their state; the line index follows. Nothing is recorded.
  // Allocates for it first: ReserveFor done, it allocates nothing more.
  void ReplaceRows(int Index, int Count, TEditorStringList& List);
  void ReserveFor(int Count, const TEditorStringList& List);
  // The offset index and the line index made afresh (the line index is
  // dropped without word wrap).
  void RebuildIndex();
  void Changed();
  void ChangeLink();
  void CommitUndo(int ListIndex, int RowCount, TUndoData&& Old);
  int DisplayWidth(const std::string& S, const TColumnMapOptions& Layout) const;
  bool ClientLoading() const;
  // Cuts one line (no line breaks) into rows, calling Row(begin, length)
  // for each; returns the row count. The last row is the line's end.
  // Width is the line's display width when the caller knows it, else -1.
  template <class F>
  int CutLine(const std::string& Line, F&& Row, int Width = -1);
  void AppendCutLine(const std::string& Line, TEditorStringList& List, int Width = -1);
  std::unique_ptr<IEditorRowParser> MakeParser() const;
  void ClientsInitView();
  // Re-wraps after a change of the wrap settings or the layout values.
  void LayoutChanged();

  TEditorStringList FRows;
  // Kept while word wrap is on; without it rows are lines.
  TLineIndex FLines;
  std::vector<int> FNewEnds;
  // The offset of every row's start, then the text's length: always one
  // entry more than there are rows.
  TShiftedArray<int64_t> FStarts;
  std::vector<int64_t> FNewStarts;
  std::vector<IEditorClient*> FClients;
  TEditorDrawInfo FDrawInfo;
  TEditorParserClass FParserClass;
  std::unique_ptr<TEditorUndoObj> FUndoObj;
  bool FWordWrap = false;
  std::unique_ptr<TEditorWrapOption> FWrapOption;
  // Tab width and delimiters; word wrap and its width are added when asked.
  TColumnMapOptions FLayout;
  int FScreenRows = 0;
  // While above zero, completed updates are not reported to the clients.
  int FQuiet = 0;
  // Whole-document re-cuts: one update whose end the clients do not hear of
  // (they re-initialise their views instead); its end still zeroes the draw
  // information and pulls the carets into range.
  struct TQuietScope {
    TEditorScreenStrings& L;
    explicit TQuietScope(TEditorScreenStrings& l) : L(l) {
      ++L.FQuiet;
      L.BeginUpdate();
    }
    ~TQuietScope() noexcept(false) {
      try {
        L.EndUpdate();
      } catch (...) {
        --L.FQuiet;
        throw;
      }
      --L.FQuiet;
    }
    TQuietScope(const TQuietScope&) = delete;
    TQuietScope& operator=(const TQuietScope&) = delete;
  };
};

// A client's hold on a row list: keeps the list alive, shared with the other
// clients, and the client registered in it for as long as the link lives.
class TEditorListLink {
 public:
  TEditorListLink(IEditorClient& Client, std::shared_ptr<TEditorScreenStrings> List);
  ~TEditorListLink();
  TEditorListLink(const TEditorListLink&) = delete;
  TEditorListLink& operator=(const TEditorListLink&) = delete;

  // Moves the client to another list (null: to none).
  void Reset(std::shared_ptr<TEditorScreenStrings> List);
  TEditorScreenStrings& operator*() const { return *FList; }
  TEditorScreenStrings* operator->() const { return FList.get(); }
  const std::shared_ptr<TEditorScreenStrings>& Shared() const { return FList; }

 private:
  IEditorClient& FClient;
  std::shared_ptr<TEditorScreenStrings> FList;
};

}  // namespace vel
