#include "editor/EditorParser.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "editor/EditorViewInfo.h"

namespace vel {

namespace {

// Byte classes the recognisers test, one bit each.
enum : uint8_t { ccDigit = 1, ccHex = 2, ccAnk = 4, ccMail = 8, ccUrl = 16 };

struct TCharClasses {
  uint8_t Bits[256] = {};
  constexpr void Range(int lo, int hi, uint8_t bit) {
    for (int c = lo; c <= hi; ++c) Bits[c] |= bit;
  }
  constexpr void Chars(const char* s, uint8_t bit) {
    for (; *s; ++s) Bits[static_cast<unsigned char>(*s)] |= bit;
  }
  constexpr TCharClasses() {
    Range('0', '9', ccDigit | ccHex | ccAnk);
    Range('A', 'F', ccHex);
    Range('a', 'f', ccHex);
    Range('A', 'Z', ccAnk);
    Range('a', 'z', ccAnk);
    Chars("_", ccAnk);
    // The bytes of a mail address.
    Chars("!$%&*;=^_~", ccMail);
    Range(',', '9', ccMail);
    Range('?', 'Z', ccMail);
    Range('a', 'z', ccMail);
    // The bytes of a URL after its prefix.
    Chars("#%&+=?_~", ccUrl);
    Range('-', ':', ccUrl);
    Range('A', 'Z', ccUrl);
    Range('a', 'z', ccUrl);
  }
};

constexpr TCharClasses kClasses;

inline bool Is(unsigned char c, uint8_t cls) { return (kClasses.Bits[c] & cls) != 0; }

inline unsigned char LowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

// Case-insensitive (ASCII letters) ordering, the order of the reserve word list.
int CompareText(const unsigned char* a, size_t na, const std::string& b) {
  size_t n = std::min(na, b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = LowerAscii(a[i]), y = LowerAscii(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return na < b.size() ? -1 : (na > b.size() ? 1 : 0);
}

}  // namespace

TEditorParser::TEditorParser(const std::string& S) { Start(S, nullptr, -2, toEof); }

TEditorParser::TEditorParser(const std::string& S, const IEditorParserHost* Editor, int BracketIndex) {
  Start(S, Editor, BracketIndex, toEof);
}

TEditorParser::TEditorParser(const std::string& S, const IEditorParserHost* Editor, int BracketIndex, int Token) {
  Start(S, Editor, BracketIndex, Token);
}

void TEditorParser::Start(const std::string& S, const IEditorParserHost* Editor, int BracketIndex, int Token) {
  InitMethodTable();
  NewData(S, Editor, BracketIndex, Token);
}

void TEditorParser::InitMethodTable() {
  for (auto& p : FMethodTable) p = &TEditorParser::SymbolProc;
  auto set = [this](int lo, int hi, TEditorParseProc proc) {
    for (int c = lo; c <= hi; ++c) FMethodTable[c] = proc;
  };
  set(0x00, 0x00, &TEditorParser::EofProc);
  set('0', '9', &TEditorParser::IntegerProc);
  set('A', 'Z', &TEditorParser::AnkProc);
  set('_', '_', &TEditorParser::AnkProc);
  set('a', 'z', &TEditorParser::AnkProc);
  set(0x81, 0x81, &TEditorParser::DBSymbolProc);
  set(0x84, 0x87, &TEditorParser::DBSymbolProc);
  set(0x82, 0x83, &TEditorParser::DBProc);
  set(0x88, 0x9F, &TEditorParser::DBKanjiProc);
  set(0xE0, 0xFC, &TEditorParser::DBKanjiProc);
  set(0xA1, 0xA5, &TEditorParser::KanaSymbolProc);
  set(0xA6, 0xDF, &TEditorParser::KanaProc);
  set(0x09, 0x09, &TEditorParser::TabProc);
  set(0x0A, 0x0A, &TEditorParser::LFProc);
  set(0x0D, 0x0D, &TEditorParser::CrProc);
  // The entries below the blank range continue a token of that kind.
  set(toInteger, toFloat, &TEditorParser::IntegerProc);
  set(toBracket, toBracket, &TEditorParser::BracketProc);
  set(toComment, toComment, &TEditorParser::CommenterProc);
  set(toAnk, toAnk, &TEditorParser::AnkProc);
  set(toDBSymbol, toDBSymbol, &TEditorParser::DBSymbolProc);
  set(toDBInt, toDBInt, &TEditorParser::DBProc);
  set(toDBAlph, toDBKana, &TEditorParser::DBProc);
  set(toDBKanji, toDBKanji, &TEditorParser::DBKanjiProc);
  set(toKanaSymbol, toKanaSymbol, &TEditorParser::KanaSymbolProc);
  set(toKana, toKana, &TEditorParser::KanaProc);
  set(toUrl, toUrl, &TEditorParser::UrlProc);
  set(toMail, toMail, &TEditorParser::MailProc);
  set(toHex, toHex, &TEditorParser::HexPrefixProc);
  set(toQuotation, toQuotation, &TEditorParser::QuotationProc);
  set(toControlCode, toControlCode, &TEditorParser::ControlCodeProc);
  set(toControlCodeHex, toControlCodeHex, &TEditorParser::ControlCodeHexProc);
  set(toReserve, toReserve, &TEditorParser::ReserveWordProc);
}

void TEditorParser::NewData(const std::string& S, const IEditorParserHost* Editor, int BracketIndex, int Token) {
  FText.assign(S);
  FCarriedToken = static_cast<uint8_t>(Token);
  FEditor = Editor;
  FView = Editor ? Editor->ParserView() : nullptr;
  FBracketIndex = BracketIndex;
  FElementIndex = -2;
  FPtr = FSourcePtr = FTokenPtr = Text();
  FToken = toEof;
  NextToken();
}

void TEditorParser::SkipBlanks() {
  while (*FSourcePtr >= 0x01 && *FSourcePtr <= 0x20 && *FSourcePtr != '\t') ++FSourcePtr;
}

int TEditorParser::NextToken() {
  SkipBlanks();
  FTokenPtr = FPtr = FSourcePtr;
  if (IsRowEnd(*FPtr)) {
    FToken = toEof;
    return FToken;
  }
  if (FCarriedToken != 0) {
    // A row that starts inside a token. When the carried kind cannot go on
    // here (an out-of-date state), the token is empty and keeps the carried
    // kind; the next token is read at the same place by its byte.
    uint8_t k = FCarriedToken;
    FCarriedToken = 0;
    FToken = k;
    TEditorParseProc proc = FMethodTable[k];
    (this->*proc)();
    if (FPtr == FTokenPtr) FToken = k;
  } else {
    // A lone lead byte (an invalid double-byte sequence) keeps this kind.
    FToken = toDBSymbol;
    if (!FView) Dispatch();
    else if (FBracketIndex >= -1 && IsBracketProc()) BracketProc();
    else if (IsMailProc()) MailProc();
    else if (IsUrlProc()) UrlProc();
    else if (IsCommenterProc()) CommenterProc();
    else if (IsQuotationProc()) QuotationProc();
    else if (IsControlCodeHexProc()) ControlCodeHexProc();
    else if (IsControlCodeProc()) ControlCodeProc();
    else if (IsHexPrefixProc()) HexPrefixProc();
    else Dispatch();
    // A rule of a descendant that claims nothing must not stall the row.
    if (FPtr == FTokenPtr && FToken != toEof) ++FPtr;
  }
  FSourcePtr = FPtr;
  return FToken;
}

bool TEditorParser::StartsWith(const std::string& S) const {
  for (size_t i = 0; i < S.size(); ++i)
    if (FPtr[i] == 0 || FPtr[i] != static_cast<unsigned char>(S[i])) return false;
  return true;
}

std::string TEditorParser::TokenString() const {
  return std::string(reinterpret_cast<const char*>(FTokenPtr), static_cast<size_t>(FPtr - FTokenPtr));
}

bool TEditorParser::IsBracketProc() {
  if (!FView) return false;
  const TEditorBracketCollection& brackets = FView->Brackets();
  for (int i = 0, n = brackets.Count(); i < n; ++i) {
    const std::string& left = brackets.BracketItems(i).LeftBracket();
    if (!left.empty() && StartsWith(left)) {
      FBracketIndex = i;
      FPtr += left.size();
      return true;
    }
  }
  return false;
}

void TEditorParser::BracketProc() {
  if (!FEditor || !FView || FBracketIndex < 0 || FBracketIndex >= FView->Brackets().Count() ||
      FView->Brackets().BracketItems(FBracketIndex).RightBracket().empty()) {
    FToken = toEof;
    return;
  }
  const std::string& right = FView->Brackets().BracketItems(FBracketIndex).RightBracket();
  FToken = toBracket;
  FElementIndex = FBracketIndex;
  while (!IsRowEnd(*FPtr)) {
    if (StartsWith(right)) {
      FPtr += right.size();
      FBracketIndex = -1;
      return;
    }
    StepChar();
  }
}

bool TEditorParser::IsMailProc() {
  if (!FView || !FView->Mail()) return false;
  const unsigned char* p = FPtr;
  if (!Is(*p, ccMail) || *p == '@') return false;
  bool at = false;
  for (;; ++p) {
    if (!Is(*p, ccMail)) return false;
    if (*p == '@') {
      at = true;
    } else if (*p == '.' && at) {
      FPtr = p + 1;
      return true;
    }
  }
}

void TEditorParser::MailProc() {
  FToken = toMail;
  while (Is(*FPtr, ccMail)) ++FPtr;
}

bool TEditorParser::IsUrlProc() {
  if (!FView || !FView->Url()) return false;
  static const std::string ftp = "ftp:", http = "http:", https = "https:", www = "www.";
  const std::string* prefix = nullptr;
  switch (*FPtr) {
    case 'f': if (StartsWith(ftp)) prefix = &ftp; break;
    case 'h': if (StartsWith(http)) prefix = &http; else if (StartsWith(https)) prefix = &https; break;
    case 'w': if (StartsWith(www)) prefix = &www; break;
    default: break;
  }
  if (!prefix) return false;
  FPtr += prefix->size();
  return true;
}

void TEditorParser::UrlProc() {
  FToken = toUrl;
  while (Is(*FPtr, ccUrl)) ++FPtr;
}

bool TEditorParser::IsCommenterProc() {
  if (!FView || FView->Commenter().empty() || !StartsWith(FView->Commenter())) return false;
  FPtr += FView->Commenter().size();
  return true;
}

void TEditorParser::CommenterProc() {
  FToken = toComment;
  while (!IsRowEnd(*FPtr)) ++FPtr;
}

bool TEditorParser::IsQuotationProc() {
  if (!FView || FView->Quotation().empty() || *FPtr != static_cast<unsigned char>(FView->Quotation()[0]))
    return false;
  ++FPtr;
  return true;
}

void TEditorParser::QuotationProc() {
  if (!FView || FView->Quotation().empty()) {
    FToken = toEof;
    return;
  }
  const unsigned char q = static_cast<unsigned char>(FView->Quotation()[0]);
  FToken = toQuotation;
  while (!IsRowEnd(*FPtr)) {
    if (*FPtr == q) {
      ++FPtr;
      if (*FPtr != q) return;
      ++FPtr;
    } else {
      StepChar();
    }
  }
}

bool TEditorParser::IsHexPrefixProc() {
  if (!FView || FView->HexPrefix().empty()) return false;
  const std::string& prefix = FView->HexPrefix();
  for (size_t i = 0; i < prefix.size(); ++i)
    if (FPtr[i] == 0 || LowerAscii(FPtr[i]) != LowerAscii(static_cast<unsigned char>(prefix[i]))) return false;
  FPtr += prefix.size();
  return true;
}

void TEditorParser::HexPrefixProc() {
  if (!FView || FView->HexPrefix().empty()) {
    FToken = toEof;
    return;
  }
  FToken = toHex;
  while (Is(*FPtr, ccHex)) ++FPtr;
}

bool TEditorParser::IsControlCodeHexProc() {
  if (!FView || !FView->ControlCode() || FPtr[0] != '#' || FPtr[1] != '$') return false;
  FPtr += 2;
  return true;
}

void TEditorParser::ControlCodeHexProc() {
  FToken = toControlCodeHex;
  while (Is(*FPtr, ccHex)) ++FPtr;
}

bool TEditorParser::IsControlCodeProc() {
  if (!FView || !FView->ControlCode() || *FPtr != '#') return false;
  ++FPtr;
  return true;
}

void TEditorParser::ControlCodeProc() {
  FToken = toControlCode;
  while (Is(*FPtr, ccDigit)) ++FPtr;
}

void TEditorParser::ReserveWordProc() {
  // Only a character may pick the entry: the kind entries below 0x21 would
  // otherwise recurse into this one.
  if (*FPtr > 0x20 || *FPtr == '\t') Dispatch();
  else SymbolProc();
  FToken = toReserve;
}

void TEditorParser::EofProc() { FToken = toEof; }

void TEditorParser::TabProc() {
  FToken = toTab;
  if (*FPtr == '\t') ++FPtr;
}

void TEditorParser::LFProc() {
  FToken = toEof;
  if (*FPtr == '\n') ++FPtr;
}

void TEditorParser::CrProc() {
  FToken = toEof;
  if (*FPtr == '\r') ++FPtr;
  if (*FPtr == '\n') ++FPtr;
}

void TEditorParser::Exponent() {
  ++FPtr;  // the E
  if ((*FPtr == '+' || *FPtr == '-') && Is(FPtr[1], ccDigit)) ++FPtr;
  while (Is(*FPtr, ccDigit)) ++FPtr;
}

void TEditorParser::IntegerProc() {
  FToken = toInteger;
  while (Is(*FPtr, ccDigit)) ++FPtr;
  if (*FPtr == '.') {
    FToken = toFloat;
    if (Is(FPtr[1], ccDigit)) {
      ++FPtr;
      while (Is(*FPtr, ccDigit)) ++FPtr;
      if (*FPtr == 'E' || *FPtr == 'e') Exponent();
    } else if (FPtr[1] == 'E' || FPtr[1] == 'e') {
      ++FPtr;
      Exponent();
    }
  } else if (*FPtr == 'E' || *FPtr == 'e') {
    FToken = toFloat;
    Exponent();
  }
}

void TEditorParser::AnkProc() {
  FToken = toAnk;
  while (Is(*FPtr, ccAnk)) ++FPtr;
}

void TEditorParser::SymbolProc() {
  FToken = toSymbol;
  if (!IsRowEnd(*FPtr)) ++FPtr;
}

void TEditorParser::KanaSymbolProc() {
  FToken = toKanaSymbol;
  if (*FPtr >= 0xA1 && *FPtr <= 0xA5) ++FPtr;
}

void TEditorParser::KanaProc() {
  FToken = toKana;
  while (*FPtr >= 0xA6 && *FPtr <= 0xDF) ++FPtr;
}

void TEditorParser::DBKanjiProc() {
  FToken = toDBKanji;
  for (;;) {
    unsigned char c = *FPtr;
    if (!((c >= 0x88 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC))) return;
    StepChar();
  }
}

void TEditorParser::DBSymbolProc() {
  FToken = toDBSymbol;
  unsigned char c = FPtr[0], b = FPtr[1];
  bool symbol = c == 0x81 || (c >= 0x84 && c <= 0x87) || (c == 0x83 && b >= 0x97 && b <= 0xF0) ||
                (c == 0x82 && ((b >= 0x40 && b <= 0x4E) || (b >= 0x59 && b <= 0x5F) || (b >= 0x7A && b <= 0x80) ||
                               (b >= 0x9B && b <= 0x9E) || b >= 0xF2));
  if (symbol) StepChar();
}

void TEditorParser::DBProc() {
  auto at = [this](unsigned char lead, unsigned char lo, unsigned char hi) {
    return FPtr[0] == lead && FPtr[1] >= lo && FPtr[1] <= hi;
  };
  unsigned char c = FPtr[0], b = FPtr[1];
  if (c == 0x82) {
    if (b >= 0x4F && b <= 0x58) {
      FToken = toDBInt;
      FPtr += 2;
      while (at(0x82, 0x4F, 0x58) || at(0x81, 0x43, 0x44)) FPtr += 2;
    } else if ((b >= 0x60 && b <= 0x79) || (b >= 0x81 && b <= 0x9A)) {
      FToken = toDBAlph;
      FPtr += 2;
      while (at(0x82, 0x60, 0x79) || at(0x82, 0x81, 0x9A)) FPtr += 2;
    } else if (b >= 0x9F && b <= 0xF1) {
      FToken = toDBHira;
      FPtr += 2;
      while (at(0x82, 0x9F, 0xF1) || at(0x81, 0x5B, 0x5B) || at(0x81, 0x7C, 0x7C)) FPtr += 2;
    } else if (b <= 0x3F) {
      ++FPtr;
    } else {
      FToken = toDBSymbol;
      FPtr += 2;
    }
  } else if (c == 0x83) {
    if (b >= 0x40 && b <= 0x96) {
      FToken = toDBKana;
      FPtr += 2;
      while (at(0x83, 0x40, 0x96) || at(0x81, 0x5B, 0x5B) || at(0x81, 0x7C, 0x7C)) FPtr += 2;
    } else if (b >= 0x97 && b <= 0xF0) {
      FToken = toDBSymbol;
      FPtr += 2;
    } else {
      ++FPtr;
    }
  }
}

bool TEditorParser::IsReserveWord() {
  if (FToken == toBracket || FToken == toComment || !FEditor) return false;
  const std::vector<std::string>& words = FEditor->ReserveWordList();
  if (words.empty()) return false;
  const size_t n = static_cast<size_t>(FPtr - FTokenPtr);
  size_t lo = 0, hi = words.size();
  while (lo < hi) {
    size_t mid = lo + (hi - lo) / 2;
    int c = CompareText(FTokenPtr, n, words[mid]);
    if (c == 0) return true;
    if (c < 0) hi = mid;
    else lo = mid + 1;
  }
  return false;
}

const TEditorColor* TEditorParser::TokenToEditorColor() {
  if (!FEditor || !FView) return nullptr;
  if (IsReserveWord()) return &FView->Colors().Reserve();
  const TEditorColors& c = FView->Colors();
  switch (FToken) {
    case toSymbol: return &c.Symbol();
    case toInteger:
    case toFloat:
    case toHex: return &c.Int();
    case toBracket:
      if (FElementIndex < 0 || FElementIndex >= FView->Brackets().Count()) return nullptr;
      return &FView->Brackets().BracketItems(FElementIndex).ItemColor();
    case toComment: return &c.Comment();
    case toAnk: return &c.Ank();
    case toDBSymbol:
    case toDBInt:
    case toDBAlph:
    case toDBHira:
    case toDBKana:
    case toDBKanji:
    case toKanaSymbol:
    case toKana: return &c.DBCS();
    case toUrl: return &c.Url();
    case toMail: return &c.Mail();
    case toQuotation:
    case toControlCode:
    case toControlCodeHex: return &c.Str();
    case toReserve: return &c.Reserve();
    default: return nullptr;
  }
}

void TEditorParser::LastTokenBracket(int Row, const IEditorRows& Rows, int& Token, int& Bracket) {
  if (Row < 0 || Row >= Rows.RowCount()) return;
  const bool wrapped = Rows.RowAttribute(Row) == raWrapped;
  if (Token == toComment) {
    if (!wrapped) Token = toEof;
    return;
  }
  std::string text = Rows.RowText(Row);
  const int len = static_cast<int>(text.size());
  int pair = Bracket;
  if (wrapped && Row + 1 < Rows.RowCount()) text += Rows.RowText(Row + 1);
  NewData(text, FEditor, Bracket, Token);
  // A bracket pair that runs over a row of blanks: the next row starts where
  // this one did. A token starting at the row's end belongs to the next row.
  if (Token == toBracket && SourcePos() >= len) return;
  while (FToken != toEof) {
    Token = FToken;
    Bracket = FBracketIndex;
    if (FToken == toBracket) pair = FElementIndex;
    if (SourcePos() + TokenLength() >= len) break;
    NextToken();
  }
  if (Token == toBracket && Bracket >= 0) return;
  const int start = SourcePos(), end = start + TokenLength();
  if (start >= len || end <= len) {
    Token = toEof;
  } else if (Token == toBracket) {
    // The pair closes in the next row. When the wrap cut the right bracket
    // itself, the next row cannot find it again and starts outside the pair.
    const TEditorBracketCollection* brackets = FView ? &FView->Brackets() : nullptr;
    const int rightLen = (brackets && pair >= 0 && pair < brackets->Count())
                             ? static_cast<int>(brackets->BracketItems(pair).RightBracket().size())
                             : 0;
    if (end - rightLen < len) Token = toEof;
    else Bracket = pair;
  } else if (IsReserveWord()) {
    Token = toReserve;
  }
}

TEditorParserClass EditorParserClass() {
  return [](const std::string& S, const IEditorParserHost* Editor, int BracketIndex) {
    return std::unique_ptr<IEditorRowParser>(std::make_unique<TEditorParser>(S, Editor, BracketIndex));
  };
}

}  // namespace vel
