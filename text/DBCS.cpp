#include "text/DBCS.h"

namespace vel {

namespace {

TCharSet MakeSet(std::initializer_list<std::pair<int, int>> ranges) {
  TCharSet s;
  for (auto [lo, hi] : ranges)
    for (int c = lo; c <= hi; ++c) s.set(c);
  return s;
}

// 0 outside the string, else 1 for a single byte, 2 for a lead byte and 3
// for a trail byte, found by scanning from the first byte. Unlike a character
// step, a lead byte in the last position still counts as a first byte here.
int ByteKind(const std::string& S, int Index) {
  if (Index < 1 || Index > static_cast<int>(S.size())) return 0;
  size_t i = 0, target = static_cast<size_t>(Index - 1);
  while (true) {
    size_t len = sjis::IsLeadByte(static_cast<unsigned char>(S[i])) ? 2 : 1;
    if (i == target) return len == 2 ? 2 : 1;
    if (target < i + len) return 3;
    i += len;
  }
}

enum TAdjust { adLeaveOut, adInclude };

// Moves a 1-based range onto character boundaries; false when the range lies
// wholly outside the string.
bool AdjustRange(const std::string& S, int& Index, int& Count, TAdjust startRule, TAdjust endRule) {
  const int len = static_cast<int>(S.size());
  long long last = static_cast<long long>(Index) + Count - 1;
  if ((Index < 1 && last < 1) || Index > len) return false;
  int start = Index < 1 ? 1 : Index;
  int end = last > len ? len : static_cast<int>(last);
  if (IsDBCS2(S, start)) start += startRule == adInclude ? -1 : 1;
  if (end >= 1 && IsDBCS1(S, end)) end = endRule == adInclude ? Min(end + 1, len) : end - 1;
  Index = start;
  Count = Max(0, end - start + 1);
  return true;
}

std::string CopyRange(const std::string& S, int& Index, int& Count, TAdjust s, TAdjust e) {
  if (!AdjustRange(S, Index, Count, s, e) || Count == 0) return std::string();
  return S.substr(static_cast<size_t>(Index - 1), static_cast<size_t>(Count));
}

int DeleteRange(std::string& S, int Index, int Count, TAdjust s, TAdjust e) {
  if (!AdjustRange(S, Index, Count, s, e) || Count == 0) return 0;
  S.erase(static_cast<size_t>(Index - 1), static_cast<size_t>(Count));
  return Count;
}

}  // namespace

const TCharSet& LeadBytes() {
  static const TCharSet s = [] {
    TCharSet r;
    for (int c = 0; c < 256; ++c) r.set(static_cast<size_t>(c), sjis::IsLeadByte(static_cast<unsigned char>(c)));
    return r;
  }();
  return s;
}

const TCharSet& MailChars() {
  static const TCharSet s = MakeSet({{'!', '!'}, {'$', '&'}, {'*', '*'}, {',', '9'}, {';', ';'}, {'=', '='},
                                     {'?', 'Z'}, {'^', '_'}, {'a', 'z'}, {'~', '~'}});
  return s;
}

const TCharSet& UrlChars() {
  static const TCharSet s = MakeSet({{'#', '#'}, {'%', '&'}, {'+', '+'}, {'-', ':'}, {'=', '='}, {'?', '?'},
                                     {'A', 'Z'}, {'_', '_'}, {'a', 'z'}, {'~', '~'}});
  return s;
}

bool IsDBCS1(const std::string& S, int Index) { return ByteKind(S, Index) == 2; }
bool IsDBCS2(const std::string& S, int Index) { return ByteKind(S, Index) == 3; }

unsigned char IndexChar(const std::string& S, int Index) {
  if (Index < 1 || Index > static_cast<int>(S.size())) return 0;
  return static_cast<unsigned char>(S[Index - 1]);
}

int IncludeCharCount(const std::string& S, char C, int Count) {
  int n = Min(static_cast<int>(S.size()), Count), r = 0;
  for (int i = 0; i < n; ++i) r += S[i] == C;
  return r;
}

bool IsInclude(const std::string& Sub, const std::string& S) {
  if (Sub.empty() || S.size() < Sub.size()) return false;
  for (size_t i = 0; i + Sub.size() <= S.size(); i = sjis::NextChar(S, i))
    if (S.compare(i, Sub.size(), Sub) == 0) return true;
  return false;
}

void StrToStrings(const std::string& Text, std::vector<std::string>& Strings) {
  Strings.clear();
  sjis::ForEachLine(Text, [&](size_t b, size_t n) { Strings.emplace_back(Text, b, n); });
}

int TopSpace(const std::string& S) {
  if (S.empty()) return -1;
  int r = 0;
  for (size_t i = 0; i < S.size();) {
    if (S[i] == ' ') {
      ++r;
      ++i;
    } else if (S[i] == '\x81' && i + 1 < S.size() && S[i + 1] == '\x40') {
      r += 2;
      i += 2;
    } else {
      break;
    }
  }
  return r;
}

std::string TrimLeftDBCS(const std::string& S) {
  size_t i = 0;
  while (i < S.size()) {
    if (static_cast<unsigned char>(S[i]) <= 0x20)
      ++i;
    else if (S[i] == '\x81' && i + 1 < S.size() && S[i + 1] == '\x40')
      i += 2;
    else
      break;
  }
  return S.substr(i);
}

std::string TabbedTrimRight(const std::string& S) {
  size_t n = S.size();
  // No trail byte is 0x20 or below, so a blank after a lead byte is trimmed
  // like any other: the lead byte is left standing alone.
  while (n > 0 && static_cast<unsigned char>(S[n - 1]) <= 0x20 && S[n - 1] != '\t') --n;
  return S.substr(0, n);
}

std::string AnsiCopy(const std::string& S, int& Index, int& Count) {
  return CopyRange(S, Index, Count, adLeaveOut, adLeaveOut);
}
std::string AnsiCopyE(const std::string& S, int& Index, int& Count) {
  return CopyRange(S, Index, Count, adLeaveOut, adInclude);
}
std::string AnsiCopyW(const std::string& S, int& Index, int& Count) {
  return CopyRange(S, Index, Count, adInclude, adInclude);
}
int AnsiDelete(std::string& S, int Index, int Count) { return DeleteRange(S, Index, Count, adLeaveOut, adLeaveOut); }
int AnsiDeleteE(std::string& S, int Index, int Count) {
  return DeleteRange(S, Index, Count, adLeaveOut, adInclude);
}
int AnsiDeleteW(std::string& S, int Index, int Count) {
  return DeleteRange(S, Index, Count, adInclude, adInclude);
}

TCharSet StrToCharSet(const std::string& S) {
  TCharSet r;
  for (size_t i = 0; i < S.size(); i = sjis::NextChar(S, i))
    if (sjis::CharLen(S, i) == 1) r.set(static_cast<unsigned char>(S[i]));
  return r;
}

std::string CharSetToStr(const TCharSet& Set) {
  std::string r;
  for (int c = 0; c < 256; ++c)
    if (Set.test(c)) r += static_cast<char>(c);
  return r;
}

size_t UrlLength(const char* P) {
  if (*P != 'f' && *P != 'h' && *P != 'w') return 0;
  static const char* const kPrefixes[] = {"ftp:", "http:", "https:", "www."};
  for (const char* prefix : kPrefixes) {
    // The compare stops at the first difference, so it never reads past the NUL.
    size_t n = 0;
    while (prefix[n] && P[n] == prefix[n]) ++n;
    if (prefix[n]) continue;
    while (UrlChars().test(static_cast<unsigned char>(P[n]))) ++n;
    return n;
  }
  return 0;
}

size_t MailLength(const char* P) {
  if (!MailChars().test(static_cast<unsigned char>(*P)) || *P == '@') return 0;
  bool at = false, dot = false;
  size_t n = 0;
  for (; MailChars().test(static_cast<unsigned char>(P[n])); ++n) {
    if (P[n] == '@') at = true;
    if (P[n] == '.' && at) dot = true;
  }
  return dot ? n : 0;
}

bool IsUrl(const std::string& S, int& Pos, int& Len) {
  Pos = Len = 0;
  for (size_t i = 0; i < S.size(); ++i) {
    if (const size_t n = UrlLength(S.c_str() + i)) {
      Pos = static_cast<int>(i) + 1;
      Len = static_cast<int>(n);
      return true;
    }
  }
  return false;
}

bool IsMail(const std::string& S, int& Pos, int& Len) {
  Pos = Len = 0;
  for (size_t i = 0; i < S.size(); ++i) {
    if (const size_t n = MailLength(S.c_str() + i)) {
      Pos = static_cast<int>(i) + 1;
      Len = static_cast<int>(n);
      return true;
    }
  }
  return false;
}

}  // namespace vel
