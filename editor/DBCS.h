#pragma once
// Shift-JIS byte helpers. Text is a string of CP932 bytes; a double-byte
// character is a lead byte followed by any byte. Every function that steps
// over characters scans forward from the first byte, so a position is only
// ever judged by the characters before it. A lead byte at the very end of a
// string is a character of its own, one byte long. Positions here are 1-based.
#include <bitset>
#include <string>
#include <vector>

namespace vel {

using TCharSet = std::bitset<256>;

// CP932 lead bytes: 0x81-0x9F and 0xE0-0xFC.
inline bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Length in bytes of the character starting at S[i] (0-based; i < S.size()).
inline size_t CharLength(const std::string& S, size_t i) {
  return (IsLeadByte(static_cast<unsigned char>(S[i])) && i + 1 < S.size()) ? 2 : 1;
}

const TCharSet& LeadBytes();
const TCharSet& MailChars();
const TCharSet& UrlChars();

bool IsDBCS1(const std::string& S, int Index);
bool IsDBCS2(const std::string& S, int Index);
unsigned char IndexChar(const std::string& S, int Index);
int IncludeCharCount(const std::string& S, char C, int Count);
bool IsInclude(const std::string& Sub, const std::string& S);
inline int Max(int A, int B) { return A > B ? A : B; }
inline int Min(int A, int B) { return A < B ? A : B; }

// Splits Text at CR LF, lone CR and lone LF (LF CR is two breaks); a final
// break gives no empty line after it. NUL bytes are kept as text.
void StrToStrings(const std::string& Text, std::vector<std::string>& Strings);
// Calls Line(begin, length) for each line of Text, with the rules above.
template <class F>
void ForEachLine(const std::string& Text, F&& Line) {
  const size_t n = Text.size();
  size_t i = 0;
  while (i < n) {
    size_t j = i;
    while (j < n && Text[j] != '\r' && Text[j] != '\n') ++j;
    Line(i, j - i);
    if (j < n && Text[j] == '\r') ++j;
    if (j < n && Text[j] == '\n') ++j;
    i = j;
  }
}

int TopSpace(const std::string& S);
std::string TrimLeftDBCS(const std::string& S);
std::string TabbedTrimRight(const std::string& S);

// Character-safe copy and delete; Index and Count are adjusted in place by
// the copies. Suffix E includes a character cut at the end, W also one cut
// at the start; the plain form leaves both out.
std::string AnsiCopy(const std::string& S, int& Index, int& Count);
std::string AnsiCopyE(const std::string& S, int& Index, int& Count);
std::string AnsiCopyW(const std::string& S, int& Index, int& Count);
int AnsiDelete(std::string& S, int Index, int Count);
int AnsiDeleteE(std::string& S, int Index, int Count);
int AnsiDeleteW(std::string& S, int Index, int Count);

TCharSet StrToCharSet(const std::string& S);
std::string CharSetToStr(const TCharSet& Set);

// The first URL / mail address in S: 1-based Pos and Len, both 0 when none.
bool IsUrl(const std::string& S, int& Pos, int& Len);
bool IsMail(const std::string& S, int& Pos, int& Len);

}  // namespace vel
