#pragma once
// A small but complete client of a row list, as the editor control is one:
// it keeps a caret, a top row, a selection flag and the rows it has to
// repaint, measures rows with the default column map and hosts no view.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "editor/ColumnMap.h"
#include "editor/EditorClient.h"
#include "editor/EditorScreenStrings.h"
#include "editor/EditorStrings.h"

namespace vel::test {

class TTestClient : public IEditorClient, public IEditorParserHost {
 public:
  explicit TTestClient(std::shared_ptr<TEditorScreenStrings> list = std::make_shared<TEditorScreenStrings>())
      : List(std::move(list)), Lines(*this) {
    List->Reference(this);
  }
  ~TTestClient() override { List->Release(this); }

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
    TRowCol rc = vel::SetSelIndex(*List, FromRow, Index, Options());
    Row = rc.Row;
    Col = rc.Col;
  }
  bool GetSelected() const override { return Selected; }
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
  void InitScroll() override {}
  void Invalidate() override { WholeDirty = true; }
  void InvalidateLine(int r) override { Dirty.insert(r); }
  int GetRowHeight() const override { return 16; }
  int GetScreenHeight() const override { return ScreenRows * 16; }
  bool IsLoading() const override { return Loading; }
  bool HasBracketPairs() const override { return BracketPairs; }
  const IEditorParserHost* ParserHost() const override { return this; }
  std::string StrToAttributes(const std::string& S) const override { return vel::StrToAttributes(S, Options()); }
  std::string ExpandTab(const std::string& S) const override { return vel::ExpandTab(S, Options()); }
  int ExpandLength(const std::string& S) const override { return vel::ExpandLength(S, Options()); }
  TEditorScreenStrings& ScreenStrings() override { return *List; }

  const TEditorViewInfo* ParserView() const override { return nullptr; }
  const std::vector<std::string>& ReserveWordList() const override { return Reserved; }

  TColumnMapOptions Options() const {
    TColumnMapOptions o;
    o.TabSpaceCount = TabSpaceCount;
    o.WordWrap = List->GetWordWrap();
    o.WrapByte = List->WrapOption().GetWrapByte();
    return o;
  }

  std::shared_ptr<TEditorScreenStrings> List;
  TEditorStrings Lines;
  int Row = 0, Col = 0, TopRow = 0;
  bool Selected = false, HasFocus = false, Loading = false, BracketPairs = true;
  int TabSpaceCount = 8, ScreenRows = 10;
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

// A parser with one bracket pair, "{" and "}", that may span rows; a word cut
// by word wrap carries token 7 into the next row.
class TBraceParser : public IEditorRowParser {
 public:
  void LastTokenBracket(int Row, const IEditorRows& Rows, int& Token, int& Bracket) override {
    const std::string& s = Rows.RowText(Row);
    for (size_t i = 0; i < s.size(); i += CharLength(s, i)) {
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
