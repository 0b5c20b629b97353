#pragma once
// The seam between the row list and the token parser. The row list keeps a
// parser state at the start of every row; to compute it, it creates a parser
// of its parser class and asks it for the state at the next row's start. The
// parser reads its switches (brackets, quote, comment marker, ...) from the
// control that hosts it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "syntax/EditorRow.h"

namespace vel {

class TEditorViewInfo;

// What the parser needs of the control it colours for.
class IEditorParserHost {
 public:
  virtual ~IEditorParserHost() = default;
  // May be null: a control without a view recognises no brackets or switches.
  virtual const TEditorViewInfo* ParserView() const = 0;
  // Sorted, without duplicates; searched without regard to letter case.
  virtual const std::vector<std::string>& ReserveWordList() const = 0;
};

class IEditorRowParser {
 public:
  virtual ~IEditorRowParser() = default;
  // Token and Bracket hold the state at the start of Row and receive the state
  // at the start of the row after it.
  virtual void LastTokenBracket(int Row, const IEditorRows& Rows, int& Token, int& Bracket) = 0;
};

// A parser class: makes a parser for a text, a host (may be null) and a
// starting bracket state. An empty class means no parser: every row starts
// outside any bracket with token 0.
using TEditorParserClass =
    std::function<std::unique_ptr<IEditorRowParser>(const std::string& S, const IEditorParserHost* Editor,
                                                    int BracketIndex)>;

}  // namespace vel
