#include "syntax/EditorParser.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <typeinfo>

#include "text/DBCS.h"
#include "syntax/EditorParserRules.h"
#include "syntax/EditorViewInfo.h"
#include "text/Sjis.h"

namespace vel {

using namespace parser_rules;

namespace {

// Byte classes the token methods and recognisers test, one bit each.
enum : uint8_t { ccDigit = 1, ccHex = 2, ccAnk = 4, ccMail = 8, ccUrl = 16, ccBlank = 32, ccSync = 64 };

struct TCharClasses {
  uint8_t Bits[256] = {};
  constexpr void Range(int lo, int hi, uint8_t bit) {
    for (int c = lo; c <= hi; ++c) Bits[c] |= bit;
  }
  TCharClasses() {
    Range(0x01, 0x08, ccBlank);
    Range(0x0A, 0x20, ccBlank);
    Range('0', '9', ccDigit | ccHex);
    Range('A', 'F', ccHex);
    Range('a', 'f', ccHex);
    for (int c = 0; c < 256; ++c) {
      // A word goes on through every byte that starts a word or a number.
      if (kRules.Byte[c] == ruAnk || kRules.Byte[c] == ruInteger) Bits[c] |= ccAnk;
      // Mail and URL bytes are the sets MailLength and UrlLength read; the
      // bits only let the token methods skip a byte that starts neither.
      if (MailChars().test(c)) Bits[c] |= ccMail;
      if (UrlChars().test(c)) Bits[c] |= ccUrl;
    }
    // Bytes that no token goes on with: blanks and tabs, and the symbols
    // that no number, word, address or URL takes in.
    for (int c = 1; c < 256; ++c) {
      const bool blank = c <= 0x20 && c != '\n' && c != '\r';
      if (blank || (kRules.Byte[c] == ruSymbol && !(Bits[c] & (ccMail | ccUrl)))) Bits[c] |= ccSync;
    }
  }
};

const TCharClasses kClasses;

inline bool Is(unsigned char c, uint8_t cls) { return (kClasses.Bits[c] & cls) != 0; }
inline bool IsKanji(unsigned char c) { return kRules.Byte[c] == ruDBKanji; }

// Beyond the rules, the exact parser's action table marks blanks, the row's
// end and bytes at which a recogniser of the view may claim a token; acWord
// and acNumber are a word's and a number's first byte at which only a mail
// address may start, the commonest cases.
enum : uint8_t { acBlank = ruCount, acEnd, acRecognise, acWord, acNumber };

// The end of the word at p, the run AnkProc reads. It holds no '@', so a
// mail address starting at p needs a mail byte there.
inline const unsigned char* AnkEnd(const unsigned char* p) {
  while (Is(*p, ccAnk)) ++p;
  return p;
}

// Case-insensitive (ASCII letters) ordering, the order of the reserve word list.
inline int CompareText(const unsigned char* a, size_t na, const std::string& b) {
  size_t n = std::min(na, b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = sjis::AsciiLower(a[i]), y = sjis::AsciiLower(static_cast<unsigned char>(b[i]));
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
  // Inside a base constructor the object is not yet of its final class.
  FExactKnown = false;
  FQuickColor = false;
}

TEditorParser::TEditorParseProc TEditorParser::RuleProc(uint8_t Rule) {
  switch (Rule) {
#define VEL_RULE_PROC(Name) \
  case ru##Name:            \
    return &TEditorParser::Name##Proc;
    VEL_PARSER_BYTE_RULES(VEL_RULE_PROC)
    VEL_PARSER_KIND_RULES(VEL_RULE_PROC)
#undef VEL_RULE_PROC
  }
  return &TEditorParser::SymbolProc;
}

void TEditorParser::InitMethodTable() {
  for (int c = 0; c < 256; ++c) FMethodTable[c] = RuleProc(kRules.Entry[c]);
}

void TEditorParser::Load(std::string_view S, const IEditorParserHost* Editor) {
  // Two NULs: the row's terminator, and one more so that a character test may
  // read the byte after the terminator. A buffer of its own, grown only: the
  // string's assignment costs more than the copy for a row of a few dozen bytes.
  const size_t n = S.size();
  if (n + kTextSlack > FTextCapacity) {
    FTextCapacity = std::max<size_t>({n + kTextSlack, FTextCapacity * 2, 256});
    FText = std::make_unique<unsigned char[]>(FTextCapacity);
  }
  std::memcpy(FText.get(), S.data(), n);
  FText[n] = FText[n + 1] = 0;
  FEditor = Editor;
  FView = Editor ? Editor->ParserView() : nullptr;
  FWords = Editor ? &Editor->ReserveWordList() : nullptr;
  // The view's revision tells whether its switches can have changed.
  const uint64_t revision = FView ? FView->Revision() : 0;
  if (!FRecogniseValid || FView != FRecogniseView || revision != FRecogniseRevision) {
    FRecogniseView = FView;
    FRecogniseRevision = revision;
    UpdateRecogniseTable();
  }
  FQuickColor = FView && FWords->empty() && IsExactClass();
  if (FQuickColor && FView != FColorView) UpdateKindColors();
  FElementIndex = -2;
  FPtr = FSourcePtr = FTokenPtr = Text();
  FToken = toEof;
}

void TEditorParser::NewData(const std::string& S, const IEditorParserHost* Editor, int BracketIndex, int Token) {
  Load(S, Editor);
  FBase = 0;
  FCarriedToken = static_cast<uint8_t>(Token);
  FBracketIndex = BracketIndex;
  NextToken();
}

void TEditorParser::ResumeFrom(const std::string& S, const IEditorParserHost* Editor, const TResumePoint& P,
                               int End) {
  const size_t from = std::min(S.size(), static_cast<size_t>(std::max(P.Pos, 0)));
  const size_t end = std::clamp(static_cast<size_t>(std::max(End, 0)), from, S.size());
  Load(std::string_view(S).substr(from, end - from), Editor);
  FBase = static_cast<int>(from);
  // A point lies after a token, so no carried kind is left to continue.
  FCarriedToken = 0;
  FBracketIndex = P.BracketIndex;
  NextToken();
}

namespace {

bool IsWideSymbolLead(unsigned char c) { return static_cast<unsigned>(c - kFirstWideLead) < kWideLeads; }

// Whether every read is between two tokens at p. A byte that is no lead byte
// ends a character whatever came before it, as no token takes two bytes but
// from a lead byte, so p starts one: it needs no walk from the row's start.
// Then a blank or a byte that no token goes on with starts a token; so does
// a character led by 0x81-0x87 that no run of double-byte characters takes.
bool IsSyncPlace(const unsigned char* s, int p, int n) {
  if (p == 0 || p == n) return true;
  const unsigned char c = s[p];
  return (Is(c, ccSync) || (IsWideSymbolLead(c) && WideRuns(s + p) == 0)) && !sjis::IsLeadByte(s[p - 1]);
}

}  // namespace

TEditorParser::TSync TEditorParser::SyncAround(const std::string& S, const IEditorParserHost* Editor, int Bracket,
                                               int Token, int Col, int ToCol) {
  const int n = static_cast<int>(S.size());
  TSync r;
  r.End = n;
  // A carried kind may run over anything; a descendant may have rules of its own.
  if (Token != toEof || !IsExactClass()) return r;
  // The bytes at which the read ends, and those at which a token may start
  // that runs over a blank or a symbol.
  unsigned char stops[7 + TEditorBracketCollection::MaxCount];
  int count = 0;
  for (unsigned char c : {'\0', '\n', '\r'}) stops[count++] = c;
  if (const TEditorViewInfo* v = Editor ? Editor->ParserView() : nullptr) {
    if (!v->Commenter().empty()) stops[count++] = static_cast<unsigned char>(v->Commenter()[0]);
    if (!v->Quotation().empty()) stops[count++] = static_cast<unsigned char>(v->Quotation()[0]);
    const TEditorBracketCollection& brackets = v->Brackets();
    for (int i = 0, k = std::min(brackets.Count(), TEditorBracketCollection::MaxCount); i < k; ++i)
      if (!brackets.BracketItems(i).LeftBracket().empty())
        stops[count++] = static_cast<unsigned char>(brackets.BracketItems(i).LeftBracket()[0]);
    const std::string& hex = v->HexPrefix();
    if (std::any_of(hex.begin() + std::min<size_t>(hex.size(), 1), hex.end(), [](char c) {
          return Is(static_cast<unsigned char>(c), ccSync) || IsWideSymbolLead(static_cast<unsigned char>(c));
        })) {
      // The prefix is matched without regard to case.
      const unsigned char lower = sjis::AsciiLower(static_cast<unsigned char>(hex[0]));
      stops[count++] = lower;
      stops[count++] = lower >= 'a' && lower <= 'z' ? static_cast<unsigned char>(lower - 'a' + 'A') : lower;
    }
  }
  const int col = std::clamp(Col, 0, n), toCol = std::clamp(ToCol, col, n);
  int first = std::min(n, toCol + kSyncReach);
  for (int i = 0; i < count; ++i)
    if (const void* at = std::memchr(S.data(), stops[i], static_cast<size_t>(first)))
      first = static_cast<int>(static_cast<const char*>(at) - S.data());
  const auto* s = reinterpret_cast<const unsigned char*>(S.data());
  const int from = std::min(col, first);
  for (int p = from; p >= std::max(0, from - kSyncReach); --p)
    if (IsSyncPlace(s, p, n)) {
      r.From = {p, Bracket};
      break;
    }
  for (int q = toCol + 1; q <= first; ++q)
    if (IsSyncPlace(s, q, n)) {
      r.End = q;
      break;
    }
  return r;
}

void TEditorParser::UpdateKindColors() {
  // The colours are members of the view, so their addresses are the view's
  // for as long as it lives.
  FColorView = FView;
  for (int k = 0; k < 256; ++k) {
    const uint8_t index = detail::KindColors.Index[k];
    FKindColor[k] = index < TEditorColors::Count ? &FView->Colors().Items(index) : nullptr;
  }
}

void TEditorParser::SkipBlanks() {
  while (Is(*FSourcePtr, ccBlank)) ++FSourcePtr;
}

void TEditorParser::UpdateRecogniseTable() {
  TRecogniseKey key;
  std::memset(&key, 0, sizeof key);
  if (FView) {
    const TEditorViewInfo& v = *FView;
    key.Mail = v.Mail();
    key.Url = v.Url();
    key.ControlCode = v.ControlCode();
    key.Commenter = v.Commenter().empty() ? -1 : static_cast<unsigned char>(v.Commenter()[0]);
    key.Quotation = v.Quotation().empty() ? -1 : static_cast<unsigned char>(v.Quotation()[0]);
    key.HexPrefix = v.HexPrefix().empty() ? -1 : sjis::AsciiLower(static_cast<unsigned char>(v.HexPrefix()[0]));
    const TEditorBracketCollection& brackets = v.Brackets();
    key.Brackets = static_cast<int8_t>(std::min(brackets.Count(), TEditorBracketCollection::MaxCount));
    for (int i = 0; i < key.Brackets; ++i) {
      const std::string& left = brackets.BracketItems(i).LeftBracket();
      key.LeftBracket[i] = left.empty() ? -1 : static_cast<unsigned char>(left[0]);
    }
  }
  if (FRecogniseValid && key == FRecogniseKey) return;
  FRecogniseKey = key;
  FRecogniseValid = true;
  uint8_t* t = FRecognise;
  std::memset(t, 0, sizeof FRecognise);
  if (!FView) {
    BuildActions();
    return;
  }
  for (int c = 0; c < 256; ++c) {
    if (key.Mail && Is(static_cast<unsigned char>(c), ccMail) && c != '@') t[c] |= rsMail;
    if (key.HexPrefix >= 0 && sjis::AsciiLower(static_cast<unsigned char>(c)) == key.HexPrefix) t[c] |= rsHex;
  }
  if (key.Url) {
    t['f'] |= rsUrl;
    t['h'] |= rsUrl;
    t['w'] |= rsUrl;
  }
  if (key.ControlCode) t['#'] |= rsControl;
  if (key.Commenter >= 0) t[key.Commenter] |= rsComment;
  if (key.Quotation >= 0) t[key.Quotation] |= rsQuote;
  for (int i = 0; i < key.Brackets; ++i)
    if (key.LeftBracket[i] >= 0) t[key.LeftBracket[i]] |= rsBracket;
  BuildActions();
}

void TEditorParser::BuildActions() {
  for (int c = 0; c < 256; ++c) {
    const unsigned char b = static_cast<unsigned char>(c);
    const TRule rule = kRules.Byte[c];
    if (Is(b, ccBlank)) FAction[c] = acBlank;
    else if (IsRowEnd(b)) FAction[c] = acEnd;
    else if (FRecognise[c] == rsMail && rule == ruAnk) FAction[c] = acWord;
    else if (FRecognise[c] == rsMail && rule == ruInteger) FAction[c] = acNumber;
    else if (FRecognise[c]) FAction[c] = acRecognise;
    else FAction[c] = rule;
  }
}

[[gnu::always_inline]] inline void TEditorParser::FastDispatch(uint8_t Action) {
  switch (Action) {
    // The byte entries of the dispatch table, called directly: the exact
    // class's table holds these very methods.
#define VEL_RULE_CALL(Name)      \
  case ru##Name:                 \
    TEditorParser::Name##Proc(); \
    return;
    VEL_PARSER_BYTE_RULES(VEL_RULE_CALL)
#undef VEL_RULE_CALL
    case acWord:
      TEditorParser::AnkProc();
      if (Is(*FPtr, ccMail)) [[unlikely]] {
        const unsigned char* word = FPtr;
        FPtr = FTokenPtr;
        if (TEditorParser::IsMailProc()) TEditorParser::MailProc();
        else FPtr = word;
      }
      return;
    case acNumber:
      if (Is(*AnkEnd(FPtr), ccMail) && TEditorParser::IsMailProc()) TEditorParser::MailProc();
      else TEditorParser::IntegerProc();
      return;
    case acRecognise: RecogniseOrRead(); return;
    default: Dispatch(); return;
  }
}

// The exact class calls its own recognisers directly, and only those that
// can start at this byte; a descendant asks each of its own in turn.
#define VEL_ASK(Name) (Exact ? TEditorParser::Name() : Name())

template <bool Exact>
bool TEditorParser::Recognise(uint8_t Candidates) {
  const uint8_t r = Candidates;
  if ((r & rsBracket) && FBracketIndex >= -1 && VEL_ASK(IsBracketProc)) VEL_ASK(BracketProc);
  else if ((r & rsMail) && (!Exact || Is(*AnkEnd(FPtr), ccMail)) && VEL_ASK(IsMailProc)) VEL_ASK(MailProc);
  else if ((r & rsUrl) && VEL_ASK(IsUrlProc)) VEL_ASK(UrlProc);
  else if ((r & rsComment) && VEL_ASK(IsCommenterProc)) VEL_ASK(CommenterProc);
  else if ((r & rsQuote) && VEL_ASK(IsQuotationProc)) VEL_ASK(QuotationProc);
  else if ((r & rsControl) && VEL_ASK(IsControlCodeHexProc)) VEL_ASK(ControlCodeHexProc);
  else if ((r & rsControl) && VEL_ASK(IsControlCodeProc)) VEL_ASK(ControlCodeProc);
  else if ((r & rsHex) && VEL_ASK(IsHexPrefixProc)) VEL_ASK(HexPrefixProc);
  else return false;
  return true;
}

#undef VEL_ASK

void TEditorParser::RecogniseOrRead() {
  if (!Recognise<true>(FRecognise[*FPtr])) FastDispatch(kRules.Byte[*FPtr]);
}

template <bool Exact>
[[gnu::always_inline]] inline
int TEditorParser::ReadToken() {
  uint8_t action = 0;
  if constexpr (Exact) {
    const unsigned char* p = FSourcePtr;
    action = FAction[*p];
    while (action == acBlank) action = FAction[*++p];
    FSourcePtr = p;
  } else {
    SkipBlanks();
  }
  FTokenPtr = FPtr = FSourcePtr;
  if (Exact ? action == acEnd : IsRowEnd(*FPtr)) [[unlikely]] {
    FToken = toEof;
    return FToken;
  }
  if (FCarriedToken != 0) [[unlikely]] {
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
    if constexpr (Exact) {
      FastDispatch(action);
    } else {
      if (!FView || !Recognise<false>(0xFF)) Dispatch();
      // A rule of a descendant that claims nothing must not stall the row.
      if (FPtr == FTokenPtr && FToken != toEof) ++FPtr;
    }
  }
  FSourcePtr = FPtr;
  return FToken;
}

int TEditorParser::NextToken() {
  // The exact class takes the same rules without virtual dispatch; any
  // descendant goes through its own overrides.
  if (IsExactClass()) [[likely]]
    return ReadToken<true>();
  return ReadVirtual();
}

int TEditorParser::ReadVirtual() { return ReadToken<false>(); }

bool TEditorParser::StartsWith(std::string_view S) const {
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
  const size_t n = MailLength(reinterpret_cast<const char*>(FPtr));
  FPtr += n;
  return n > 0;
}

void TEditorParser::MailProc() {
  FToken = toMail;
  while (Is(*FPtr, ccMail)) ++FPtr;
}

bool TEditorParser::IsUrlProc() {
  if (!FView || !FView->Url()) return false;
  const size_t n = UrlLength(reinterpret_cast<const char*>(FPtr));
  FPtr += n;
  return n > 0;
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
    if (FPtr[i] == 0 || sjis::AsciiLower(FPtr[i]) != sjis::AsciiLower(static_cast<unsigned char>(prefix[i]))) return false;
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
  FPtr = AnkEnd(FPtr);
}

void TEditorParser::SymbolProc() {
  FToken = toSymbol;
  if (!IsRowEnd(*FPtr)) ++FPtr;
}

void TEditorParser::KanaSymbolProc() {
  FToken = toKanaSymbol;
  if (kRules.Byte[*FPtr] == ruKanaSymbol) ++FPtr;
}

void TEditorParser::KanaProc() {
  FToken = toKana;
  const unsigned char* p = FPtr;
  while (kRules.Byte[*p] == ruKana) ++p;
  FPtr = p;
}

void TEditorParser::DBKanjiProc() {
  FToken = toDBKanji;
  const unsigned char* p = FPtr;
  // Most runs are of one to three characters: each step takes up to four
  // without a branch per character, which would mostly be guessed wrong at
  // the run's end. A lead byte before the NUL is one byte and ends the run.
  // The buffer is long enough for the reads past the NUL, whose bytes never
  // count.
  if (IsKanji(*p)) {
    for (;;) {
      if (p[1] == 0) [[unlikely]] {
        ++p;
        break;
      }
      const unsigned t1 = p[3] != 0, t2 = p[5] != 0, t3 = p[7] != 0;
      const unsigned a1 = IsKanji(p[2]);
      const unsigned a2 = a1 & t1 & IsKanji(p[4]);
      const unsigned a3 = a2 & t2 & IsKanji(p[6]);
      p += 2 + a1 * (1 + t1) + a2 * (1 + t2) + a3 * (1 + t3);
      if (!(a3 & t3) || !IsKanji(*p)) break;
    }
  }
  FPtr = p;
}

void TEditorParser::DBSymbolProc() {
  FToken = toDBSymbol;
  if (WideStarts(FPtr) == toDBSymbol) StepChar();
}

void TEditorParser::DBProc() {
  const unsigned char* p = FPtr;
  if (kRules.Byte[*p] != ruDB) return;
  const uint8_t kind = WideStarts(p);
  if (kind == kLoneLead) {
    FPtr = p + 1;
    return;
  }
  FToken = kind;
  const uint8_t run = RunOf(kind);
  do p += 2;
  while (WideRuns(p) & run);
  FPtr = p;
}

bool TEditorParser::IsReserveWord() {
  if (FToken == toBracket || FToken == toComment || !FWords || FWords->empty()) return false;
  const std::vector<std::string>& words = *FWords;
  const size_t n = static_cast<size_t>(FPtr - FTokenPtr);
  if (n == 0) return false;
  // The list is sorted, so a token whose first byte lies outside the first
  // bytes of its first and last words is not in it (most tokens of a text).
  const unsigned char first = sjis::AsciiLower(*FTokenPtr);
  if (!words.front().empty() && !words.back().empty() &&
      (first < sjis::AsciiLower(static_cast<unsigned char>(words.front()[0])) ||
       first > sjis::AsciiLower(static_cast<unsigned char>(words.back()[0]))))
    return false;
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

const TEditorColor* TEditorParser::BracketColor() const {
  if (FToken != toBracket || FElementIndex < 0 || FElementIndex >= FView->Brackets().Count()) return nullptr;
  return &FView->Brackets().BracketItems(FElementIndex).ItemColor();
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

bool ReserveWordLess(const std::string& A, const std::string& B) {
  return CompareText(reinterpret_cast<const unsigned char*>(A.data()), A.size(), B) < 0;
}

TEditorParserClass EditorParserClass() {
  return [](const std::string& S, const IEditorParserHost* Editor, int BracketIndex) {
    return std::unique_ptr<IEditorRowParser>(std::make_unique<TEditorParser>(S, Editor, BracketIndex));
  };
}

}  // namespace vel
