#include "editor/EditorEx.h"

#include <algorithm>

#include "document/ColumnMap.h"
#include "platform/Shell.h"
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
  auto repaint = [this](TNotifyPersistent*) { Invalidate(); };
  FFindColor.OnChange = repaint;
  FExMarks.OnChange = repaint;
  FVerticalLines.OnChange = repaint;
}

void TEditorEx::SetSelAfterLF(bool Value) {
  if (Value == FSelAfterLF) return;
  FSelAfterLF = Value;
  Invalidate();
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
  FOrig = S;
  if (!FFold) return S;
  Low.resize(S.size());
  if (!FUseRegex) {
    // Every byte, which is quick: a lowered trail byte is caught when a
    // match is checked against the text itself.
    const unsigned char* from = reinterpret_cast<const unsigned char*>(S.data());
    unsigned char* to = reinterpret_cast<unsigned char*>(Low.data());
    for (size_t i = 0, n = S.size(); i < n; ++i)
      to[i] = static_cast<unsigned char>(from[i] + (static_cast<unsigned char>(from[i] - 'A') < 26 ? 32 : 0));
    return Low;
  }
  // Only bytes that start a character: a trail byte may look like a capital.
  for (size_t i = 0; i < S.size();) {
    const unsigned char c = static_cast<unsigned char>(S[i]);
    if (sjis::IsLeadByte(c) && i + 1 < S.size()) {
      Low[i] = S[i];
      Low[i + 1] = S[i + 1];
      i += 2;
    } else {
      Low[i++] = static_cast<char>(sjis::AsciiLower(c));
    }
  }
  return Low;
}

void TEditorEx::Prepare() {
  if (FPrepared) return;
  FUseRegex = FSearchOptions.Contains(soRegexp) || FSearchOptions.Contains(soFuzzy);
  // A pattern without a letter finds the same in a lowered text as in the
  // text itself: then nothing is lowered.
  FFold = false;
  if (!FSearchOptions.Contains(soMatchCase))
    for (size_t i = 0; i < FFindText.size() && !FFold; i = sjis::NextChar(FFindText, i))
      FFold = (FFindText[i] >= 'A' && FFindText[i] <= 'Z') || (FFindText[i] >= 'a' && FFindText[i] <= 'z');
  if (!FFold) {
    FPattern = FFindText;
  } else if (FUseRegex) {
    FPattern = LowerPattern(FFindText);
  } else {
    FPattern = FFindText;
    for (size_t i = 0; i < FPattern.size(); i = sjis::NextChar(FPattern, i))
      FPattern[i] = static_cast<char>(sjis::AsciiLower(static_cast<unsigned char>(FPattern[i])));
  }
  // What a literal looks for in a subject lowered byte by byte.
  FNeedle = FPattern;
  if (FFold && !FUseRegex)
    for (char& c : FNeedle) c = static_cast<char>(sjis::AsciiLower(static_cast<unsigned char>(c)));
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
  if (!FUseRegex && FNeedle.empty()) return -1;
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
      const size_t f = S.find(FNeedle, static_cast<size_t>(p));
      if (f == std::string_view::npos) return -1;
      s = static_cast<int>(f);
      e = s + Size(FNeedle);
      while (boundary < s) boundary = static_cast<int>(sjis::NextChar(S, static_cast<size_t>(boundary)));
      // It must start and end on a character boundary, and a lowered trail
      // byte is no match.
      bool whole = boundary == s;
      for (int i = s; whole && i < e;) {
        const int k = static_cast<int>(sjis::CharLen(FOrig, static_cast<size_t>(i)));
        if (k == 2 && (i + 2 > e || FOrig[static_cast<size_t>(i + 1)] != FPattern[static_cast<size_t>(i + 1 - s)]))
          whole = false;
        i += k;
      }
      if (!whole) {
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

void TEditorEx::Begin(const std::string& AFindText, TSearchOptions Options) {
  // Compiled before the search is taken on: a bad pattern leaves the last
  // search (and its emphasis) as it was.
  if (AFindText != FFindText || !(Options == FSearchOptions)) {
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
  }
  Prepare();
  FFinding = true;
  Invalidate();
}

int TEditorEx::Find(const std::string& AFindText, int StartPos, int& FindLength, TSearchOptions Options) {
  FindLength = 0;
  Begin(AFindText, Options);
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
  if (r < 0 || ReadOnly()) return r;  // read-only: found and selected, not changed
  SetSelText(ReplaceText);
  SetSelStart(r);
  SetSelLength(Size(ReplaceText));
  SetTopRow(Row());
  return r;
}

int TEditorEx::ReplaceAll(const std::string& AFindText, const std::string& ReplaceText, TSearchOptions Options) {
  Begin(AFindText, Options);
  if (ReadOnly()) return 0;
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
  int firstRow = 0, endRow = list.Count();
  if (WholeTextMode()) {
    const std::string text = list.Text();
    replaceIn(text, Lowered(text, FLow));
  } else {
    // Only the lines from the first to the last that change are edited.
    const int lines = list.LineCount();
    size_t keepFrom = 0, keepTo = 0;
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
      const int before = count;
      const size_t at = out.size();
      replaceIn(original, Lowered(original, FLow));
      if (end > first && rows.GetRows(end - 1) == raCrlf) out += "\r\n";
      if (count == before) {
        if (before == 0) out.clear();
        continue;
      }
      if (before == 0) {
        firstRow = first;
        keepFrom = at;
      }
      endRow = end;
      keepTo = out.size();
    }
    out.resize(keepTo);
    out.erase(0, keepFrom);
  }
  if (count > 0) {
    // One edit: one undo step, one repaint.
    CleanSelection();
    list.UpdateList(firstRow, endRow - firstRow, out);
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
  if (Index < 0 || Index >= ListCount()) return;
  DrawMarks(ARect, X, Y, Index, ASelected);
  if (FFinding) DrawFindText(ARect, X, Y, Index, ASelected);
  if (ASelected && !FSelAfterLF) {
    // One column past the text keeps the selection colour: the line break.
    const int x = X + (ExpandListLength(Index) + 1) * ColWidth();
    const TRect rest = {std::max(ARect.Left, x), ARect.Top, ARect.Right, ARect.Bottom};
    if (rest.Right > rest.Left) PaintCanvas().FillRect(rest, Color());
  }
  DrawVerticalLines(PaintCanvas(), ARect);
}

void TEditorEx::DrawVerticalLines(ICanvas& Canvas, const TRect& Area) {
  for (int i = 0; i < FVerticalLines.Count(); ++i) {
    const TVerticalLine& l = FVerticalLines.Items(i);
    if (!l.Visible()) continue;
    const int x = l.Position() * ColWidth() + LeftMargin() - TopCol() * ColWidth();
    if (x < LeftMargin() || x < Area.Left || x >= Area.Right || Area.Bottom <= Area.Top) continue;
    Canvas.Line(x, Area.Top, x, Area.Bottom, l.Color());
  }
}

void TEditorEx::DrawTabMark(const TRect& ARect, int X, int Y, bool ASelected) {
  if (X < ARect.Left) return;
  const TColor c = ASelected ? View().Colors().Select().Color() : FExMarks.TabMark().Color();
  const int y = Y + FontHeight() / 2, w = ColWidth();
  ICanvas& canvas = PaintCanvas();
  canvas.Line(X, y, X + w - 1, y, c);
  canvas.Line(X + w - 3, y - 2, X + w - 1, y, c);
  canvas.Line(X + w - 1, y, X + w - 4, y + 3, c);
}

void TEditorEx::DrawMarks(const TRect& ARect, int X, int Y, int Row, bool ASelected) {
  const std::string& s = ScreenStrings().Rows().Get(Row);
  const TEditorMark& quote = FExMarks.Quotation();
  if (quote.Visible() && s.compare(0, FExMarks.QuoteChar().size(), FExMarks.QuoteChar()) == 0) {
    std::string shown;
    ExpandListStrTo(Row, shown);
    const TColor bg = ASelected ? View().Colors().Select().BkColor() : Color();
    DrawTextRect(ARect, X, true, shown, Y, 0, Size(shown), quote.Color(), bg);
  }
  const bool tabs = FExMarks.TabMark().Visible(), spaces = FExMarks.DBSpaceMark().Visible();
  if (!tabs && !spaces) return;
  static const std::string box = "□";
  static const std::string wideSpace = "　";
  const int w = ColWidth(), T = std::max(1, Caret().TabSpaceCount());
  int col = 0;
  for (size_t i = 0; i < s.size(); i = sjis::NextChar(s, i)) {
    const int x = X + col * w;
    if (x > ARect.Right) break;
    if (s[i] == '\t') {
      if (tabs && x >= ARect.Left && x <= ARect.Right - w) DrawTabMark(ARect, x, Y, ASelected);
      col += T - col % T;
      continue;
    }
    const size_t n = sjis::CharLen(s, i);
    if (spaces && n == 2 && s.compare(i, 2, wideSpace) == 0 && x >= ARect.Left && x <= ARect.Right - w) {
      const TRect cell = {x, ARect.Top, std::min(ARect.Right, x + 2 * w), ARect.Bottom};
      DrawTextRect(cell, x, false, box, Y, 0, Size(box), FExMarks.DBSpaceMark().Color(), Color());
    }
    col += static_cast<int>(n);
  }
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

void TEditorEx::MouseDown(const TMouseEvent& E) {
  TEditor::MouseDown(E);
  FClickArmed = E.Button == mbLeft && !(E.Shift & (ssDouble | ssShift | ssCtrl));
  if (E.Button == mbLeft && (E.Shift & ssDouble)) SelectTokenFromCaret();
}

void TEditorEx::MouseMove(const TMouseEvent& E) {
  TEditor::MouseMove(E);
  const bool onUrl = !(E.Shift & (ssLeft | ssRight | ssMiddle)) && Window() && TokenFromPos(E.X, E.Y) == toUrl;
  if (onUrl)
    Window()->SetCursor(crHandPoint);
  else if (FOnUrl)
    ShowStateCursor();
  FOnUrl = onUrl;
}

void TEditorEx::MouseUp(const TMouseEvent& E) {
  TEditor::MouseUp(E);
  const bool click = FClickArmed && E.Button == mbLeft;
  FClickArmed = false;
  if (click && SelLength() == 0 && TokenFromCaret() == toUrl) OpenWithDesktop(TokenStringFromCaret());
}

}  // namespace vel
