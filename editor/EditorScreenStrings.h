#pragma once
// The row list of a document: display rows with their packed state, shared
// by every control that shows the document. All text changes go through
// UpdateList, which replaces a range of rows by new text, re-cuts only the
// logical lines it touches, records one undo step and tells the controls what
// to repaint. With word wrap on, a logical line is cut into rows by the wrap
// settings (kinsoku, hanging punctuation, word breaks).
#include <bitset>
#include <memory>
#include <string>
#include <vector>

#include "editor/ColumnMap.h"
#include "editor/EditorClient.h"
#include "editor/EditorStringList.h"
#include "editor/EditorUndoObj.h"
#include "editor/EditorWrapOption.h"
#include "editor/ParserHost.h"

namespace vel {

struct TEditorDrawInfo {
  int Start = 0;
  int OldCount = 0;
  int NewCount = 0;
  int BracketCount = 0;
  bool NeedUpdate = false;
};

class TEditorScreenStrings : public TEditorStringList {
 public:
  TEditorScreenStrings();
  ~TEditorScreenStrings() override;

  // The editing primitive: rows Index..Index+Count-1 become the text S (CR LF,
  // lone CR and lone LF end lines). Count 0 inserts before Index. One undo step.
  void UpdateList(int Index, int Count, const std::string& S);
  // Text, number and last attribute of rows Index..Index+Count-1 (Count -1:
  // to the end of the logical line holding Index).
  void ListInfo(int Index, int Count, TEditorRowAttribute& Attribute, int& RowCount, std::string& S) const;
  int RowStart(int Row) const;
  int RowEnd(int Row) const;
  void CheckCrlf(int Row, std::string& S) const;
  // The text of rows Index..Index+Count-1, CR LF after each raCrlf row.
  std::string RangeText(int Index, int Count) const;
  std::string Text() const { return RangeText(0, Count()); }

  void DeleteList(int Index, int Count);
  void InsertList(int Index, const TEditorStringList& List);
  void ChangeList(int Index, int Count, TEditorStringList& List);

  void UpdateDrawInfo(int Start, int OldCount, int BracketCount, int NewCount);
  const TEditorDrawInfo& DrawInfo() const { return FDrawInfo; }

  void Clear() override;
  virtual void Undo();
  virtual void Redo();
  TEditorUndoObj& UndoObj() { return *FUndoObj; }

  void Reference(IEditorClient* Editor);
  void Release(IEditorClient* Editor);
  IEditorClient* GetClient() const { return FClients.empty() ? nullptr : FClients.front(); }
  IEditorClient* GetActiveClient() const;
  const std::vector<IEditorClient*>& Clients() const { return FClients; }

  const TEditorParserClass& GetParserClass() const { return FParserClass; }
  // Replaces the parser (an empty class means none) and rebuilds the row states.
  void SetParserClass(TEditorParserClass Class);

  // Word wrap.
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TEditorWrapOption& WrapOption() { return *FWrapOption; }
  virtual void StrToWrapList(const std::string& S, TEditorStringList& List);
  virtual int WrapCount(const std::string& S);
  void WrapLines();
  void StretchLines();
  void WrapOptionChanged();

  // Row states.
  void InitBrackets();
  int UpdateBrackets(int Row, bool Invalidate);

  // The column map options used when no client is attached.
  TColumnMapOptions ColumnOptions() const;
  // Carets and top rows pulled back into the rows.
  void ClientsAdjustRow();

 protected:
  virtual std::unique_ptr<TEditorUndoObj> CreateUndoObj();
  virtual std::unique_ptr<TEditorWrapOption> CreateWrapOption();
  void Changed() override;

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
  void ChangeLink();
  void CommitUndo(int ListIndex, int RowCount, TUndoData&& Old);
  std::string Attributes(const std::string& S) const;
  int DisplayWidth(const std::string& S) const;
  bool ClientLoading() const;
  // Cuts one line (no line breaks) into rows, calling Row(begin, length)
  // for each; returns the row count. The last row is the line's end.
  // Width is the line's display width when the caller knows it, else -1.
  template <class F>
  int CutLine(const std::string& Line, F&& Row, int Width = -1);
  void AppendCutLine(const std::string& Line, TEditorStringList& List, int Width = -1);
  int ScreenRows() const;
  std::unique_ptr<IEditorRowParser> MakeParser() const;
  void ClientsInitView();

  std::vector<IEditorClient*> FClients;
  TEditorDrawInfo FDrawInfo;
  TEditorParserClass FParserClass;
  std::unique_ptr<TEditorUndoObj> FUndoObj;
  bool FWordWrap = false;
  std::unique_ptr<TEditorWrapOption> FWrapOption;
};

}  // namespace vel
