#pragma once
// TEditorParser cuts one display row into coloured tokens.
//
// A token is found by the dispatch table (one method per byte value) unless a
// recogniser of the view (bracket pair, mail address, URL, comment marker,
// quote, control code, hexadecimal prefix) claims the text first. A row that
// starts inside a token of an earlier row carries that token's kind; the low
// entries of the dispatch table continue such a token. LastTokenBracket walks a
// row to find the state the next row starts in.
//
// Every row is read to its end, each token advancing: a carried kind that
// cannot go on at the row's first byte (an out-of-date state) gives an empty
// token of that kind, the only token without bytes, and the next token is
// read at the same place by its byte; a lead byte that its trail byte cannot
// follow is a toDBSymbol of one byte (of the carried kind when it continues
// a token); a lead byte before the row's end is a character of one byte.
//
// An object of exactly this class takes a quicker path with the same rules:
// the token methods of its dispatch table called without virtual dispatch,
// and only the recognisers that can start at a byte asked, from a table
// built from the view's switches at NewData. Both paths are built from one
// set of rule tables, and a test holds them to the same tokens.
//
// Every operation is virtual so that a descendant can change any rule. C++
// does not dispatch virtual calls from a base constructor: a descendant that
// overrides InitMethodTable, NewData or a token method that the first token
// may use constructs its base with TDeferStart and calls Start itself.
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "syntax/EditorColor.h"
#include "syntax/EditorViewInfo.h"
#include "syntax/ParserHost.h"
#include "text/Sjis.h"

namespace vel {

// Values are fixed: rows store the kind they start in, and a kind indexes the
// dispatch table to continue a token. 2, 5, 10 and 13 are never produced.
enum TEditorTokenKind : uint8_t {
  toEof = 0,
  toSymbol = 1,
  toInteger = 3,
  toFloat = 4,
  toBracket = 6,
  toComment = 7,
  toAnk = 8,
  toTab = 9,
  toDBSymbol = 11,
  toDBInt = 12,
  toDBAlph = 14,
  toDBHira = 15,
  toDBKana = 16,
  toDBKanji = 17,
  toKanaSymbol = 18,
  toKana = 19,
  toUrl = 20,
  toMail = 21,
  toHex = 22,
  toQuotation = 23,
  toControlCode = 24,
  toControlCodeHex = 25,
  toReserve = 26,
};

class TEditorParser : public IEditorRowParser {
 public:
  using TEditorParseProc = void (TEditorParser::*)();

  // Without a control: tokens come from the dispatch table alone.
  explicit TEditorParser(const std::string& S);
  TEditorParser(const std::string& S, const IEditorParserHost* Editor, int BracketIndex);
  TEditorParser(const std::string& S, const IEditorParserHost* Editor, int BracketIndex, int Token);

  // Restarts on a new text, keeping the dispatch table, and reads the first
  // token. The control's view and reserve word list are taken as they are
  // now: change them between rows, not while a row is being read.
  virtual void NewData(const std::string& S, const IEditorParserHost* Editor, int BracketIndex, int Token);
  // Reads the next token and returns its kind; toEof at the row end.
  virtual int NextToken();
  // The Reserve colour for a reserved word, else the colour of the token's
  // kind; null without a control or view, and for toEof and toTab.
  virtual const TEditorColor* TokenToEditorColor();
  virtual bool IsReserveWord();

  void LastTokenBracket(int Row, const IEditorRows& Rows, int& Token, int& Bracket) override;

  // The place after the current token with the pair state there. No token
  // looks back, so reading S again from this place gives the tokens that
  // reading on now would give: a painter resumes a long row from a place
  // kept from an earlier paint instead of reading it from its start.
  struct TResumePoint {
    int Pos = 0;
    int BracketIndex = -2;
  };
  TResumePoint ResumePoint() const { return {FBase + static_cast<int>(FPtr - Text()), FBracketIndex}; }
  // Restarts on the text from P.Pos, which must be a point taken on this very
  // text with the same view; positions stay those of the whole text. The
  // read stops at End, which must be P.Pos or later and a place between
  // tokens as SyncAround finds them, or the text's length.
  void ResumeFrom(const std::string& S, const IEditorParserHost* Editor, const TResumePoint& P,
                  int End = INT_MAX);
  // Places where every read of S from its start, in the state (Bracket,
  // Token), is between two tokens, found from the bytes around them without
  // reading a token: a blank, or a character that no token goes on with,
  // that starts a character whatever came before, and before the first byte
  // at which a token may start that runs over such places (a comment, a
  // quote, a bracket pair) or at which the read ends. From is the last one at
  // or before Col, Pos -1 when there is none within kSyncReach bytes; End the
  // first one after ToCol within kSyncReach, else S's length. Only this very
  // class promises them; a descendant gets none.
  struct TSync {
    TResumePoint From{-1, -2};
    int End = 0;
  };
  static constexpr int kSyncReach = 256;
  TSync SyncAround(const std::string& S, const IEditorParserHost* Editor, int Bracket, int Token, int Col,
                   int ToCol);
  // Whether ResumeFrom gives the tokens of a read from the row's start. A
  // descendant may keep state of its own across tokens, so only this class
  // promises it.
  virtual bool CanResume() { return IsExactClass(); }

  int Token() const { return FToken; }
  int SourcePos() const { return FBase + static_cast<int>(FTokenPtr - Text()); }
  int TokenLength() const { return static_cast<int>(FPtr - FTokenPtr); }
  std::string TokenString() const;
  // -2 recognition off, -1 outside any pair, n inside pair n.
  int BracketIndex() const { return FBracketIndex; }
  // The pair of the current toBracket token, -2 when none.
  int TokenBracketIndex() const { return FElementIndex; }
  const IEditorParserHost* Editor() const { return FEditor; }

 protected:
  struct TDeferStart {};
  explicit TEditorParser(TDeferStart) {}
  // Builds the dispatch table and reads the first token, with virtual dispatch.
  void Start(const std::string& S, const IEditorParserHost* Editor, int BracketIndex, int Token);

  virtual void InitMethodTable();
  virtual void SkipBlanks();
  virtual bool IsBracketProc();
  virtual void BracketProc();
  virtual bool IsMailProc();
  virtual void MailProc();
  virtual bool IsUrlProc();
  virtual void UrlProc();
  virtual bool IsCommenterProc();
  virtual void CommenterProc();
  virtual bool IsQuotationProc();
  virtual void QuotationProc();
  virtual bool IsHexPrefixProc();
  virtual void HexPrefixProc();
  virtual bool IsControlCodeHexProc();
  virtual void ControlCodeHexProc();
  virtual bool IsControlCodeProc();
  virtual void ControlCodeProc();
  virtual void ReserveWordProc();
  virtual void EofProc();
  virtual void TabProc();
  virtual void LFProc();
  virtual void CrProc();
  virtual void IntegerProc();
  virtual void AnkProc();
  virtual void DBSymbolProc();
  virtual void DBProc();
  virtual void DBKanjiProc();
  virtual void KanaSymbolProc();
  virtual void KanaProc();
  virtual void SymbolProc();

  // The text being read; it starts at offset FBase of the row.
  const unsigned char* Text() const { return FText.get(); }
  // Steps over one character; a lead byte takes its trail byte unless the row ends there.
  void StepChar() { FPtr += (sjis::IsLeadByte(*FPtr) && FPtr[1] != 0) ? 2 : 1; }
  static bool IsRowEnd(unsigned char c) { return c == 0 || c == '\n' || c == '\r'; }
  // True when the text at FPtr starts with S; never reads past the terminating NUL.
  bool StartsWith(std::string_view S) const;

  int FBracketIndex = -2;
  int FElementIndex = -2;
  const IEditorParserHost* FEditor = nullptr;
  // The control's view and reserve word list, as NewData found them.
  const TEditorViewInfo* FView = nullptr;
  const std::vector<std::string>* FWords = nullptr;
  TEditorParseProc FMethodTable[256] = {};
  const unsigned char* FPtr = nullptr;
  const unsigned char* FSourcePtr = nullptr;
  uint8_t FCarriedToken = 0;
  uint8_t FToken = toEof;
  const unsigned char* FTokenPtr = nullptr;

 private:
  void Dispatch() {
    TEditorParseProc proc = FMethodTable[*FPtr];
    (this->*proc)();
  }
  void Exponent();
  // Copies the text and takes the view: the part of NewData before the first token.
  void Load(std::string_view S, const IEditorParserHost* Editor);
  int FBase = 0;
  template <bool Exact>
  int ReadToken();
  [[gnu::noinline]] int ReadVirtual();
  // Which bytes may start a recognised token, from the view's switches as
  // NewData finds them; rebuilt only when they change.
  void UpdateRecogniseTable();
  const TEditorViewInfo* FRecogniseView = nullptr;
  uint64_t FRecogniseRevision = 0;
  // The dispatch table's method for a rule of the rule tables.
  static TEditorParseProc RuleProc(uint8_t Rule);
  // One token by the exact class's action table (blanks and the row end
  // excepted), with a single jump on the byte's action.
  void FastDispatch(uint8_t Action);
  // Asks the recognisers in their order, those of Candidates only; false
  // when none claims the text.
  template <bool Exact>
  bool Recognise(uint8_t Candidates);
  void RecogniseOrRead();
  void BuildActions();
  // True for an object of exactly this class, which may skip virtual dispatch.
  bool IsExactClass() {
    if (!FExactKnown) {
      FExact = typeid(*this) == typeid(TEditorParser);
      FExactKnown = true;
    }
    return FExact;
  }
  const TEditorColor* BracketColor() const;
  bool FExact = false;
  bool FExactKnown = false;
  // This row is read by the exact class with a view and no reserve words:
  // each kind's colour comes from FKindColor, filled for FColorView.
  bool FQuickColor = false;
  const TEditorViewInfo* FColorView = nullptr;
  const TEditorColor* FKindColor[256] = {};
  void UpdateKindColors();

  enum : uint8_t { rsBracket = 1, rsMail = 2, rsUrl = 4, rsComment = 8, rsQuote = 16, rsControl = 32, rsHex = 64 };
  struct TRecogniseKey {
    bool Mail, Url, ControlCode;
    int8_t Brackets;
    int16_t Commenter, Quotation, HexPrefix;
    int16_t LeftBracket[14];
    bool operator==(const TRecogniseKey&) const = default;
  };
  TRecogniseKey FRecogniseKey{};
  bool FRecogniseValid = false;
  uint8_t FRecognise[256] = {};
  uint8_t FAction[256] = {};
  // The row, two NULs, and room for the quick path's reads past them.
  static constexpr size_t kTextSlack = 8;
  std::unique_ptr<unsigned char[]> FText;
  size_t FTextCapacity = 0;
};

namespace detail {

// The colour of each token kind, as an index of TEditorColors; none (0xFF)
// for toEof, toTab, toBracket (its pair's colour) and the kinds never produced.
struct TKindColors {
  uint8_t Index[256] = {};
  constexpr TKindColors() {
    for (auto& i : Index) i = 0xFF;
    Index[toSymbol] = TEditorColors::ciSymbol;
    Index[toInteger] = Index[toFloat] = Index[toHex] = TEditorColors::ciInt;
    Index[toComment] = TEditorColors::ciComment;
    Index[toAnk] = TEditorColors::ciAnk;
    for (int k : {toDBSymbol, toDBInt, toDBAlph, toDBHira, toDBKana, toDBKanji, toKanaSymbol, toKana})
      Index[k] = TEditorColors::ciDBCS;
    Index[toUrl] = TEditorColors::ciUrl;
    Index[toMail] = TEditorColors::ciMail;
    Index[toQuotation] = Index[toControlCode] = Index[toControlCodeHex] = TEditorColors::ciStr;
    Index[toReserve] = TEditorColors::ciReserve;
  }
};

inline constexpr TKindColors KindColors;

}  // namespace detail

// Inline so that a painter holding the parser itself pays no call per token.
inline const TEditorColor* TEditorParser::TokenToEditorColor() {
  if (FQuickColor) [[likely]]
    return FToken != toBracket ? FKindColor[FToken] : BracketColor();
  // FView is set only with a control.
  if (!FView) return nullptr;
  const bool reserved = IsExactClass() ? FWords && !FWords->empty() && TEditorParser::IsReserveWord()
                                       : IsReserveWord();
  if (reserved) return &FView->Colors().Reserve();
  const uint8_t index = detail::KindColors.Index[FToken];
  return index < TEditorColors::Count ? &FView->Colors().Items(index) : BracketColor();
}

// The order the reserve word list must be sorted in: bytes compared with
// ASCII letters folded to lower case.
bool ReserveWordLess(const std::string& A, const std::string& B);

// The parser class of TEditorParser, for the row list.
TEditorParserClass EditorParserClass();

}  // namespace vel
