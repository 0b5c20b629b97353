#pragma once
// Display columns of a row: the column map (one code per column), tab
// expansion, and the conversions between rows, columns, byte indices and
// logical lines that the control and the row list share. Every byte takes one
// column; a tab also takes the blank columns up to its stop.
#include <string>

#include "text/DBCS.h"
#include "document/EditorStringList.h"

namespace vel {

// Codes of the column map; a column cursor ends its map with cmEnd.
constexpr char cmSingle = '1', cmDelimiter = '2', cmTabBlank = '3', cmLead = '4', cmTrail = '5', cmEnd = '0';

// The default word delimiters: 0x00-0x2F, 0x3A-0x40, 0x5B-0x5E, 0x60,
// 0x7B-0x80, 0xA0-0xA5, 0xFD-0xFF.
TCharSet CreateDelimiters();

struct TColumnMapOptions {
  TCharSet Delimiters = CreateDelimiters();
  int TabSpaceCount = 8;
  bool WordWrap = false;
  int WrapByte = 80;
};

std::string StrToAttributes(const std::string& S, const TColumnMapOptions& Options);
std::string ExpandTab(const std::string& S, const TColumnMapOptions& Options);
// ExpandTab into Out, whose storage is reused: a painter expands every row it draws.
void ExpandTabTo(const std::string& S, const TColumnMapOptions& Options, std::string& Out);
// The length of ExpandTab(S) without building it.
int ExpandLength(const std::string& S, const TColumnMapOptions& Options);

// Char index of column Col in row text S: tab blanks map to the tab, the
// result is limited to the row's length.
int ColumnToIndex(const std::string& S, int Col, const TColumnMapOptions& Options);
// Display length of the first Index bytes of S.
int IndexToColumn(const std::string& S, int Index, const TColumnMapOptions& Options);

// Logical line of Row: the raCrlf rows above it (Row itself without word wrap),
// found by walking Rows; a row list answers TEditorScreenStrings::RowToLines
// from its line index instead.
int RowToLines(const TEditorStringList& Rows, int Row, bool WordWrap);
// Byte index within the logical line of column Col of Row; -1 outside.
int ColToChar(const TEditorStringList& Rows, int Row, int Col, const TColumnMapOptions& Options);
// A display place: a row and a column.
struct TRowCol {
  int Row = 0;
  int Col = 0;
};

}  // namespace vel
