#pragma once
// A control for the parser tests: a view, a reserve word list, and rows.
#include <string>
#include <utility>
#include <vector>

#include "syntax/EditorParser.h"
#include "syntax/EditorViewInfo.h"
#include "syntax/ParserHost.h"

namespace vel::test {

struct TTestHost : IEditorParserHost {
  TEditorViewInfo View;
  std::vector<std::string> Words;
  bool HasView = true;
  const TEditorViewInfo* ParserView() const override { return HasView ? &View : nullptr; }
  const std::vector<std::string>& ReserveWordList() const override { return Words; }

  void AddBracket(const std::string& Left, const std::string& Right) {
    TEditorBracketItem& item = View.Brackets().Add();
    item.SetLeftBracket(Left);
    item.SetRightBracket(Right);
  }
};

struct TTestRows : IEditorRows {
  std::vector<std::pair<std::string, TEditorRowAttribute>> Rows;
  int RowCount() const override { return static_cast<int>(Rows.size()); }
  const std::string& RowText(int row) const override { return Rows.at(row).first; }
  TEditorRowAttribute RowAttribute(int row) const override { return Rows.at(row).second; }
};

struct TTok {
  int Kind, Pos, Len;
  bool operator==(const TTok&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const TTok& t) {
  return os << "{" << t.Kind << "," << t.Pos << "," << t.Len << "}";
}

// The tokens from the parser's current one up to the row end.
inline std::vector<TTok> Drain(TEditorParser& p, size_t limit = 10000) {
  std::vector<TTok> out;
  for (int k = p.Token(); k != toEof && out.size() < limit; k = p.NextToken())
    out.push_back({k, p.SourcePos(), p.TokenLength()});
  return out;
}

// The state at the start of every row (and after the last one), from (toEof, Bracket0).
inline std::vector<std::pair<int, int>> RowStates(const TTestRows& rows, const IEditorParserHost* host,
                                                  int Bracket0 = -1) {
  std::unique_ptr<IEditorRowParser> parser = EditorParserClass()("", host, Bracket0);
  std::vector<std::pair<int, int>> states{{toEof, Bracket0}};
  int token = toEof, bracket = Bracket0;
  for (int r = 0; r < rows.RowCount(); ++r) {
    parser->LastTokenBracket(r, rows, token, bracket);
    states.push_back({token, bracket});
  }
  return states;
}

}  // namespace vel::test
