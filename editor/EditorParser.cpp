#include "editor/EditorParser.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <typeinfo>

#include "editor/DBCS.h"
#include "editor/EditorViewInfo.h"

namespace vel {

namespace {

// Byte classes the recognisers test, one bit each.
enum : uint8_t { ccDigit = 1, ccHex = 2, ccAnk = 4, ccMail = 8, ccUrl = 16, ccBlank = 32, ccKanji = 64 };

struct TCharClasses {
  uint8_t Bits[256] = {};
  constexpr void Range(int lo, int hi, uint8_t bit) {
    for (int c = lo; c <= hi; ++c) Bits[c] |= bit;
  }
  constexpr void Chars(const char* s, uint8_t bit) {
    for (; *s; ++s) Bits[static_cast<unsigned char>(*s)] |= bit;
  }
  TCharClasses() {
    Range(0x88, 0x9F, ccKanji);
    Range(0xE0, 0xFC, ccKanji);
    Range(0x01, 0x08, ccBlank);
    Range(0x0A, 0x20, ccBlank);
    Range('0', '9', ccDigit | ccHex | ccAnk);
    Range('A', 'F', ccHex);
    Range('a', 'f', ccHex);
    Range('A', 'Z', ccAnk);
    Range('a', 'z', ccAnk);
    Chars("_", ccAnk);
    // Mail and URL bytes are the text helpers' sets, so the colouring and
    // IsMail/IsUrl never disagree.
    for (int c = 0; c < 256; ++c) {
      if (MailChars().test(c)) Bits[c] |= ccMail;
      if (UrlChars().test(c)) Bits[c] |= ccUrl;
    }
  }
};

const TCharClasses kClasses;

// The byte entries of the dispatch table as classes, for the exact class's
// quick path (InitMethodTable is the reference; a test compares the two).
enum : uint8_t { chSymbol, chDigit, chLetter, chKanaSymbol, chKana, chKanji, chDBSymbol, chLead82, chLead83, chTab, chOther };
// Beyond the classes, the exact parser's action table marks blanks, the row's
// end and bytes at which a recogniser of the view may claim a token; acWord
// and acNumber are a letter and a digit at which only a mail address may
// start, the commonest cases.
enum : uint8_t { acBlank = 16, acEnd, acRecognise, acWord, acNumber };

struct TDispatchClasses {
  uint8_t Single[256] = {};
  constexpr TDispatchClasses() {
    auto single = [this](int lo, int hi, uint8_t ch) {
      for (int c = lo; c <= hi; ++c) Single[c] = ch;
    };
    single(0x00, 0x00, chOther);
    single(0x0A, 0x0A, chOther);
    single(0x0D, 0x0D, chOther);
    single(0x09, 0x09, chTab);
    single('0', '9', chDigit);
    single('A', 'Z', chLetter);
    single('a', 'z', chLetter);
    single('_', '_', chLetter);
    single(0xA1, 0xA5, chKanaSymbol);
    single(0xA6, 0xDF, chKana);
    single(0x88, 0x9F, chKanji);
    single(0xE0, 0xFC, chKanji);
    single(0x81, 0x81, chDBSymbol);
    single(0x84, 0x87, chDBSymbol);
    single(0x82, 0x82, chLead82);
    single(0x83, 0x83, chLead83);
  }
};

constexpr TDispatchClasses kDispatch;

inline bool Is(unsigned char c, uint8_t cls) { return (kClasses.Bits[c] & cls) != 0; }

// The end of the run of letters and digits at p. The run holds no '@', so a
// mail address starting at p needs a mail byte there.
inline const unsigned char* WordEnd(const unsigned char* p) {
  while (Is(*p, ccAnk)) ++p;
  return p;
}

inline unsigned char LowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

// Case-insensitive (ASCII letters) ordering, the order of the reserve word list.
inline int CompareText(const unsigned char* a, size_t na, const std::string& b) {
  size_t n = std::min(na, b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = LowerAscii(a[i]), y = LowerAscii(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return na < b.size() ? -1 : (na > b.size() ? 1 : 0);
}

inline unsigned Code(const unsigned char* p) { return static_cast<unsigned>(p[0]) << 8 | p[1]; }
inline bool InCode(unsigned code, unsigned lo, unsigned hi) { return code - lo <= hi - lo; }


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
  FCarriedToken = static_cast<uint8_t>(Token);
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
  FBracketIndex = BracketIndex;
  FElementIndex = -2;
  FPtr = FSourcePtr = FTokenPtr = Text();
  FToken = toEof;
  NextToken();
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
    key.HexPrefix = v.HexPrefix().empty() ? -1 : LowerAscii(static_cast<unsigned char>(v.HexPrefix()[0]));
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
    if (key.HexPrefix >= 0 && LowerAscii(static_cast<unsigned char>(c)) == key.HexPrefix) t[c] |= rsHex;
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
    if (b == 0) FAction[c] = acEnd;
    else if (Is(b, ccBlank)) FAction[c] = acBlank;
    else if (FRecognise[c] == rsMail && kDispatch.Single[c] == chLetter) FAction[c] = acWord;
    else if (FRecognise[c] == rsMail && kDispatch.Single[c] == chDigit) FAction[c] = acNumber;
    else if (FRecognise[c]) FAction[c] = acRecognise;
    else FAction[c] = kDispatch.Single[c];
  }
}

[[gnu::always_inline]] inline void TEditorParser::FastDispatch(uint8_t Action) {
  // The byte entries of InitMethodTable, for the exact class whose table they
  // are, with the runs read by tight loops.
  const unsigned char* p = FPtr;
  switch (Action) {
    case chSymbol: FToken = toSymbol; FPtr = p + 1; return;
    case chDigit: TEditorParser::IntegerProc(); return;
    case chLetter:
      FToken = toAnk;
      do ++p; while (Is(*p, ccAnk));
      break;
    case chKanaSymbol: FToken = toKanaSymbol; FPtr = p + 1; return;
    case chKana:
      FToken = toKana;
      do ++p; while (*p >= 0xA6 && *p <= 0xDF);
      break;
    case chKanji:
      // Most runs are of one to three characters: each step takes up to
      // four without a branch per character, which would mostly be guessed
      // wrong at the run's end. A lead byte before the NUL is one byte and
      // ends the run. The buffer is long enough for the reads past the NUL,
      // whose bytes never count.
      FToken = toDBKanji;
      for (;;) {
        if (p[1] == 0) [[unlikely]] {
          ++p;
          break;
        }
        const unsigned t1 = p[3] != 0, t2 = p[5] != 0, t3 = p[7] != 0;
        const unsigned a1 = Is(p[2], ccKanji);
        const unsigned a2 = a1 & t1 & Is(p[4], ccKanji);
        const unsigned a3 = a2 & t2 & Is(p[6], ccKanji);
        p += 2 + a1 * (1 + t1) + a2 * (1 + t2) + a3 * (1 + t3);
        if (!(a3 & t3) || !Is(*p, ccKanji)) break;
      }
      break;
    case chDBSymbol: FToken = toDBSymbol; p += p[1] ? 2 : 1; break;
    case chLead82: {
      const unsigned code = Code(p);
      if (InCode(code, 0x829F, 0x82F1)) {
        FToken = toDBHira;
        do p += 2;
        while (InCode(Code(p), 0x829F, 0x82F1) || Code(p) == 0x815B || Code(p) == 0x817C);
      } else if (InCode(code, 0x8260, 0x8279) || InCode(code, 0x8281, 0x829A)) {
        FToken = toDBAlph;
        do p += 2;
        while (InCode(Code(p), 0x8260, 0x8279) || InCode(Code(p), 0x8281, 0x829A));
      } else if (InCode(code, 0x824F, 0x8258)) {
        FToken = toDBInt;
        do p += 2;
        while (InCode(Code(p), 0x824F, 0x8258) || InCode(Code(p), 0x8143, 0x8144));
      } else if (code <= 0x823F) {
        ++p;
      } else {
        FToken = toDBSymbol;
        p += 2;
      }
      break;
    }
    case chLead83: {
      const unsigned code = Code(p);
      if (InCode(code, 0x8340, 0x8396)) {
        FToken = toDBKana;
        do p += 2;
        while (InCode(Code(p), 0x8340, 0x8396) || Code(p) == 0x815B || Code(p) == 0x817C);
      } else if (InCode(code, 0x8397, 0x83F0)) {
        FToken = toDBSymbol;
        p += 2;
      } else {
        ++p;
      }
      break;
    }
    case chTab: FToken = toTab; FPtr = p + 1; return;
    case acWord:
      p = WordEnd(p);
      if (Is(*p, ccMail) && TEditorParser::IsMailProc()) {
        TEditorParser::MailProc();
        return;
      }
      FToken = toAnk;
      break;
    case acNumber:
      if (Is(*WordEnd(p), ccMail) && TEditorParser::IsMailProc()) TEditorParser::MailProc();
      else TEditorParser::IntegerProc();
      return;
    case acRecognise: Recognise(); return;
    default: Dispatch(); return;
  }
  FPtr = p;
}

void TEditorParser::Recognise() {
  // Only the recognisers that can start at this byte are asked.
  const uint8_t r = FRecognise[*FPtr];
  if ((r & rsBracket) && FBracketIndex >= -1 && TEditorParser::IsBracketProc()) TEditorParser::BracketProc();
  else if ((r & rsMail) && Is(*WordEnd(FPtr), ccMail) && TEditorParser::IsMailProc()) TEditorParser::MailProc();
  else if ((r & rsUrl) && TEditorParser::IsUrlProc()) TEditorParser::UrlProc();
  else if ((r & rsComment) && TEditorParser::IsCommenterProc()) TEditorParser::CommenterProc();
  else if ((r & rsQuote) && TEditorParser::IsQuotationProc()) TEditorParser::QuotationProc();
  else if ((r & rsControl) && TEditorParser::IsControlCodeHexProc()) TEditorParser::ControlCodeHexProc();
  else if ((r & rsControl) && TEditorParser::IsControlCodeProc()) TEditorParser::ControlCodeProc();
  else if ((r & rsHex) && TEditorParser::IsHexPrefixProc()) TEditorParser::HexPrefixProc();
  else FastDispatch(kDispatch.Single[*FPtr]);
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
    }
    // A rule of a descendant that claims nothing must not stall the row.
    if constexpr (!Exact)
      if (FPtr == FTokenPtr && FToken != toEof) ++FPtr;
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
  std::string_view prefix;
  switch (*FPtr) {
    case 'f': prefix = "ftp:"; break;
    case 'h': prefix = StartsWith("http:") ? "http:" : "https:"; break;
    case 'w': prefix = "www."; break;
    default: return false;
  }
  if (!StartsWith(prefix)) return false;
  FPtr += prefix.size();
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
  if (FToken == toBracket || FToken == toComment || !FWords || FWords->empty()) return false;
  const std::vector<std::string>& words = *FWords;
  const size_t n = static_cast<size_t>(FPtr - FTokenPtr);
  if (n == 0) return false;
  // The list is sorted, so a token whose first byte lies outside the first
  // bytes of its first and last words is not in it (most tokens of a text).
  const unsigned char first = LowerAscii(*FTokenPtr);
  if (!words.front().empty() && !words.back().empty() &&
      (first < LowerAscii(static_cast<unsigned char>(words.front()[0])) ||
       first > LowerAscii(static_cast<unsigned char>(words.back()[0]))))
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
