#pragma once
// A small but complete client of a row list, as the editor control is one:
// it keeps a caret, a top row, a selection flag and the rows it has to
// repaint, measures rows with the default column map and hosts no view.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/ColumnMap.h"
#include "document/EditorClient.h"
#include "document/EditorScreenStrings.h"
#include "document/EditorStrings.h"

namespace vel::test {

class TTestClient : public IEditorClient, public IEditorParserHost {
 public:
  explicit TTestClient(std::shared_ptr<TEditorScreenStrings> list = std::make_shared<TEditorScreenStrings>())
      : List(*this, std::move(list)), Lines(*this) {
    List->SetScreenRows(10);
  }

  void DoChange() override {
    const TEditorDrawInfo& d = List->DrawInfo();
    if (d.NeedUpdate) {
      ++ChangeCount;
      LastDrawInfo = d;
      for (int r = d.Start; r < d.Start + d.NewCount; ++r) Dirty.insert(r);
    }
  }
  int GetRow() const override { return Row; }
  int GetCol() const override { return Col; }
  int GetTopRow() const override { return TopRow; }
  void SetRow(int v) override { Row = v < 0 ? 0 : v; }
  void SetCol(int v) override { Col = v < 0 ? 0 : v > 1000 ? 1000 : v; }
  void SetTopRow(int v) override { TopRow = v < 0 ? 0 : v; }
  void SetSelIndex(int FromRow, int Index) override {
    TRowCol rc = List->RowColAt(FromRow, Index);
    Row = rc.Row;
    Col = rc.Col;
  }
  void CleanSelection() override { Selected = false; }
  bool Focused() const override { return HasFocus; }
  void CaretBeginUpdate() override { ++CaretHold; }
  void CaretEndUpdate() override { --CaretHold; }
  void LinesBeginUpdate() override { ++LinesHold; }
  void LinesEndUpdate() override { --LinesHold; }
  void InitView() override {
    ++ViewInits;
    Invalidate();
  }
  void Invalidate() override { WholeDirty = true; }
  void InvalidateLine(int r) override { Dirty.insert(r); }
  bool IsLoading() const override { return Loading; }
  bool HasBracketPairs() const override { return BracketPairs; }
  const IEditorParserHost* ParserHost() const override { return this; }
  TEditorScreenStrings& ScreenStrings() override { return *List; }

  const TEditorViewInfo* ParserView() const override { return nullptr; }
  const std::vector<std::string>& ReserveWordList() const override { return Reserved; }

  TColumnMapOptions Options() const { return List->ColumnOptions(); }

  TEditorListLink List;
  TEditorStrings Lines;
  int Row = 0, Col = 0, TopRow = 0;
  bool Selected = false, HasFocus = false, Loading = false, BracketPairs = true;
  int CaretHold = 0, LinesHold = 0, ViewInits = 0, ChangeCount = 0;
  TEditorDrawInfo LastDrawInfo;
  std::set<int> Dirty;
  bool WholeDirty = false;
  std::vector<std::string> Reserved;
};

// Rows as "text|attribute" strings, attributes as c (raCrlf), w, e.
inline std::vector<std::string> RowsOf(const TEditorStringList& L) {
  std::vector<std::string> r;
  for (int i = 0; i < L.Count(); ++i) {
    static const char kAttr[] = "cwei";
    r.push_back(L.Get(i) + "|" + kAttr[L.GetRows(i)]);
  }
  return r;
}
inline std::vector<std::string> RowsOf(const TEditorScreenStrings& L) { return RowsOf(L.Rows()); }

// Loads rows with the given attributes, as reading a file does.
inline void LoadRows(TEditorScreenStrings& L, const std::vector<std::pair<std::string, TEditorRowAttribute>>& Rows) {
  TEditorStringList rows;
  for (const auto& [text, attribute] : Rows) rows.AddRow(text, attribute);
  L.LoadRows(rows);
}

// A parser with one bracket pair, "{" and "}", that may span rows; a word cut
// by word wrap carries token 7 into the next row.
class TBraceParser : public IEditorRowParser {
 public:
  void LastTokenBracket(int Row, const IEditorRows& Rows, int& Token, int& Bracket) override {
    const std::string& s = Rows.RowText(Row);
    for (size_t i = 0; i < s.size(); i = sjis::NextChar(s, i)) {
      if (s[i] == '{') Bracket = 0;
      if (s[i] == '}') Bracket = -1;
    }
    bool word = !s.empty() && ((s.back() >= 'a' && s.back() <= 'z') || (s.back() >= 'A' && s.back() <= 'Z'));
    Token = Rows.RowAttribute(Row) == raWrapped && word ? 7 : 0;
  }
};

inline TEditorParserClass BraceParserClass() {
  return [](const std::string&, const IEditorParserHost*, int) { return std::make_unique<TBraceParser>(); };
}

}  // namespace vel::test
