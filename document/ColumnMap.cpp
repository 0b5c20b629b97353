#include "document/ColumnMap.h"

#include <algorithm>
#include <cstring>

namespace vel {

namespace {

int TabBlanks(int col, const TColumnMapOptions& o) {
  int t = o.TabSpaceCount > 0 ? o.TabSpaceCount : 1;
  int n = t - 1 - col % t;
  if (o.WordWrap && o.WrapByte > 0) n = Min(n, o.WrapByte - 1 - col % o.WrapByte);
  return Max(n, 0);
}

// Walks S character by character, calling F(byteIndex, charLength, column,
// blanks) where blanks is the number of tab blank columns after the byte.
template <class F>
void WalkColumns(const std::string& S, const TColumnMapOptions& o, F&& f) {
  int col = 0;
  for (size_t i = 0; i < S.size();) {
    size_t len = sjis::CharLen(S, i);
    int blanks = (len == 1 && S[i] == '\t') ? TabBlanks(col, o) : 0;
    if (!f(i, len, col, blanks)) return;
    col += static_cast<int>(len) + blanks;
    i += len;
  }
}

TCharSet BuildDelimiters() {
  TCharSet s;
  auto range = [&](int lo, int hi) {
    for (int c = lo; c <= hi; ++c) s.set(c);
  };
  range(0x00, 0x2F);
  range(0x3A, 0x40);
  range(0x5B, 0x5E);
  range(0x60, 0x60);
  range(0x7B, 0x80);
  range(0xA0, 0xA5);
  range(0xFD, 0xFF);
  return s;
}
}  // namespace

// Built once: every column-map option set starts from it, many per edit.
TCharSet CreateDelimiters() {
  static const TCharSet set = BuildDelimiters();
  return set;
}

std::string StrToAttributes(const std::string& S, const TColumnMapOptions& o) {
  // Written into a string sized for the widest result (every tab at its
  // widest), with room for the end code a column cursor appends.
  const size_t n = S.size();
  const size_t tabs = static_cast<size_t>(std::count(S.begin(), S.end(), '\t'));
  const int T = o.TabSpaceCount > 0 ? o.TabSpaceCount : 1;
  std::string r;
  r.reserve(n + tabs * static_cast<size_t>(T - 1) + 1);
  r.resize(n + tabs * static_cast<size_t>(T - 1));
  char* out = r.data();
  const unsigned char* p = reinterpret_cast<const unsigned char*>(S.data());
  size_t col = 0;
  for (size_t i = 0; i < n;) {
    const unsigned char c = p[i];
    if (sjis::IsLeadByte(c)) {
      out[col++] = cmLead;  // a lead byte that ends the text stands alone
      if (i + 1 < n) out[col++] = cmTrail;
      i += 2;
      continue;
    }
    out[col++] = o.Delimiters[c] ? cmDelimiter : cmSingle;
    if (c == '\t') {
      int blanks = TabBlanks(static_cast<int>(col - 1), o);
      std::memset(out + col, cmTabBlank, static_cast<size_t>(blanks));
      col += static_cast<size_t>(blanks);
    }
    ++i;
  }
  r.resize(col);
  return r;
}

std::string ExpandTab(const std::string& S, const TColumnMapOptions& o) {
  if (S.find('\t') == std::string::npos) return S;
  std::string r;
  ExpandTabTo(S, o, r);
  return r;
}

void ExpandTabTo(const std::string& S, const TColumnMapOptions& o, std::string& Out) {
  if (S.find('\t') == std::string::npos) {
    Out.assign(S);
    return;
  }
  Out.clear();
  Out.reserve(S.size() + 16);
  WalkColumns(S, o, [&](size_t i, size_t len, int, int blanks) {
    if (len == 1 && S[i] == '\t')
      Out.append(static_cast<size_t>(blanks) + 1, ' ');
    else
      Out.append(S, i, len);
    return true;
  });
}

int ExpandLength(const std::string& S, const TColumnMapOptions& o) {
  if (S.find('\t') == std::string::npos) return static_cast<int>(S.size());
  int n = 0;
  WalkColumns(S, o, [&](size_t, size_t len, int, int blanks) {
    n += static_cast<int>(len) + blanks;
    return true;
  });
  return n;
}

int ColumnToIndex(const std::string& S, int Col, const TColumnMapOptions& o) {
  if (Col <= 0) return 0;
  int result = static_cast<int>(S.size());
  WalkColumns(S, o, [&](size_t i, size_t len, int col, int blanks) {
    int width = static_cast<int>(len) + blanks;
    if (Col < col + width) {
      // Inside a tab's blanks: the tab; inside a character: that byte.
      result = static_cast<int>(i) + (len == 2 ? Col - col : 0);
      return false;
    }
    return true;
  });
  return result;
}

int IndexToColumn(const std::string& S, int Index, const TColumnMapOptions& o) {
  if (Index <= 0) return 0;
  int result = 0;
  WalkColumns(S, o, [&](size_t i, size_t len, int col, int blanks) {
    if (static_cast<int>(i) >= Index) {
      result = col;
      return false;
    }
    if (static_cast<int>(i + len) > Index) {
      result = col + (Index - static_cast<int>(i));
      return false;
    }
    result = col + static_cast<int>(len) + blanks;
    return true;
  });
  return result;
}

int RowToLines(const TEditorStringList& Rows, int Row, bool WordWrap) {
  if (!WordWrap) return Row;
  int n = 0;
  for (int r = 0; r < Row && r < Rows.Count(); ++r) n += Rows.GetRows(r) == raCrlf;
  return n;
}

int ColToChar(const TEditorStringList& Rows, int Row, int Col, const TColumnMapOptions& o) {
  if (Row < 0 || Row >= Rows.Count() || Col < 0) return -1;
  const std::string& s = Rows.Get(Row);
  int index = ColumnToIndex(s, Col, o);
  // Off a trail byte, onto the character's first byte.
  if (index > 0 && index < static_cast<int>(s.size()) && IsDBCS2(s, index + 1)) --index;
  for (int r = Row - 1; r >= 0 && Rows.GetRows(r) == raWrapped; --r) index += static_cast<int>(Rows.Get(r).size());
  return index;
}

}  // namespace vel
