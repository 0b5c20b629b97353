// Token streams of single rows, by character class, recogniser and switch.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/syntax/ParserTestHost.h"

namespace vel::test {
namespace {

struct TStreamCase {
  const char* Name;
  std::string Text;
  std::vector<TTok> Expected;
};

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s += static_cast<char>(c);
  return s;
}

void ExpectStreams(const std::vector<TStreamCase>& cases, const std::function<void(TTestHost&)>& configure,
                   bool withControl = true) {
  TTestHost host;
  configure(host);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TEditorParser p(c.Text, withControl ? &host : nullptr, -1);
    EXPECT_EQ(Drain(p), c.Expected);
  }
}

TEST(ParserTokens, CharacterClassesWithoutControl) {
  const std::vector<TStreamCase> cases = {
      {"ank and integer", "abc 123", {{toAnk, 0, 3}, {toInteger, 4, 3}}},
      {"ank takes digits and underscore", "a_9Z", {{toAnk, 0, 4}}},
      {"float with exponent", "12.5e-3", {{toFloat, 0, 7}}},
      {"dot then letter", "12.a", {{toFloat, 0, 2}, {toSymbol, 2, 1}, {toAnk, 3, 1}}},
      {"bare exponent", "12e", {{toFloat, 0, 3}}},
      {"sign without digits", "12e+", {{toFloat, 0, 3}, {toSymbol, 3, 1}}},
      {"dot then exponent", "3.e5", {{toFloat, 0, 4}}},
      {"exponent then letter", "7E+2x", {{toFloat, 0, 4}, {toAnk, 4, 1}}},
      {"integer then letters", "12ab", {{toInteger, 0, 2}, {toAnk, 2, 2}}},
      {"symbols one byte each", "+-@", {{toSymbol, 0, 1}, {toSymbol, 1, 1}, {toSymbol, 2, 1}}},
      {"tab is a token, blanks are not", " \tx \x01\x1f y", {{toTab, 1, 1}, {toAnk, 2, 1}, {toAnk, 7, 1}}},
      {"CR and LF are skipped as blanks", "a\r\nb", {{toAnk, 0, 1}, {toAnk, 3, 1}}},
      {"hiragana with long vowel", "ひらがなー", {{toDBHira, 0, 10}}},
      {"hiragana with wave dash mark", "あ－い", {{toDBHira, 0, 6}}},
      {"katakana run", "カタカナー", {{toDBKana, 0, 10}}},
      {"kanji run", "漢字列", {{toDBKanji, 0, 6}}},
      {"full-width digits with comma", "１，２．３", {{toDBInt, 0, 10}}},
      {"full-width letters", "ＡＢｃ", {{toDBAlph, 0, 6}}},
      {"double-byte punctuation", "、。", {{toDBSymbol, 0, 2}, {toDBSymbol, 2, 2}}},
      {"brackets around kanji", "「重要」", {{toDBSymbol, 0, 2}, {toDBKanji, 2, 4}, {toDBSymbol, 6, 2}}},
      {"circled digit", "①", {{toDBSymbol, 0, 2}}},
      {"greek is a double-byte symbol", "αβ", {{toDBSymbol, 0, 2}, {toDBSymbol, 2, 2}}},
      {"unassigned 0x82 trail", Bytes({0x82, 0x9B, 'x'}), {{toDBSymbol, 0, 2}, {toAnk, 2, 1}}},
      {"half-width kana and symbol", "ｱｲ｡ｰ", {{toKana, 0, 2}, {toKanaSymbol, 2, 1}, {toKana, 3, 1}}},
      {"mixed classes", "メモmemo漢", {{toDBKana, 0, 4}, {toAnk, 4, 4}, {toDBKanji, 8, 2}}},
      {"single-byte high symbols", Bytes({0x80, 0xA0, 0xFD, 0xFF}),
       {{toSymbol, 0, 1}, {toSymbol, 1, 1}, {toSymbol, 2, 1}, {toSymbol, 3, 1}}},
      {"lone 0x82 lead before a blank", Bytes({0x82, 0x20, 'x'}), {{toDBSymbol, 0, 1}, {toAnk, 2, 1}}},
      {"lone 0x83 lead", Bytes({0x83, 0xF5}), {{toDBSymbol, 0, 1}, {toDBKanji, 1, 1}}},
      {"lead byte at the row end", Bytes({'a', 0x81}), {{toAnk, 0, 1}, {toDBSymbol, 1, 1}}},
      {"kanji lead at the row end", Bytes({0x88, 0x9F, 0xE0}), {{toDBKanji, 0, 3}}},
      {"trail byte that looks like ASCII", "アA", {{toDBKana, 0, 2}, {toAnk, 2, 1}}},
      {"katakana with full-width hyphen", "ア－イ", {{toDBKana, 0, 6}}},
      {"full-width letters end at the long vowel mark", "ＡＢー", {{toDBAlph, 0, 4}, {toDBSymbol, 4, 2}}},
      {"full-width digits end at the long vowel mark", "１ー", {{toDBInt, 0, 2}, {toDBSymbol, 2, 2}}},
      {"hiragana end at the full-width comma", "あ，", {{toDBHira, 0, 2}, {toDBSymbol, 2, 2}}},
      {"katakana end at hiragana", "アあ", {{toDBKana, 0, 2}, {toDBHira, 2, 2}}},
      {"empty row", "", {}},
      {"blank row", "   ", {}},
  };
  ExpectStreams(cases, [](TTestHost&) {}, false);
}

// A parser that overrides nothing reads every token by the dispatch table.
class TVirtualParser : public TEditorParser {
 public:
  using TEditorParser::TEditorParser;
};

// Every character led by 0x81-0x87, as a row's first token and as the rest of
// a carried double-byte symbol, against the classes listed for each lead.
TEST(ParserTokens, EveryCharacterOfTheSymbolAndKanaLeads) {
  auto in = [](int b, int lo, int hi) { return b >= lo && b <= hi; };
  TTestHost host;
  TEditorParser exact("", &host, -1);
  TVirtualParser virt("", &host, -1);
  for (int lead = 0x81; lead <= 0x87; ++lead) {
    for (int trail = 0x01; trail <= 0xFF; ++trail) {
      SCOPED_TRACE(testing::Message() << std::hex << lead << " " << trail);
      int kind = toDBSymbol, len = 2;
      if (lead == 0x82) {
        if (trail <= 0x3F) len = 1;
        else if (in(trail, 0x4F, 0x58)) kind = toDBInt;
        else if (in(trail, 0x60, 0x79) || in(trail, 0x81, 0x9A)) kind = toDBAlph;
        else if (in(trail, 0x9F, 0xF1)) kind = toDBHira;
      } else if (lead == 0x83) {
        if (in(trail, 0x40, 0x96)) kind = toDBKana;
        else if (!in(trail, 0x97, 0xF0)) len = 1;
      }
      const bool symbol = lead == 0x81 || lead >= 0x84 || (lead == 0x83 && in(trail, 0x97, 0xF0)) ||
                          (lead == 0x82 && (in(trail, 0x40, 0x4E) || in(trail, 0x59, 0x5F) || in(trail, 0x7A, 0x80) ||
                                            in(trail, 0x9B, 0x9E) || trail >= 0xF2));
      const std::string row = Bytes({lead, trail});
      for (TEditorParser* p : {static_cast<TEditorParser*>(&exact), static_cast<TEditorParser*>(&virt)}) {
        p->NewData(row, &host, -1, toEof);
        EXPECT_EQ((TTok{p->Token(), p->SourcePos(), p->TokenLength()}), (TTok{kind, 0, len}));
        p->NewData(row, &host, -1, toDBSymbol);
        EXPECT_EQ((TTok{p->Token(), p->SourcePos(), p->TokenLength()}), (TTok{toDBSymbol, 0, symbol ? 2 : 0}));
      }
    }
  }
}

TEST(ParserTokens, SwitchesOffLeaveTheDispatchTableAlone) {
  const std::vector<TStreamCase> cases = {
      {"no control codes", "#13", {{toSymbol, 0, 1}, {toInteger, 1, 2}}},
      {"no url", "www.x", {{toAnk, 0, 3}, {toSymbol, 3, 1}, {toAnk, 4, 1}}},
      {"no mail", "a@b.c", {{toAnk, 0, 1}, {toSymbol, 1, 1}, {toAnk, 2, 1}, {toSymbol, 3, 1}, {toAnk, 4, 1}}},
      {"no quote", "'a'", {{toSymbol, 0, 1}, {toAnk, 1, 1}, {toSymbol, 2, 1}}},
  };
  ExpectStreams(cases, [](TTestHost&) {});
}

TEST(ParserTokens, CommentQuoteControlCodeAndHexPrefix) {
  const std::vector<TStreamCase> cases = {
      {"line comment", "a // b", {{toAnk, 0, 1}, {toComment, 2, 4}}},
      {"single slash is a symbol", "a / b", {{toAnk, 0, 1}, {toSymbol, 2, 1}, {toAnk, 4, 1}}},
      {"doubled quote inside a string", "'it''s' x", {{toQuotation, 0, 7}, {toAnk, 8, 1}}},
      {"unclosed string runs to the row end", "'abc de", {{toQuotation, 0, 7}}},
      {"string with a double-byte character", "'ア' z", {{toQuotation, 0, 4}, {toAnk, 5, 1}}},
      {"hex control code", "#$0D", {{toControlCodeHex, 0, 4}}},
      {"decimal control code", "#13 x", {{toControlCode, 0, 3}, {toAnk, 4, 1}}},
      {"number sign alone", "#x", {{toControlCode, 0, 1}, {toAnk, 1, 1}}},
      {"hex prefix ignores case", "0XFF", {{toHex, 0, 4}}},
      {"hex prefix then a non-digit", "0xfg", {{toHex, 0, 3}, {toAnk, 3, 1}}},
      {"prefix alone", "0x", {{toHex, 0, 2}}},
      {"plain number", "09", {{toInteger, 0, 2}}},
      {"comment wins over the quote", "//'a'", {{toComment, 0, 5}}},
  };
  ExpectStreams(cases, [](TTestHost& h) {
    h.View.SetCommenter("//");
    h.View.SetQuotation("'");
    h.View.SetControlCode(true);
    h.View.SetHexPrefix("0x");
  });
}

TEST(ParserTokens, MailAndUrl) {
  const std::vector<TStreamCase> cases = {
      {"mail address", "mail tanaka@example.co.jp x", {{toAnk, 0, 4}, {toMail, 5, 20}, {toAnk, 26, 1}}},
      {"no dot after the at sign", "a@b", {{toAnk, 0, 1}, {toSymbol, 1, 1}, {toAnk, 2, 1}}},
      {"dot before the at sign does not count", "x.y@z.", {{toMail, 0, 6}}},
      {"trailing dots are taken", "a@b.c..", {{toMail, 0, 7}}},
      {"cannot begin with the at sign", "@a.b", {{toSymbol, 0, 1}, {toAnk, 1, 1}, {toSymbol, 2, 1}, {toAnk, 3, 1}}},
      {"url", "see http://www.x.jp/a b", {{toAnk, 0, 3}, {toUrl, 4, 17}, {toAnk, 22, 1}}},
      {"https", "https://a?b=1&c#d", {{toUrl, 0, 17}}},
      {"www alone", "www.", {{toUrl, 0, 4}}},
      {"ftp", "ftp:x", {{toUrl, 0, 5}}},
      {"ftp without colon", "ftpx", {{toAnk, 0, 4}}},
      {"prefix case matters", "HTTP:x", {{toAnk, 0, 4}, {toSymbol, 4, 1}, {toAnk, 5, 1}}},
      {"url stops at the at sign", "http://a@b",
       {{toUrl, 0, 8}, {toSymbol, 8, 1}, {toAnk, 9, 1}}},
      {"url stops at double-byte text", "www.x会議", {{toUrl, 0, 5}, {toDBKanji, 5, 4}}},
  };
  ExpectStreams(cases, [](TTestHost& h) {
    h.View.SetMail(true);
    h.View.SetUrl(true);
  });
}

TEST(ParserTokens, BracketPairs) {
  const std::vector<TStreamCase> cases = {
      {"closed pair", "a /* b */ c", {{toAnk, 0, 1}, {toBracket, 2, 7}, {toAnk, 10, 1}}},
      {"empty pair", "/**/", {{toBracket, 0, 4}}},
      {"open pair runs to the row end", "/* open", {{toBracket, 0, 7}}},
      {"right bracket is found on character boundaries", "[アA]", {{toBracket, 0, 4}, {toSymbol, 4, 1}}},
      {"second pair", "{x} y", {{toBracket, 0, 3}, {toAnk, 4, 1}}},
      {"pair with an empty right bracket ends the row", "ab (( cd", {{toAnk, 0, 2}}},
      {"bracket before the comment marker", "/*//*/ //x", {{toBracket, 0, 6}, {toComment, 7, 3}}},
  };
  ExpectStreams(cases, [](TTestHost& h) {
    h.AddBracket("/*", "*/");
    h.AddBracket("[", "A");
    h.AddBracket("{", "}");
    h.AddBracket("((", "");
    h.View.SetCommenter("//");
  });
}

TEST(ParserTokens, BracketRecognitionOffAndOpenState) {
  TTestHost host;
  host.AddBracket("/*", "*/");
  TEditorParser off("/* x", &host, -2);
  EXPECT_EQ(Drain(off), (std::vector<TTok>{{toSymbol, 0, 1}, {toSymbol, 1, 1}, {toAnk, 3, 1}}));
  TEditorParser open("a /* b", &host, -1);
  Drain(open);
  EXPECT_EQ(open.BracketIndex(), 0);
  TEditorParser closed("a /* b */", &host, -1);
  auto toks = Drain(closed);
  ASSERT_EQ(toks.size(), 2u);
  EXPECT_EQ(closed.BracketIndex(), -1);
}

struct TCarriedCase {
  const char* Name;
  std::string Text;
  int Bracket;
  int Carried;
  std::vector<TTok> Expected;
};

TEST(ParserTokens, CarriedTokenContinuesThroughTheTable) {
  TTestHost host;
  host.AddBracket("/*", "*/");
  host.View.SetQuotation("'");
  host.View.SetMail(true);
  host.View.SetUrl(true);
  host.View.SetHexPrefix("$");
  const std::vector<TCarriedCase> cases = {
      {"reserved word rest", "gin x", -1, toReserve, {{toReserve, 0, 3}, {toAnk, 4, 1}}},
      {"hiragana rest", "いう漢", -1, toDBHira, {{toDBHira, 0, 4}, {toDBKanji, 4, 2}}},
      {"string rest", "bc' d", -1, toQuotation, {{toQuotation, 0, 3}, {toAnk, 4, 1}}},
      {"comment rest", "x y", -1, toComment, {{toComment, 0, 3}}},
      {"bracket rest", "x */ y", 0, toBracket, {{toBracket, 0, 4}, {toAnk, 5, 1}}},
      {"mail rest", "co.jp x", -1, toMail, {{toMail, 0, 5}, {toAnk, 6, 1}}},
      {"url rest", "a/b.html x", -1, toUrl, {{toUrl, 0, 8}, {toAnk, 9, 1}}},
      {"hex rest", "FF g", -1, toHex, {{toHex, 0, 2}, {toAnk, 3, 1}}},
      {"float rest", ".5x", -1, toInteger, {{toFloat, 0, 2}, {toAnk, 2, 1}}},
      {"leading blanks before the rest", "  ab", -1, toAnk, {{toAnk, 2, 2}}},
      // Out-of-date states: an empty token of the carried kind, then the row
      // is read by its bytes.
      {"hiragana expected, letters found", "abc", -1, toDBHira, {{toDBHira, 0, 0}, {toAnk, 0, 3}}},
      {"bracket carried outside any pair", "ab", -1, toBracket, {{toBracket, 0, 0}, {toAnk, 0, 2}}},
      {"bracket carried into a removed pair", "ab", 5, toBracket, {{toBracket, 0, 0}, {toAnk, 0, 2}}},
      {"kanji expected, symbol found", "+", -1, toDBKanji, {{toDBKanji, 0, 0}, {toSymbol, 0, 1}}},
      {"never-produced kind", "ab", -1, 13, {{13, 0, 0}, {toAnk, 0, 2}}},
      {"lone lead byte keeps the carried kind", Bytes({0x82, 0x20, 'x'}), -1, toDBHira,
       {{toDBHira, 0, 1}, {toAnk, 2, 1}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TEditorParser p(c.Text, &host, c.Bracket, c.Carried);
    EXPECT_EQ(Drain(p), c.Expected);
  }
}

TEST(ParserTokens, NewDataRestartsAndTokenStringReadsTheBytes) {
  TTestHost host;
  TEditorParser p("abc", &host, -1);
  EXPECT_EQ(p.TokenString(), "abc");
  p.NewData("  漢字 x", &host, -1, toEof);
  EXPECT_EQ(p.Token(), toDBKanji);
  EXPECT_EQ(p.SourcePos(), 2);
  EXPECT_EQ(p.TokenString(), "漢字");
  EXPECT_EQ(p.NextToken(), toAnk);
  EXPECT_EQ(p.TokenString(), "x");
  EXPECT_EQ(p.NextToken(), toEof);
  EXPECT_EQ(p.NextToken(), toEof);
}

TEST(ParserTokens, ReserveWordsAreFoundWithoutRegardToCase) {
  TTestHost host;
  host.Words = {"begin", "End", "procedure", "会議"};
  host.View.Colors().Reserve().SetColor(clRed);
  host.View.SetCommenter("//");
  struct {
    std::string Text;
    bool Reserved;
  } cases[] = {{"begin", true}, {"BEGIN", true}, {"end", true}, {"Procedure", true}, {"会議", true},
               {"beginx", false}, {"beg", false}, {"a", false}, {"zzz", false}, {"//begin", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    TEditorParser p(c.Text, &host, -1);
    EXPECT_EQ(p.IsReserveWord(), c.Reserved);
    const TEditorColor* color = p.TokenToEditorColor();
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(color == &host.View.Colors().Reserve(), c.Reserved);
  }
  host.Words.clear();
  TEditorParser p("begin", &host, -1);
  EXPECT_FALSE(p.IsReserveWord());
}

TEST(ParserTokens, ReserveWordsSortedByTheirOwnOrderAreAllFound) {
  TTestHost host;
  host.Words = {"_x", "Zeta", "alpha", "Beta", "a1", "会議", "ｱ", "ＡＢ", "c_d", "~"};
  std::sort(host.Words.begin(), host.Words.end(), ReserveWordLess);
  for (const std::string& w : std::vector<std::string>(host.Words)) {
    SCOPED_TRACE(w);
    TEditorParser p(w, &host, -1);
    EXPECT_TRUE(p.IsReserveWord());
  }
  EXPECT_TRUE(ReserveWordLess("alpha", "BETA"));
  EXPECT_FALSE(ReserveWordLess("ZETA", "zeta"));
}

TEST(ParserTokens, TokenToEditorColorByKind) {
  TTestHost host;
  host.AddBracket("<", ">");
  host.View.SetCommenter(";");
  host.View.SetQuotation("\"");
  host.View.SetControlCode(true);
  host.View.SetMail(true);
  host.View.SetUrl(true);
  const TEditorColors& c = host.View.Colors();
  const TEditorColor* none = nullptr;
  struct {
    std::string Text;
    int Kind;
    const TEditorColor* Color;
  } cases[] = {
      {"+", toSymbol, &c.Symbol()},         {"12", toInteger, &c.Int()},
      {"1.5", toFloat, &c.Int()},           {"<x>", toBracket, &host.View.Brackets().BracketItems(0).ItemColor()},
      {";x", toComment, &c.Comment()},      {"ab", toAnk, &c.Ank()},
      {"\t", toTab, none},                  {"漢", toDBKanji, &c.DBCS()},
      {"ｱ", toKana, &c.DBCS()},             {"｡", toKanaSymbol, &c.DBCS()},
      {"www.a", toUrl, &c.Url()},           {"a@b.c", toMail, &c.Mail()},
      {"\"s\"", toQuotation, &c.Str()},     {"#1", toControlCode, &c.Str()},
      {"#$1", toControlCodeHex, &c.Str()},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.Text);
    TEditorParser p(t.Text, &host, -1);
    EXPECT_EQ(p.Token(), t.Kind);
    EXPECT_EQ(p.TokenToEditorColor(), t.Color);
  }
  TEditorParser hex("0x1");
  EXPECT_EQ(hex.TokenToEditorColor(), nullptr);
  host.HasView = false;
  TEditorParser noView("ab", &host, -1);
  EXPECT_EQ(noView.Token(), toAnk);
  EXPECT_EQ(noView.TokenToEditorColor(), nullptr);
}

// A descendant changes a rule by overriding it; the dispatch table and the
// recognisers are its to replace.
class TDollarParser : public TEditorParser {
 public:
  TDollarParser(const std::string& S, const IEditorParserHost* Editor) : TEditorParser(TDeferStart{}) {
    Start(S, Editor, -1, toEof);
  }

 protected:
  void InitMethodTable() override {
    TEditorParser::InitMethodTable();
    FMethodTable[static_cast<unsigned char>('$')] = static_cast<TEditorParseProc>(&TDollarParser::DollarProc);
  }
  bool IsCommenterProc() override {
    if (*FPtr != '%') return false;
    ++FPtr;
    return true;
  }

 private:
  void DollarProc() {
    FToken = toHex;
    ++FPtr;
    while (*FPtr >= '0' && *FPtr <= '9') ++FPtr;
  }
};

TEST(ParserTokens, DescendantOverridesTableAndRecogniser) {
  TTestHost host;
  TDollarParser p("$12 a % b", &host);
  EXPECT_EQ(Drain(p), (std::vector<TTok>{{toHex, 0, 3}, {toAnk, 4, 1}, {toComment, 6, 3}}));
}

}  // namespace
}  // namespace vel::test

namespace vel::test {
namespace {

TEST(ParserTokens, ReusedParserFollowsViewChangesBetweenRows) {
  TTestHost host;
  TEditorParser p("", &host, -1);
  const std::string row = "a@b.c // x";
  p.NewData(row, &host, -1, toEof);
  EXPECT_EQ(p.Token(), toAnk);
  host.View.SetMail(true);
  host.View.SetCommenter("//");
  p.NewData(row, &host, -1, toEof);
  EXPECT_EQ(Drain(p), (std::vector<TTok>{{toMail, 0, 5}, {toComment, 6, 4}}));
  host.View.SetMail(false);
  host.AddBracket("a", "c");
  p.NewData(row, &host, -1, toEof);
  EXPECT_EQ(Drain(p), (std::vector<TTok>{{toBracket, 0, 5}, {toComment, 6, 4}}));
}

}  // namespace
}  // namespace vel::test
