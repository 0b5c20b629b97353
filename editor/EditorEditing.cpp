// Edits of the text. Each builds the replacement text for a run of rows and
// hands it to the row list in one UpdateList (one undo step) through Apply,
// the common frame: the caret's target is counted in bytes from the start of
// the logical line that holds the first replaced row, since word wrap may cut
// every row below that start anew. Positions are always found by walking a
// row forward from its start, so no edit splits a double-byte character.
#include <algorithm>

#include "editor/Editor.h"

namespace vel {

namespace {

int Size(const std::string& s) { return static_cast<int>(s.size()); }

bool HasBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// Width in columns of the leading blanks (spaces, full-width spaces) of a
// tab-expanded text; a text of blanks only is its whole width.
int LeadingWhite(const std::string& x) {
  int w = 0;
  for (size_t i = 0; i < x.size();) {
    if (x[i] == ' ') {
      ++w;
      ++i;
    } else if (i + 1 < x.size() && x[i] == '\x81' && x[i + 1] == '\x40') {
      w += 2;
      i += 2;
    } else {
      break;
    }
  }
  return w;
}

// The characters of a row with their columns, from its column map.
struct TCharCol {
  int Index, Len, Col, Width;
};

std::vector<TCharCol> CharCols(const std::string& s, const std::string& a) {
  std::vector<TCharCol> v;
  int index = 0;
  for (int col = 0; col < Size(a);) {
    int width = 1, len = 1;
    if (a[static_cast<size_t>(col)] == cmLead && col + 1 < Size(a) && a[static_cast<size_t>(col) + 1] == cmTrail) {
      width = len = 2;
    } else {
      while (col + width < Size(a) && a[static_cast<size_t>(col + width)] == cmTabBlank) ++width;
    }
    if (index >= Size(s)) break;
    v.push_back({index, len, col, width});
    index += len;
    col += width;
  }
  return v;
}

// Index of the character whose columns hold Col (the last one when none does).
int CharAtCol(const std::vector<TCharCol>& v, int Col) {
  for (int i = 0; i < static_cast<int>(v.size()); ++i)
    if (Col < v[static_cast<size_t>(i)].Col + v[static_cast<size_t>(i)].Width) return i;
  return static_cast<int>(v.size()) - 1;
}

// A char index moved back off a trail byte.
int OnCharStart(const std::string& s, int c) {
  return c <= 0 ? c : static_cast<int>(sjis::CharStart(s, static_cast<size_t>(c)));
}

}  // namespace

void TEditor::Apply(int R, int E, const std::string& S, int TargetInS, bool Underline) {
  const int count = FList->Count();
  int L, target;
  if (R >= count && count > 0 && FList->Rows().GetRows(count - 1) != raCrlf) {
    // Text after a last row without a line break continues that row.
    L = FList->RowStart(count - 1);
    target = FList->TextLength() - FList->TextOffset(L) + TargetInS;
  } else {
    L = R >= count ? count : FList->RowStart(R);
    target = FList->TextOffset(R) - FList->TextOffset(L) + TargetInS;
  }
  CleanSelection();
  TCaretUpdate hold(*this);
  TUnderlineUpdate underline(Underline ? this : nullptr);
  if (R >= count)
    FList->UpdateList(count, 0, S);
  else if (E >= count)
    FList->UpdateList(R, count - R, S);
  else
    FList->UpdateList(R, E - R + 1, S);
  SetSelIndex(L, target);
}

void TEditor::InsertText(const std::string& S, bool OverWriteMode) {
  const int count = FList->Count();
  if (FRow >= count) {
    // The row after a final line break, or an empty document.
    const int pad = std::max(FCol, 0);
    Apply(count, count, std::string(static_cast<size_t>(pad), ' ') + S, pad + Size(S), HasBreak(S));
    return;
  }
  const std::string t = FList->Rows().Get(FRow);
  const int n = Size(t);
  const int c = OnCharStart(t, CaretIndex());
  std::string text;
  int E = FRow;
  if (c >= n) {
    text = t;
    text.append(static_cast<size_t>(c - n), ' ');
    text += S;
  } else if (OverWriteMode) {
    // Overwriting counts display columns, one per byte of S, and may run on
    // into the following rows of a wrapped line.
    int col = FCol + Size(S);
    int L = DisplayLength(E);
    while (col > L && ListRows(E) == raWrapped && E + 1 < count) {
      col -= L;
      ++E;
      L = DisplayLength(E);
    }
    const std::string tr = FList->Rows().Get(E);
    const std::string a = StrToAttributes(tr);
    std::string rest;
    if (col < Size(a)) {
      const int index = ColumnToIndex(tr, col, ColumnOptions());
      // A character whose second half is overwritten leaves a space.
      if (a[static_cast<size_t>(col)] == cmTrail) {
        rest.assign(1, ' ');
        rest.append(tr, static_cast<size_t>(index) + 1);
      } else {
        rest.assign(tr, static_cast<size_t>(index));
      }
    }
    text = t.substr(0, static_cast<size_t>(c)) + S + rest;
  } else {
    text = t;
    text.insert(static_cast<size_t>(c), S);
  }
  FList->CheckCrlf(E, text);
  Apply(FRow, E, text, c + Size(S), HasBreak(S));
}

std::vector<TEditor::TRemovedRow> TEditor::RemoveSelection() const {
  const TIndexRange x = ClampedIndexRange();
  const int count = FList->Count();
  std::vector<TRemovedRow> rows;
  if (FSelectionMode == smLine) {
    TRemovedRow r{ListStr(x.StartRow).substr(0, static_cast<size_t>(x.StartIndex)), raEof, x.StartIndex};
    if (x.EndRow < count) {
      r.Text += FList->Rows().Get(x.EndRow).substr(static_cast<size_t>(x.EndIndex + 1));
      r.Attribute = FList->Rows().GetRows(x.EndRow);
    }
    rows.push_back(std::move(r));
    return rows;
  }
  const TColumnMapOptions o = ColumnOptions();
  for (int row = x.StartRow; row <= x.EndRow && row < count; ++row) {
    const std::string& s = FList->Rows().Get(row);
    int from, length;
    BoxSpan(s, o, from, length);
    TRemovedRow r{s, FList->Rows().GetRows(row), from};
    if (length > 0) r.Text.erase(static_cast<size_t>(from), static_cast<size_t>(length));
    rows.push_back(std::move(r));
  }
  if (rows.empty()) rows.push_back(TRemovedRow{std::string(), raEof, 0});
  return rows;
}

namespace {

// The removed rows' texts, each raCrlf row followed by its line break.
template <class TRows>
std::string JoinRows(const TRows& rows) {
  size_t total = 0;
  for (const auto& r : rows) total += r.Text.size() + 2;
  std::string s;
  s.reserve(total);
  for (const auto& r : rows) {
    s += r.Text;
    if (r.Attribute == raCrlf) s += "\r\n";
  }
  return s;
}

}  // namespace

void TEditor::ReplaceSelection(const std::string& S) {
  const TIndexRange x = ClampedIndexRange();
  std::vector<TRemovedRow> rows = RemoveSelection();
  TRemovedRow& first = rows.front();
  const int at = std::max(first.Insert, 0);
  if (Size(first.Text) < at) first.Text.append(static_cast<size_t>(at - Size(first.Text)), ' ');
  first.Text.insert(static_cast<size_t>(at), S);
  const int E = FSelectionMode == smLine ? x.EndRow : x.StartRow + static_cast<int>(rows.size()) - 1;
  Apply(x.StartRow, E, JoinRows(rows), at + Size(S), true);
}

void TEditor::DeleteSelection() {
  if (!Selected()) return;
  const TIndexRange x = ClampedIndexRange();
  std::vector<TRemovedRow> rows = RemoveSelection();
  const int target = std::clamp(rows.front().Insert, 0, Size(rows.front().Text));
  const int E = FSelectionMode == smLine ? x.EndRow : x.StartRow + static_cast<int>(rows.size()) - 1;
  const bool pastEnd = FSelectionMode == smBox && rows.front().Insert > Size(rows.front().Text);
  const int corner = FSelCol.StartCol;
  Apply(x.StartRow, E, JoinRows(rows), target, rows.size() > 1 || x.EndRow > x.StartRow);
  // The box's corner lies past the first row's end: the caret goes there,
  // as far as the caret may stand.
  if (pastEnd) SetCol(corner);
}

void TEditor::PutStringToLine(const std::string& S) {
  if (S.empty()) return;
  if (Selected())
    ReplaceSelection(S);
  else
    InsertText(S, FOverWrite);
}

void TEditor::SetSelTextBuf(const std::string& P) {
  if (FReadOnly) return;
  if (P.empty()) {
    DeleteSelection();
    return;
  }
  if (Selected())
    ReplaceSelection(P);
  else
    InsertText(P, false);
}

void TEditor::KeyChar(const std::string& Ch) {
  if (Ch.empty()) return;
  const auto b = static_cast<unsigned char>(Ch[0]);
  if (Ch.size() == 1) {
    if (b == 8) return KeyBackSpace();
    if (b == 9) return KeyTab();
    if (b == 13) return KeyReturn();
    if (FReadOnly) return;
    if ((b >= 32 && b <= 126) || (b >= 161 && b <= 223)) PutStringToLine(Ch);
    return;
  }
  // A whole double-byte character, as the window joins a lead and a trail byte.
  if (!FReadOnly && Ch.size() == 2 && IsLeadByte(b)) PutStringToLine(Ch);
}

void TEditor::KeyTab() {
  if (!WantTabs || FReadOnly) return;
  const int T = FCaret->TabSpaceCount();
  int d = T - FCol % T;
  if (FList->GetWordWrap()) {
    const int W = FList->WrapOption().GetWrapByte();
    d = std::min(d, W - FCol % W);
  }
  if (FOverWrite) {
    SetCol(FCol + d);
  } else if (FCaret->SoftTab) {
    PutStringToLine(std::string(static_cast<size_t>(d), ' '));
  } else {
    PutStringToLine("\t");
  }
}

void TEditor::KeyReturn() {
  if (FReadOnly) return;
  if (Selected()) DeleteSelection();
  const int count = FList->Count();
  if (FRow >= count) {
    Apply(count, count, "\r\n", 2, true);
    return;
  }
  if (FOverWrite) {
    // The last line has no next row to move to: it gets one, or what is
    // typed next would overwrite the line just left.
    if (FRow == count - 1 && FList->Rows().GetRows(FRow) == raEof)
      Apply(count, count, "\r\n", 2, true);
    else
      SetRowCol(FRow + 1, 0);
    return;
  }
  const std::string t = FList->Rows().Get(FRow);
  const int c = OnCharStart(t, std::min(CaretIndex(), Size(t)));
  const int F = FList->RowStart(FRow);
  int w = 0;
  if (FCaret->AutoIndent) {
    const int i = LeadingWhite(ExpandListStr(F));
    if (i > 0) {
      w = FRow == F && FCol < i ? FCol : i;
    } else if (FCaret->PrevSpaceIndent && FRow == F && t.empty()) {
      for (int r = F - 1; r >= 0; --r) {
        if ((r == 0 || ListRows(r - 1) != raWrapped) && !FList->Rows().Get(r).empty()) {
          w = LeadingWhite(ExpandListStr(r));
          break;
        }
      }
    }
  }
  const int T = FCaret->TabSpaceCount();
  const std::string indent = FCaret->TabIndent
                                 ? std::string(static_cast<size_t>(w / T), '\t') + std::string(static_cast<size_t>(w % T), ' ')
                                 : std::string(static_cast<size_t>(w), ' ');
  std::string text = t.substr(0, static_cast<size_t>(c)) + "\r\n" + indent + t.substr(static_cast<size_t>(c));
  FList->CheckCrlf(FRow, text);
  Apply(FRow, FRow, text, c + 2 + Size(indent), true);
}

void TEditor::BackSpaceJoin() {
  if (FRow == 0) return;
  const int count = FList->Count();
  const int P = FRow - 1;
  const std::string p = FList->Rows().Get(P);
  if (FList->Rows().GetRows(P) == raWrapped) {
    // The line goes on across the wrap: its last character goes.
    const int last = OnCharStart(p, Size(p) - 1);
    Apply(P, P, p.substr(0, static_cast<size_t>(std::max(last, 0))), std::max(last, 0), false);
    return;
  }
  if (FRow >= count) {
    Apply(P, P, p, Size(p), false);
    return;
  }
  std::string text = p + FList->Rows().Get(FRow);
  FList->CheckCrlf(FRow, text);
  Apply(P, FRow, text, Size(p), true);
}

void TEditor::KeyBackSpace() {
  if (FReadOnly) return;
  const int count = FList->Count();
  if (count == 0) {
    SetCol(FCol - 1);
    return;
  }
  if (Selected()) {
    DeleteSelection();
    return;
  }
  if (FCol == 0) {
    BackSpaceJoin();
    return;
  }
  // On the row after a final line break there is no text: the caret only moves.
  const std::string t = ListStr(FRow);
  const std::string a = StrToAttributes(t);
  const int L = Size(a);
  const std::vector<TCharCol> chars = CharCols(t, a);
  const int n = t.empty() ? -1 : LeadingWhite(ExpandTab(t));
  if (FCaret->BackSpaceUnIndent && (n == -1 || n == L || n == FCol)) {
    // Back to the indent of the nearest earlier row that is less indented.
    const int lineStart = FList->RowStart(FRow);
    int g = 0;
    for (int r = FRow - 1; r >= 0; --r) {
      const int w = LeadingWhite(ExpandListStr(r));
      if (r >= lineStart && w == 0) continue;
      if (w < FCol) {
        g = w;
        break;
      }
    }
    if (g >= L) {
      SetCol(g);
      return;
    }
    std::string text;
    for (const TCharCol& ch : chars) {
      if (ch.Col + ch.Width <= g) {
        text.append(t, static_cast<size_t>(ch.Index), static_cast<size_t>(ch.Len));
      } else {
        if (ch.Col < g) text.append(static_cast<size_t>(g - ch.Col), ' ');
        break;
      }
    }
    const int target = Size(text);
    if (FCol < L) {
      const TCharCol& ch = chars[static_cast<size_t>(CharAtCol(chars, FCol))];
      if (ch.Col == FCol) {
        text.append(t, static_cast<size_t>(ch.Index));
      } else {
        text.append(static_cast<size_t>(ch.Col + ch.Width - FCol), ' ');
        text.append(t, static_cast<size_t>(ch.Index + ch.Len));
      }
    }
    FList->CheckCrlf(FRow, text);
    Apply(FRow, FRow, text, target, false);
    return;
  }
  if (FCol > L) {
    SetCol(FCol - 1);
    return;
  }
  const TCharCol& ch = chars[static_cast<size_t>(CharAtCol(chars, FCol - 1))];
  std::string text = t;
  text.erase(static_cast<size_t>(ch.Index), static_cast<size_t>(ch.Len));
  FList->CheckCrlf(FRow, text);
  Apply(FRow, FRow, text, ch.Index, false);
}

void TEditor::KeyDelete() {
  if (FReadOnly) return;
  if (Selected()) {
    DeleteSelection();
    return;
  }
  const int count = FList->Count();
  if (FRow >= count) return;
  const std::string t = FList->Rows().Get(FRow);
  const int n = Size(t);
  const int c = OnCharStart(t, CaretIndex());
  if (c < n) {
    std::string text = t;
    text.erase(static_cast<size_t>(c), CharLength(t, static_cast<size_t>(c)));
    FList->CheckCrlf(FRow, text);
    Apply(FRow, FRow, text, c, false);
    return;
  }
  const TEditorRowAttribute a = FList->Rows().GetRows(FRow);
  if (a == raEof) return;
  if (a == raWrapped) {
    // At the end of a wrapped row the next character is the next row's first.
    const std::string next = FList->Rows().Get(FRow + 1);
    std::string text = t + (next.empty() ? next : next.substr(CharLength(next, 0)));
    FList->CheckCrlf(FRow + 1, text);
    Apply(FRow, FRow + 1, text, n, false);
    return;
  }
  std::string text = t + std::string(static_cast<size_t>(c - n), ' ');
  if (FRow + 1 < count) {
    text += FList->Rows().Get(FRow + 1);
    FList->CheckCrlf(FRow + 1, text);
    Apply(FRow, FRow + 1, text, c, true);
  } else {
    Apply(FRow, FRow, text, c, false);
  }
}

void TEditor::DeleteRow(int ARow) {
  if (ARow < 0 || ARow >= FList->Count()) return;
  CleanSelection();
  {
    TCaretUpdate hold(*this);
    TUnderlineUpdate underline(*this);
    FList->UpdateList(ARow, 1, std::string());
  }
  if (ARow > 0 && ListRows(ARow - 1) == raEof)
    SetRowCol(ARow - 1, DisplayLength(ARow - 1));
  else
    SetRowCol(ARow, 0);
}

}  // namespace vel
