#pragma once
// The token rules of TEditorParser, each written once: which token method
// reads a token at each byte, which continues each carried kind, and how the
// double-byte characters led by 0x81-0x87 are classed. The dispatch table of
// InitMethodTable and the exact class's quick path are both built from these
// tables and run the same token methods, so a rule changes in one place.
// Internal to the parser's sources.
#include <cstdint>

#include "syntax/EditorParser.h"

namespace vel::parser_rules {

// The token methods that a byte can select, then those that only continue a
// carried kind. X(Name) stands for the method NameProc.
#define VEL_PARSER_BYTE_RULES(X) \
  X(Symbol) X(Eof) X(Tab) X(LF) X(Cr) X(Integer) X(Ank) X(DBSymbol) X(DB) X(DBKanji) X(KanaSymbol) X(Kana)
#define VEL_PARSER_KIND_RULES(X) \
  X(Bracket) X(Commenter) X(Url) X(Mail) X(HexPrefix) X(Quotation) X(ControlCode) X(ControlCodeHex) X(ReserveWord)

enum TRule : uint8_t {
#define VEL_RULE_ENUM(Name) ru##Name,
  VEL_PARSER_BYTE_RULES(VEL_RULE_ENUM) VEL_PARSER_KIND_RULES(VEL_RULE_ENUM) ruCount
#undef VEL_RULE_ENUM
};

struct TByteRange {
  uint8_t Lo, Hi;
  TRule Rule;
};

// Bytes not listed start a symbol.
inline constexpr TByteRange kByteRules[] = {
    {0x00, 0x00, ruEof},
    {0x09, 0x09, ruTab},
    {0x0A, 0x0A, ruLF},
    {0x0D, 0x0D, ruCr},
    {'0', '9', ruInteger},
    {'A', 'Z', ruAnk},
    {'_', '_', ruAnk},
    {'a', 'z', ruAnk},
    {0x81, 0x81, ruDBSymbol},
    {0x82, 0x83, ruDB},
    {0x84, 0x87, ruDBSymbol},
    {0x88, 0x9F, ruDBKanji},
    {0xA1, 0xA5, ruKanaSymbol},
    {0xA6, 0xDF, ruKana},
    {0xE0, 0xFC, ruDBKanji},
};

struct TKindRule {
  uint8_t Kind;
  TRule Rule;
};

// A row that starts inside a token of one of these kinds goes on by its rule;
// the kind's entry of the dispatch table holds it in place of the byte's.
inline constexpr TKindRule kKindRules[] = {
    {toInteger, ruInteger},   {toFloat, ruInteger},       {toBracket, ruBracket},
    {toComment, ruCommenter}, {toAnk, ruAnk},             {toDBSymbol, ruDBSymbol},
    {toDBInt, ruDB},          {toDBAlph, ruDB},           {toDBHira, ruDB},
    {toDBKana, ruDB},         {toDBKanji, ruDBKanji},     {toKanaSymbol, ruKanaSymbol},
    {toKana, ruKana},         {toUrl, ruUrl},             {toMail, ruMail},
    {toHex, ruHexPrefix},     {toQuotation, ruQuotation}, {toControlCode, ruControlCode},
    {toControlCodeHex, ruControlCodeHex}, {toReserve, ruReserveWord},
};

// The runs of double-byte characters, one bit each.
constexpr uint8_t RunOf(uint8_t Kind) {
  switch (Kind) {
    case toDBInt: return 1;
    case toDBAlph: return 2;
    case toDBHira: return 4;
    case toDBKana: return 8;
    default: return 0;
  }
}

// No character: the lead byte is read alone and the token keeps its kind.
inline constexpr uint8_t kLoneLead = toEof;

struct TWideRange {
  uint16_t Lo, Hi;   // codes, lead byte times 256 plus trail byte
  uint8_t Starts;    // the kind of token such a character starts
  uint8_t Continues; // the runs (RunOf) it goes on
};

// Characters led by 0x81-0x87; a later range overrides an earlier one.
inline constexpr TWideRange kWideRules[] = {
    {0x8100, 0x87FF, toDBSymbol, 0},
    {0x8143, 0x8144, toDBSymbol, RunOf(toDBInt)},                     // full-width comma and full stop
    {0x815B, 0x815B, toDBSymbol, RunOf(toDBHira) | RunOf(toDBKana)},  // long vowel mark
    {0x817C, 0x817C, toDBSymbol, RunOf(toDBHira) | RunOf(toDBKana)},  // full-width hyphen
    {0x8200, 0x823F, kLoneLead, 0},
    {0x824F, 0x8258, toDBInt, RunOf(toDBInt)},    // full-width digits
    {0x8260, 0x8279, toDBAlph, RunOf(toDBAlph)},  // full-width capitals
    {0x8281, 0x829A, toDBAlph, RunOf(toDBAlph)},  // full-width small letters
    {0x829F, 0x82F1, toDBHira, RunOf(toDBHira)},  // hiragana
    {0x8300, 0x83FF, kLoneLead, 0},
    {0x8340, 0x8396, toDBKana, RunOf(toDBKana)},  // katakana
    {0x8397, 0x83F0, toDBSymbol, 0},              // Greek
};

inline constexpr uint8_t kFirstWideLead = 0x81, kWideLeads = 7;

// The tables above spread out by byte and by code.
struct TRuleTables {
  TRule Byte[256] = {};   // the rule of a token that starts at this byte
  TRule Entry[256] = {};  // the dispatch table: Byte, with the kinds' rules
  uint8_t WideStarts[kWideLeads][256] = {};
  uint8_t WideRuns[kWideLeads][256] = {};

  constexpr TRuleTables() {
    for (auto& r : Byte) r = ruSymbol;
    for (const TByteRange& b : kByteRules)
      for (int c = b.Lo; c <= b.Hi; ++c) Byte[c] = b.Rule;
    for (int c = 0; c < 256; ++c) Entry[c] = Byte[c];
    for (const TKindRule& k : kKindRules) Entry[k.Kind] = k.Rule;
    for (const TWideRange& w : kWideRules)
      for (int code = w.Lo; code <= w.Hi; ++code) {
        WideStarts[(code >> 8) - kFirstWideLead][code & 0xFF] = w.Starts;
        WideRuns[(code >> 8) - kFirstWideLead][code & 0xFF] = w.Continues;
      }
  }
};

inline constexpr TRuleTables kRules;

// The kind of token the double-byte character at p starts; kLoneLead for a
// lead byte without a character, and for any byte outside 0x81-0x87.
inline uint8_t WideStarts(const unsigned char* p) {
  const unsigned lead = p[0] - kFirstWideLead;
  return lead < kWideLeads ? kRules.WideStarts[lead][p[1]] : kLoneLead;
}

// The runs that the character at p goes on.
inline uint8_t WideRuns(const unsigned char* p) {
  const unsigned lead = p[0] - kFirstWideLead;
  return lead < kWideLeads ? kRules.WideRuns[lead][p[1]] : 0;
}

}  // namespace vel::parser_rules
