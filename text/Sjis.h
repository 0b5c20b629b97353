#pragma once
// Byte-level facts about CP932 text, in one place for every layer: the
// platform's INI reader, the text model, the parser, the regular expression
// engine and the tools. Nothing here allocates or knows about rows, lines of
// a document or patterns; callers build those on top.
//
// A double-byte character is a lead byte followed by any byte. A lead byte
// in the last position of a text is a character of its own, one byte long,
// so a position is always judged by scanning forward from a known start.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vel::sjis {

// CP932 lead bytes: 0x81-0x9F and 0xE0-0xFC (fixed ranges, not the locale's).
constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Length of the character starting at p (p < end): 2 for a lead byte with a
// byte after it, else 1.
constexpr size_t CharLen(const char* p, const char* end) {
  return (IsLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end) ? 2 : 1;
}
constexpr size_t CharLen(std::string_view s, size_t i) { return CharLen(s.data() + i, s.data() + s.size()); }
// Index of the character after the one at i.
constexpr size_t NextChar(std::string_view s, size_t i) { return i + CharLen(s, i); }
// Start of the character that holds byte i, scanning from the start of s (i
// at or past the end: i). So CharStart(s, n) is also the longest prefix of
// at most n bytes that ends on a character boundary.
constexpr size_t CharStart(std::string_view s, size_t i) {
  if (i >= s.size()) return i;
  size_t p = 0;
  while (p < i) {
    const size_t next = NextChar(s, p);
    if (next > i) return p;
    p = next;
  }
  return p;
}

// A 16-bit character code is text when it is a single non-lead byte or a
// lead byte with a trail; codes like 0x0041 with a lead byte as value are not.
constexpr bool IsTextCode(uint32_t code) {
  return code < 256 ? !IsLeadByte(static_cast<unsigned char>(code))
                    : code <= 0xFFFF && IsLeadByte(static_cast<unsigned char>(code >> 8));
}

// ASCII-only case folding: never touches a byte >= 0x80, so it is safe on a
// single byte but must only be applied to bytes that start a character.
constexpr unsigned char AsciiLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }
constexpr unsigned char AsciiUpper(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }

// Full-width Latin letters (Ａ-Ｚ 0x8260-0x8279, ａ-ｚ 0x8281-0x829A) fold
// to the lower-case full-width form; other codes are returned unchanged.
constexpr uint16_t WideLatinLower(uint16_t code) {
  return (code >= 0x8260 && code <= 0x8279) ? static_cast<uint16_t>(code + 0x21) : code;
}

// Line breaks: CR LF, a lone CR and a lone LF each end a line (LF CR is two).
constexpr bool IsBreakByte(char c) { return c == '\r' || c == '\n'; }

// First CR or LF at or after p, or end.
inline const char* FindBreak(const char* p, const char* end) {
  // memchr in windows: two whole-text scans would make CR-only text (one
  // line per CR, no LF anywhere) quadratic.
  constexpr size_t kWindow = 4096;
  while (p < end) {
    const size_t w = static_cast<size_t>(end - p) < kWindow ? static_cast<size_t>(end - p) : kWindow;
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', w));
    const char* cr = static_cast<const char*>(std::memchr(p, '\r', lf ? static_cast<size_t>(lf - p) : w));
    if (cr) return cr;
    if (lf) return lf;
    p += w;
  }
  return end;
}

// Past the break at p (which must be at a CR or LF, or end).
constexpr const char* SkipBreak(const char* p, const char* end) {
  if (p < end && *p == '\r') ++p;
  else if (p < end && *p == '\n') return p + 1;
  else return p;
  if (p < end && *p == '\n') ++p;
  return p;
}

// Calls line(begin, length) for each line of text; a final break gives no
// empty line after it, and an empty text gives no line.
template <class F>
void ForEachLine(std::string_view text, F&& line) {
  const char* const base = text.data();
  const char* const end = base + text.size();
  const char* p = base;
  while (p < end) {
    const char* e = FindBreak(p, end);
    line(static_cast<size_t>(p - base), static_cast<size_t>(e - p));
    p = SkipBreak(e, end);
  }
}

}  // namespace vel::sjis
