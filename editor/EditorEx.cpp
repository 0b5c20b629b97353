#include "editor/EditorEx.h"

#include <algorithm>

#include "document/ColumnMap.h"
#include "regexp/AWKStr.h"
#include "text/Sjis.h"

namespace vel {

namespace {

int Size(std::string_view s) { return static_cast<int>(s.size()); }

// A whole word has the edge of the subject or a blank (a control byte,
// space, tab, CR, LF) on each side.
bool IsBlank(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return b >= 1 && b <= 32;
}

bool IsWholeWord(std::string_view S, int Start, int End) {
  return (Start == 0 || IsBlank(S[static_cast<size_t>(Start - 1)])) &&
         (End >= Size(S) || IsBlank(S[static_cast<size_t>(End)]));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A regular expression folded as the subject is: its letters lowered, and a
// hexadecimal or octal escape that names a capital made to name the small
// letter (lowering the text alone would leave \x41 looking for an "A" that a
// lowered subject no longer has).
std::string LowerPattern(std::string_view P) {
  std::string out;
  for (size_t i = 0; i < P.size();) {
    const size_t n = sjis::CharLen(P, i);
    if (n == 2) {
      out.append(P.substr(i, 2));
      i += 2;
      continue;
    }
    const char c = P[i];
    if (c != '\\' || i + 1 >= P.size()) {
      out += static_cast<char>(sjis::AsciiLower(static_cast<unsigned char>(c)));
      ++i;
      continue;
    }
    const char e = static_cast<char>(sjis::AsciiLower(static_cast<unsigned char>(P[i + 1])));
    const bool hex = e == 'x';
    const bool oct = e >= '0' && e <= '7';
    if (!hex && !oct) {
      if (sjis::IsLeadByte(static_cast<unsigned char>(P[i + 1]))) {
        out += '\\';
        ++i;
        continue;
      }
      out += '\\';
      out += e;
      i += 2;
      continue;
    }
    // The digits as the engine reads them: up to four hex or six octal.
    size_t j = hex ? i + 2 : i + 1;
    const size_t first = j;
    int value = 0;
    const size_t most = hex ? 4 : 6;
    while (j < P.size() && j - first < most) {
      const int d = hex ? HexDigit(P[j]) : (P[j] >= '0' && P[j] <= '7' ? P[j] - '0' : -1);
      if (d < 0) break;
      value = value * (hex ? 16 : 8) + d;
      ++j;
    }
    const size_t digits = j - first;
    if (value >= 'A' && value <= 'Z' && digits > 0) {
      value += 'a' - 'A';
      std::string d;
      for (size_t k = 0; k < digits; ++k, value /= hex ? 16 : 8) d.insert(d.begin(), "0123456789abcdef"[value % (hex ? 16 : 8)]);
      out += hex ? "\\x" : "\\";
      out += d;
    } else {
      out += hex ? "\\x" : "\\";
      for (size_t k = first; k < j; ++k) out += static_cast<char>(sjis::AsciiLower(static_cast<unsigned char>(P[k])));
    }
    i = j;
  }
  return out;
}

}  // namespace

TEditorEx::TEditorEx() {
  FFindColor.SetBkColor(SystemColor(COLORINDEX_ACTIVECAPTION));
  FFindColor.SetColor(clWhite);
}

TEditorEx::~TEditorEx() = default;

void TEditorEx::SetFindText(const std::string& Value) {
  if (Value == FFindText) return;
  FFindText = Value;
  FPrepared = false;
  if (FFinding) Invalidate();
}

void TEditorEx::SetSearchOptions(TSearchOptions Value) {
  if (Value == FSearchOptions) return;
  FSearchOptions = Value;
  FPrepared = false;
  if (FFinding) Invalidate();
}

std::string_view TEditorEx::Lowered(std::string_view S, std::string& Low) const {
  if (FSearchOptions.Contains(soMatchCase)) return S;
  Low.assign(S);
  // Only bytes that start a character: a trail byte may look like a capital.
  for (size_t i = 0; i < Low.size(); i = sjis::NextChar(Low, i))
    Low[i] = static_cast<char>(sjis::AsciiLower(static_cast<unsigned char>(Low[i])));
  return Low;
}

void TEditorEx::Prepare() {
  if (FPrepared) return;
  std::string low;
  FUseRegex = FSearchOptions.Contains(soRegexp) || FSearchOptions.Contains(soFuzzy);
  if (FUseRegex && !FSearchOptions.Contains(soMatchCase))
    FPattern = LowerPattern(FFindText);
  else
    FPattern = std::string(Lowered(FFindText, low));
  if (FUseRegex) {
    if (!FRegex) FRegex = std::make_unique<TAWKStr>();
    // The switch first: setting it recompiles whatever pattern is current.
    if (FRegex->GetUseFuzzyCharDic() != FSearchOptions.Contains(soFuzzy))
      FRegex->SetUseFuzzyCharDic(FSearchOptions.Contains(soFuzzy));
    FRegex->SetRegExp(FPattern);
  }
  FPrepared = true;
}

bool TEditorEx::WholeTextMode() const {
  return FSearchOptions.Contains(soRegexp) && FFindText.find("\\n") != std::string::npos;
}

int TEditorEx::SearchIn(std::string_view S, int From, int& Length) {
  Length = 0;
  if (!S.data()) S = std::string_view("", 0);  // the matcher reads its terminator
  const int n = Size(S);
  if (From < 0 || From > n) return -1;
  if (!FUseRegex && FPattern.empty()) return -1;
  int p = From;
  int boundary = From;  // a character boundary at or before every candidate
  while (p <= n) {
    int s, e;
    if (FUseRegex) {
      size_t ms, me;
      const bool head = p == 0 ? FHeadAtStart : S[static_cast<size_t>(p - 1)] == '\n';
      if (!FRegex->SearchFrom(S, static_cast<size_t>(p), head, ms, me)) return -1;
      s = static_cast<int>(ms);
      e = static_cast<int>(me);
    } else {
      const size_t f = S.find(FPattern, static_cast<size_t>(p));
      if (f == std::string_view::npos) return -1;
      s = static_cast<int>(f);
      e = s + Size(FPattern);
      while (boundary < s) boundary = static_cast<int>(sjis::NextChar(S, static_cast<size_t>(boundary)));
      if (boundary != s) {  // inside a double-byte character
        p = s + 1;
        continue;
      }
    }
    if (e > s && (!FSearchOptions.Contains(soWholeWord) || IsWholeWord(S, s, e))) {
      Length = e - s;
      return s;
    }
    if (s >= n) return -1;
    p = static_cast<int>(sjis::NextChar(S, static_cast<size_t>(s)));
    boundary = p;
  }
  return -1;
}

std::string_view TEditorEx::Subject(int Line, std::string& Buf, std::string& Low) const {
  const TEditorScreenStrings& list = const_cast<TEditorEx*>(this)->ScreenStrings();
  const TEditorStringList& rows = list.Rows();
  const int first = list.LinesToRow(Line), end = std::min(list.LinesToRow(Line + 1), rows.Count());
  if (first >= end) return {};
  std::string_view s;
  if (end - first == 1) {
    s = rows.Get(first);
  } else {
    Buf.clear();
    for (int r = first; r < end; ++r) Buf += rows.Get(r);
    s = Buf;
  }
  return Lowered(s, Low);
}

void TEditorEx::LineOfOffset(int Offset, int& Line, int& Index, int& LineStart) const {
  const TEditorStringList& rows = const_cast<TEditorEx*>(this)->ScreenStrings().Rows();
  const int count = rows.Count();
  int n = 0, line = 0, len = 0, start = 0;
  Offset = std::max(Offset, 0);
  for (int r = 0; r < count; ++r) {
    len += Size(rows.Get(r));
    const TEditorRowAttribute a = rows.GetRows(r);
    if (a == raWrapped && r + 1 < count) continue;
    const int size = len + (a == raCrlf ? 2 : 0);
    if (Offset < start + size || r + 1 == count) {
      Line = line;
      Index = std::min(Offset - start, len);
      LineStart = start;
      return;
    }
    n += size;
    start = n;
    len = 0;
    ++line;
  }
  Line = line;
  Index = 0;
  LineStart = start;
}

int TEditorEx::GetFindStart(int Row, int Start, bool WholeText, int& Length) {
  Length = 0;
  if (Row < 0 || Row >= ListCount()) return -1;
  Prepare();
  if (WholeText) {
    const std::string text = ScreenStrings().Text();
    return SearchIn(Lowered(text, FLow), Start, Length);
  }
  return SearchIn(Subject(RowToLines(Row), FBuf, FLow), Start, Length);
}

void TEditorEx::Select(int Pos, int Length) {
  SetSelStart(Pos);
  SetSelLength(Length);
}

int TEditorEx::Find(const std::string& AFindText, int StartPos, int& FindLength, TSearchOptions Options) {
  FindLength = 0;
  // Compiled before anything is stored: a bad pattern leaves the last search
  // (and its emphasis) as it was.
  const std::string oldText = FFindText;
  const TSearchOptions oldOptions = FSearchOptions;
  FFindText = AFindText;
  FSearchOptions = Options;
  FPrepared = false;
  try {
    Prepare();
  } catch (...) {
    FFindText = oldText;
    FSearchOptions = oldOptions;
    FPrepared = false;
    throw;
  }
  if (!FFinding) {
    FFinding = true;
  }
  Invalidate();
  SetSelStart(StartPos);
  int pos = -1, len = 0;
  if (WholeTextMode()) {
    const std::string text = ScreenStrings().Text();
    pos = SearchIn(Lowered(text, FLow), std::min(StartPos, Size(text)), len);
  } else {
    int line, index, start;
    LineOfOffset(StartPos, line, index, start);
    const int lines = ScreenStrings().LineCount();
    for (; line < lines; ++line) {
      const std::string_view s = Subject(line, FBuf, FLow);
      const int r = SearchIn(s, index, len);
      if (r >= 0) {
        pos = start + r;
        break;
      }
      start += Size(s) + 2;
      index = 0;
    }
  }
  if (pos < 0) return -1;
  FindLength = len;
  Select(pos, len);
  return pos;
}

int TEditorEx::FindNext(int StartPos, int& FindLength) {
  return Find(FFindText, StartPos, FindLength, FSearchOptions);
}

int TEditorEx::FindPrev(int StartPos, int& FindLength) {
  FindLength = 0;
  Prepare();
  FFinding = true;
  Invalidate();
  SetSelStart(StartPos);
  if (WholeTextMode()) return -1;
  int line, limit, start;
  LineOfOffset(StartPos, line, limit, start);
  for (bool first = true; line >= 0; --line, first = false) {
    const std::string_view s = Subject(line, FBuf, FLow);
    if (!first) {  // a line before the caret's: searched whole
      start -= Size(s) + 2;
      limit = Size(s) + 1;
    }
    int last = -1, lastLen = 0, len;
    for (int r = SearchIn(s, 0, len); r >= 0 && r < limit; r = SearchIn(s, r + len, len)) {
      last = r;
      lastLen = len;
    }
    if (last >= 0) {
      FindLength = lastLen;
      Select(start + last, lastLen);
      return start + last;
    }
  }
  return -1;
}

void TEditorEx::FindCancel() {
  if (!FFinding) return;
  FFinding = false;
  Invalidate();
}

int TEditorEx::Replace(const std::string& AFindText, const std::string& ReplaceText, int StartPos, int& FindLength,
                       TSearchOptions Options) {
  const int r = Find(AFindText, StartPos, FindLength, Options);
  if (r < 0) return r;
  SetSelText(ReplaceText);
  SetSelStart(r);
  SetSelLength(Size(ReplaceText));
  SetTopRow(Row());
  return r;
}

int TEditorEx::ReplaceAll(const std::string& AFindText, const std::string& ReplaceText, TSearchOptions Options) {
  // Stores and compiles as Find does (a bad pattern raises here, nothing replaced).
  const std::string oldText = FFindText;
  const TSearchOptions oldOptions = FSearchOptions;
  FFindText = AFindText;
  FSearchOptions = Options;
  FPrepared = false;
  try {
    Prepare();
  } catch (...) {
    FFindText = oldText;
    FSearchOptions = oldOptions;
    FPrepared = false;
    throw;
  }
  FFinding = true;
  Invalidate();
  TEditorScreenStrings& list = ScreenStrings();
  const TEditorStringList& rows = list.Rows();
  int count = 0;
  std::string out;
  // Matches are looked for in the subject (lowered when needed), and the
  // bytes around them are copied from the text itself.
  auto replaceIn = [&](std::string_view original, std::string_view s) {
    int from = 0, len;
    for (int r = SearchIn(s, 0, len); r >= 0; r = SearchIn(s, r + len, len)) {
      out.append(original.substr(static_cast<size_t>(from), static_cast<size_t>(r - from)));
      out += ReplaceText;
      from = r + len;
      ++count;
    }
    out.append(original.substr(static_cast<size_t>(from)));
  };
  if (WholeTextMode()) {
    const std::string text = list.Text();
    replaceIn(text, Lowered(text, FLow));
  } else {
    const int lines = list.LineCount();
    std::string joined;
    for (int line = 0; line < lines; ++line) {
      const int first = list.LinesToRow(line), end = std::min(list.LinesToRow(line + 1), rows.Count());
      std::string_view original;
      if (end - first == 1) {
        original = rows.Get(first);
      } else {
        joined.clear();
        for (int r = first; r < end; ++r) joined += rows.Get(r);
        original = joined;
      }
      replaceIn(original, Lowered(original, FLow));
      if (end > first && rows.GetRows(end - 1) == raCrlf) out += "\r\n";
    }
  }
  if (count > 0) {
    // One edit of the whole text: one undo step, one repaint.
    CleanSelection();
    list.UpdateList(0, list.Count(), out);
  }
  Invalidate();
  return count;
}

int TEditorEx::CharToCol(int Row, int Index) const {
  if (Row < 0 || Row >= ListCount()) return -1;
  const std::string& s = const_cast<TEditorEx*>(this)->ScreenStrings().Rows().Get(Row);
  if (Index < 0 || Index >= Size(s)) return -1;
  const TColumnMapOptions o = ColumnOptions();
  if (sjis::CharStart(s, static_cast<size_t>(Index)) != static_cast<size_t>(Index))
    return IndexToColumn(s, Index + 1, o) - 1;
  return IndexToColumn(s, Index, o);
}

void TEditorEx::DoDrawLine(const TRect& ARect, int X, int Y, int Index, const std::string& LineStr, bool ASelected) {
  TEditor::DoDrawLine(ARect, X, Y, Index, LineStr, ASelected);
  if (FFinding) DrawFindText(ARect, X, Y, Index, ASelected);
}

void TEditorEx::DrawFindText(const TRect& ARect, int X, int Y, int Row, bool ASelected) {
  if (Row < 0 || Row >= ListCount()) return;
  try {
    Prepare();
  } catch (...) {
    // A pattern that cannot compile would fail again on every row of every
    // paint: emphasis goes off instead.
    FFinding = false;
    return;
  }
  TEditorScreenStrings& list = ScreenStrings();
  const TEditorStringList& rows = list.Rows();
  const int line = list.RowToLines(Row);
  const int first = list.LinesToRow(line);
  // The subject starts one row early, so that a match running into this row
  // from the one before it is painted here as well.
  const int from = Row > first ? Row - 1 : Row;
  int rowStart = 0;
  FBuf.clear();
  if (from < Row) {
    FBuf = rows.Get(from);
    rowStart = Size(FBuf);
  }
  const std::string& text = rows.Get(Row);
  const int rowEnd = rowStart + Size(text);
  FBuf += text;
  // A little of the rest of the line lets a match end beyond the row.
  constexpr int kSlack = 1 << 12;
  for (int r = Row; rows.GetRows(r) == raWrapped && r + 1 < rows.Count() && Size(FBuf) < rowEnd + kSlack; ++r)
    FBuf += rows.Get(r + 1);
  std::string_view s = Lowered(FBuf, FLow);
  const TColor fg = ASelected ? FFindColor.BkColor() : FFindColor.Color();
  const TColor bg = ASelected ? FFindColor.Color() : FFindColor.BkColor();
  std::string shown;
  ExpandListStrTo(Row, shown);
  const int shownLen = Size(shown);
  bool fontSet = false;
  int len;
  // A subject that starts inside the line does not start at a line head.
  FHeadAtStart = from == first;
  struct TRestore {
    bool& B;
    ~TRestore() { B = true; }
  } restore{FHeadAtStart};
  for (int r = SearchIn(s, 0, len); r >= 0 && r < rowEnd; r = SearchIn(s, r + len, len)) {
    const int a = std::max(r, rowStart), b = std::min(r + len, rowEnd);
    if (a >= b) continue;
    const int c1 = CharToCol(Row, a - rowStart);
    const int c2 = b >= rowEnd ? shownLen : CharToCol(Row, b - rowStart);
    if (c1 < 0 || c2 <= c1) continue;
    const TRect cells = {std::max(ARect.Left, X + c1 * ColWidth()), ARect.Top,
                         std::min(ARect.Right, X + c2 * ColWidth()), ARect.Bottom};
    if (cells.Right <= cells.Left) continue;
    if (!fontSet) {
      TFontSpec f = Font();
      const TFontStyles st = FFindColor.Style();
      f.Bold = st.Contains(fsBold);
      f.Italic = st.Contains(fsItalic);
      f.Underline = st.Contains(fsUnderline);
      f.StrikeOut = st.Contains(fsStrikeOut);
      PaintCanvas().SetFont(f);
      fontSet = true;
    }
    DrawTextRect(cells, X, true, shown, Y, c1, c2, fg, bg);
  }
  if (fontSet) PaintCanvas().SetFont(Font());
}

}  // namespace vel
