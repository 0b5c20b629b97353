#pragma once
// The seam between the row list and the token parser. The row list keeps a
// parser state at the start of every row; to compute it, it creates a parser
// of its parser class and asks it for the state at the next row's start. The
// parser reads its switches (brackets, quote, comment marker, ...) from the
// control that hosts it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vel {

enum TEditorRowAttribute : uint8_t { raCrlf = 0, raWrapped = 1, raEof = 2, raInvalid = 3 };

class TEditorViewInfo;

// Read access to display rows, as the parser needs it.
class IEditorRows {
 public:
  virtual ~IEditorRows() = default;
  virtual int RowCount() const = 0;
  virtual const std::string& RowText(int row) const = 0;
  virtual TEditorRowAttribute RowAttribute(int row) const = 0;
};

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
