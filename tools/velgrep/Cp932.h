#pragma once
// CP932 to Unicode and back, exactly as the code page defines it: the NEC
// row 13 characters (①, ㈱), the NEC-selected and the IBM extension kanji
// included. Bytes that are no CP932 character are never dropped: they are
// shown as escapes in the pattern syntax, so that a user can search for them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vel::velgrep {

// Unicode code point of a character code (a byte, or lead * 256 + trail);
// 0 when CP932 has no such character.
uint32_t Cp932ToUnicode(uint16_t code);

// CP932 code of a code point; 0 when CP932 has none. Of the codes CP932
// gives the same character twice, the one a Windows conversion writes is
// chosen: JIS X 0208, then NEC row 13, then the IBM extensions.
uint16_t UnicodeToCp932(uint32_t cp);

// Appends the UTF-8 form of CP932 bytes. A byte or a pair that is not a
// CP932 character becomes "\xHH" or "\xHHHH" (its character code).
void AppendUtf8(std::string& out, const char* p, size_t n);

// Whether s is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view s);

// Converts well-formed UTF-8 to CP932; false, with the code point in `bad`,
// when a character has no CP932 form.
bool Utf8ToCp932(std::string_view s, std::string& out, uint32_t& bad);

}  // namespace vel::velgrep
