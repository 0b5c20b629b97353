#pragma once
// Character codes of the pattern language. A character is a 16-bit code: a
// single byte b is b, a double-byte character (lead L, trail T) is L*256+T,
// 0 means "no character". Pattern positions are 1-based byte indices that
// the caller holds and the reading functions advance.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "text/Sjis.h"

namespace vel {

using WChar = uint16_t;

constexpr WChar RE_LineHeadWChar = 0xFFFD;
constexpr WChar RE_LineTailWChar = 0xFFFE;

// The twelve metacharacters, in their documented order.
inline constexpr char METACHARS[] = "^(|)+*?.[]$\\";

// Kept for callers of the engine; the predicate itself lives with the other
// CP932 facts.
constexpr bool REIsLeadByte(unsigned char b) { return sjis::IsLeadByte(b); }

// A pattern error: the fixed Japanese message and the 1-based position at
// which scanning stood. ErrorPos is 16 bits wide and stays at 0xFFFF for
// positions beyond it; Position holds the full value.
class ERegExpParser : public std::runtime_error {
 public:
  ERegExpParser(const std::string& msg, size_t errorPos)
      : std::runtime_error(msg),
        ErrorPos(static_cast<uint16_t>(errorPos > 0xFFFF ? 0xFFFF : errorPos)),
        Position(errorPos) {}
  uint16_t ErrorPos;
  size_t Position;
};

namespace remsg {
inline const char* const InvalidDBCS = "不正な２バイト文字コードです。";
inline const char* const NeedCharAfterYen = "\"\\\"の次には文字が必要です。";
inline const char* const InvalidHex = "不正な１６進数コード表記です。";
inline const char* const InvalidOct = "不正な８進数コード表記です。";
inline const char* const NeedRBra = "右ブラケット\"]\"が必要です";
inline const char* const InvalidRange = "不正なキャラクタ範囲です";
inline const char* const ExtraChars = "正規表現に余分な文字があります";
inline const char* const NeedRPar = "右(閉じ)括弧が必要です";
inline const char* const NeedPrimary = "普通の文字、または左括弧\"(\"が必要です";
inline const char* const InvalidClass = "不正なキャラクタクラス指定です。";
inline const char* const TreeFatal = "TREParseTree : 致命的エラー";
inline const char* const NfaFatal = "This cannot happen in TRE_NFA.GenerateStateList";
inline const char* const TooComplex = "正規表現が複雑すぎます。";
// Beyond the engine's size limits (parse tree or automaton); the position is
// where the pattern passed the limit.
inline const char* const TooLarge = "正規表現が大きすぎます。";
}  // namespace remsg

// Reads the character at index and advances index past it; 0 without moving
// when index <= 0 or past the end. A lead byte in the last position raises
// the double-byte error at its index.
WChar GetWChar(const std::string& s, int& index);
// Moves index back by one character (lead-byte run parity decides).
void UnGetWChar(const std::string& s, int& index);
// GetWChar on a zero-terminated pointer; stays at the terminator.
WChar PCharGetWChar(const char*& p);
std::string WCharToStr(WChar c);
int HexWCharToInt(WChar c);
int OctWCharToInt(WChar c);
// Escapes; called with index just after a backslash.
WChar GetQuotedWChar(const std::string& s, int& index);
WChar HexStrToInt(const std::string& s, int& index);
WChar OctStrToInt(const std::string& s, int& index);
std::string QuoteMetaWChar(const std::string& s);

}  // namespace vel
