#pragma once
// Shift-JIS string helpers of the editor, on top of the byte-level facts of
// text/Sjis.h. Every function that steps over characters scans forward from
// the first byte, so a position is only ever judged by the characters before
// it. Positions here are 1-based.
#include <bitset>
#include <string>
#include <vector>

#include "text/Sjis.h"

namespace vel {

using TCharSet = std::bitset<256>;

// The editor's names for facts of text/Sjis.h (aliases, not other rules).
using sjis::ForEachLine;
using sjis::IsLeadByte;
inline size_t CharLength(const std::string& S, size_t i) { return sjis::CharLen(S, i); }

// The lead bytes of sjis::IsLeadByte as a set.
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

// The lines of Text by sjis::ForEachLine: CR LF, lone CR and lone LF end a
// line (LF CR is two breaks), a final break gives no empty line after it.
// NUL bytes are kept as text.
void StrToStrings(const std::string& Text, std::vector<std::string>& Strings);

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

// The length of the URL / mail address that starts at P, a text that ends
// at a NUL (no URL or mail byte is one); 0 when none starts there. A URL is
// "ftp:", "http:", "https:" or "www." and the URL bytes after it; a mail
// address is a run of mail bytes, not starting with '@', that holds an '@'
// with a '.' somewhere after it. The colouring and the scans below share them.
size_t UrlLength(const char* P);
size_t MailLength(const char* P);
// The first URL / mail address in S: 1-based Pos and Len, both 0 when none.
bool IsUrl(const std::string& S, int& Pos, int& Len);
bool IsMail(const std::string& S, int& Pos, int& Len);

}  // namespace vel
