// Random rows never crash the parser, never stall it, and every row is cut
// into tokens that cover every non-blank byte.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/syntax/ParserTestHost.h"

namespace vel::test {
namespace {

constexpr uint32_t kSeed = 20261208;

bool IsBlank(unsigned char c) { return c >= 0x01 && c <= 0x20 && c != '\t'; }

// Bytes that start or end something, mixed with any other byte but NUL. Rows
// of the row list hold no line breaks; lineBreaks adds CR and LF anyway.
std::string RandomRow(std::mt19937& rng, bool lineBreaks) {
  static const std::string palette = "/*{}(('\"#$0x9aZ_@.:fhtpw \t\r\n";
  static const unsigned char leads[] = {0x81, 0x82, 0x83, 0x84, 0x88, 0x9F, 0xE0, 0xFC, 0xA1, 0xB1};
  std::uniform_int_distribution<int> len(0, 90), kind(0, 9), any(1, 255);
  std::string s;
  for (int n = len(rng); n > 0; --n) {
    int k = kind(rng);
    if (k < 4) s += palette[rng() % palette.size()];
    else if (k < 7) s += static_cast<char>(leads[rng() % sizeof leads]);
    else s += static_cast<char>(any(rng));
    if (!lineBreaks && (s.back() == '\r' || s.back() == '\n')) s.back() = ' ';
  }
  return s;
}

void Configure(TTestHost& host, std::mt19937& rng, bool emptyRightPair) {
  host.View.SetMail(rng() % 2);
  host.View.SetUrl(rng() % 2);
  host.View.SetControlCode(rng() % 2);
  host.View.SetCommenter(rng() % 2 ? "//" : "");
  host.View.SetQuotation(rng() % 2 ? "'" : "");
  // A prefix that runs over a symbol no other token takes in.
  static const char* const prefixes[] = {"", "0x", "x("};
  host.View.SetHexPrefix(prefixes[rng() % 3]);
  host.View.Brackets().Clear();
  host.AddBracket("/*", "*/");
  host.AddBracket("{", "}");
  host.AddBracket("\x82", "\x83");  // brackets made of lead bytes
  if (emptyRightPair) host.AddBracket("((", "");
  host.Words = {"0x", "abc", "begin", "www"};
}

TEST(ParserFuzz, RandomRowsAreCutIntoCoveringTokens) {
  std::mt19937 rng(kSeed);
  TTestHost host;
  for (int iter = 0; iter < 20000; ++iter) {
    if (iter % 500 == 0) Configure(host, rng, false);
    const std::string row = RandomRow(rng, true);
    const int carried = (rng() % 3 == 0) ? static_cast<int>(rng() % 256) : toEof;
    const int bracket = static_cast<int>(rng() % 16) - 2;
    TEditorParser p(row, rng() % 8 ? &host : nullptr, bracket, carried);
    int end = 0;
    size_t count = 0;
    for (int k = p.Token(); k != toEof; k = p.NextToken()) {
      ASSERT_LE(++count, row.size() + 1) << "seed " << kSeed << " iteration " << iter;
      const int pos = p.SourcePos(), len = p.TokenLength();
      ASSERT_GE(pos, end) << "iteration " << iter;
      ASSERT_LE(pos + len, static_cast<int>(row.size())) << "iteration " << iter;
      if (len == 0) {
        ASSERT_TRUE(count == 1 && carried != toEof) << "empty token at " << pos << ", iteration " << iter;
      }
      for (int i = end; i < pos; ++i)
        ASSERT_TRUE(IsBlank(static_cast<unsigned char>(row[i]))) << "skipped byte " << i << ", iteration " << iter;
      p.TokenToEditorColor();
      p.IsReserveWord();
      end = pos + len;
    }
    for (size_t i = end; i < row.size(); ++i)
      ASSERT_TRUE(IsBlank(static_cast<unsigned char>(row[i]))) << "row left unread at " << i << ", iteration " << iter;
  }
}

// A descendant that overrides nothing takes the virtual path; the exact class
// takes its own quicker one. Both must cut every row alike.
class TPlainParser : public TEditorParser {
 public:
  using TEditorParser::TEditorParser;
};

TEST(ParserFuzz, ExactClassAndDescendantAgree) {
  std::mt19937 rng(kSeed + 2);
  TTestHost host;
  // Also one exact parser kept from row to row, as a painter keeps it. The
  // descendant is kept too: in its constructor it is not yet of its class,
  // so only past it is every token read by the virtual path.
  TEditorParser kept("");
  TPlainParser plain("");
  for (int iter = 0; iter < 20000; ++iter) {
    if (iter % 400 == 0) Configure(host, rng, iter % 800 == 0);
    const std::string row = RandomRow(rng, true);
    const int carried = (rng() % 4 == 0) ? static_cast<int>(rng() % 27) : toEof;
    const int bracket = static_cast<int>(rng() % 5) - 2;
    const IEditorParserHost* editor = rng() % 8 ? &host : nullptr;
    TEditorParser exact(row, editor, bracket, carried);
    plain.NewData(row, editor, bracket, carried);
    kept.NewData(row, editor, bracket, carried);
    for (;;) {
      ASSERT_EQ((TTok{exact.Token(), exact.SourcePos(), exact.TokenLength()}),
                (TTok{plain.Token(), plain.SourcePos(), plain.TokenLength()}))
          << "seed " << kSeed + 2 << " iteration " << iter;
      ASSERT_EQ((TTok{kept.Token(), kept.SourcePos(), kept.TokenLength()}),
                (TTok{plain.Token(), plain.SourcePos(), plain.TokenLength()}))
          << "seed " << kSeed + 2 << " iteration " << iter;
      ASSERT_EQ(exact.TokenToEditorColor(), plain.TokenToEditorColor()) << "iteration " << iter;
      ASSERT_EQ(kept.TokenToEditorColor(), plain.TokenToEditorColor()) << "iteration " << iter;
      ASSERT_EQ(exact.BracketIndex(), plain.BracketIndex()) << "iteration " << iter;
      ASSERT_EQ(kept.BracketIndex(), plain.BracketIndex()) << "iteration " << iter;
      if (exact.Token() == toEof) break;
      exact.NextToken();
      plain.NextToken();
      kept.NextToken();
    }
  }
}

// Reading again from any place after a token, with the pair state there,
// gives the tokens reading on gives: nothing looks back before a token, and
// no state but the place and the pair is carried from token to token. The
// places found from the bytes alone lie between tokens too, and a read from
// one stopped at another gives the tokens between them.
TEST(ParserFuzz, ResumingAfterAnyTokenReadsOnAlike) {
  std::mt19937 rng(kSeed + 4);
  TTestHost host;
  TEditorParser whole(""), resumed("");
  for (int iter = 0; iter < 3000; ++iter) {
    if (iter % 300 == 0) Configure(host, rng, iter % 600 == 0);
    // Without pairs, whose lead-byte brackets would stop most searches early.
    if (iter % 300 == 150) host.View.Brackets().Clear();
    std::string row = RandomRow(rng, false) + RandomRow(rng, false) + RandomRow(rng, false);
    if (iter % 4 == 0) row.insert(rng() % (row.size() + 1), 1, "\0\r\n"[rng() % 3]);
    const int carried = (rng() % 4 == 0) ? static_cast<int>(rng() % 27) : toEof;
    const int bracket = static_cast<int>(rng() % 5) - 2;
    whole.NewData(row, &host, bracket, carried);
    std::vector<TTok> tokens;
    std::vector<TEditorParser::TResumePoint> points;
    std::vector<int> pairs;
    for (int k = whole.Token(); k != toEof; k = whole.NextToken()) {
      tokens.push_back({k, whole.SourcePos(), whole.TokenLength()});
      points.push_back(whole.ResumePoint());
      pairs.push_back(whole.BracketIndex());
    }
    for (size_t i = 0; i < points.size(); ++i) {
      resumed.ResumeFrom(row, &host, points[i]);
      size_t j = i + 1;
      for (int k = resumed.Token(); k != toEof; k = resumed.NextToken(), ++j) {
        ASSERT_LT(j, tokens.size()) << "iteration " << iter << " resumed after token " << i;
        ASSERT_EQ((TTok{k, resumed.SourcePos(), resumed.TokenLength()}), tokens[j])
            << "iteration " << iter << " resumed after token " << i;
        ASSERT_EQ(resumed.BracketIndex(), pairs[j]) << "iteration " << iter;
      }
      ASSERT_EQ(j, tokens.size()) << "iteration " << iter << " resumed after token " << i;
    }
    for (int t = 0; t < 4; ++t) {
      const int n = static_cast<int>(row.size());
      const int col = static_cast<int>(rng() % (n + 1)), toCol = col + static_cast<int>(rng() % (n + 1 - col));
      const TEditorParser::TSync sync = whole.SyncAround(row, &host, bracket, carried, col, toCol);
      SCOPED_TRACE(testing::Message() << "iteration " << iter << " columns " << col << "-" << toCol << " places "
                                      << sync.From.Pos << "-" << sync.End);
      if (carried != toEof) {
        ASSERT_TRUE(sync.From.Pos < 0 && sync.End == n);
        continue;
      }
      ASSERT_TRUE(sync.From.Pos >= 0 && sync.From.Pos <= col && sync.From.BracketIndex == bracket);
      ASSERT_TRUE(sync.End > toCol || sync.End == n);
      std::vector<TTok> between;
      for (const TTok& k : tokens) {
        if (k.Pos >= sync.End) break;
        ASSERT_LE(k.Pos + k.Len, k.Pos < sync.From.Pos ? sync.From.Pos : sync.End) << k << " runs over a place";
        if (k.Pos >= sync.From.Pos) between.push_back(k);
      }
      resumed.ResumeFrom(row, &host, sync.From, sync.End);
      ASSERT_EQ(Drain(resumed), between);
    }
  }
}

// Kanji runs of every length up to past the quick path's step, ended in
// every way: the row's end, a lone lead byte, a lead byte and a trail byte
// that is no kanji lead, another kind, a NUL inside the row.
TEST(ParserFuzz, KanjiRunsOfEveryLengthAndEnd) {
  TTestHost host;
  const std::string ends[] = {"", "\x88", "\xE0\x41", "a", "あ", std::string("\0\x88\x9F", 3), "\x88\x88"};
  const std::string kanji[] = {"漢", "\x88\x9F", "\xFC\xFC", "\xE0\x88"};
  for (int n = 0; n <= 10; ++n) {
    for (const std::string& end : ends) {
      std::string row;
      for (int i = 0; i < n; ++i) row += kanji[i % 4];
      row += end;
      SCOPED_TRACE(testing::Message() << n << " kanji, end of " << end.size() << " bytes");
      TEditorParser exact("", &host, -1);
      exact.NewData(row, &host, -1, toEof);
      // Past its constructor, so that its first token too is read by the virtual path.
      TPlainParser plain("", &host, -1);
      plain.NewData(row, &host, -1, toEof);
      EXPECT_EQ(Drain(exact), Drain(plain));
      // Character by character: a kanji lead takes the byte after it unless
      // that is the NUL that ends the row.
      auto isKanji = [](unsigned char c) { return (c >= 0x88 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); };
      size_t run = 0;
      while (run < row.size() && isKanji(static_cast<unsigned char>(row[run])))
        run += (run + 1 < row.size() && row[run + 1] != 0) ? 2 : 1;
      exact.NewData(row, &host, -1, toEof);
      if (run > 0) {
        EXPECT_EQ((TTok{exact.Token(), exact.SourcePos(), exact.TokenLength()}),
                  (TTok{toDBKanji, 0, static_cast<int>(run)}));
      }
    }
  }
}

TEST(ParserFuzz, RowStatesStayInRangeAndConsistent) {
  std::mt19937 rng(kSeed + 1);
  TTestHost host;
  for (int doc = 0; doc < 300; ++doc) {
    Configure(host, rng, doc % 2 == 1);
    TTestRows rows;
    const int n = 1 + static_cast<int>(rng() % 40);
    for (int r = 0; r < n; ++r)
      rows.Rows.push_back({RandomRow(rng, false), r + 1 == n ? raEof : (rng() % 2 ? raWrapped : raCrlf)});
    const auto states = RowStates(rows, &host);
    for (int r = 0; r <= n; ++r) {
      auto [token, bracket] = states[r];
      SCOPED_TRACE(testing::Message() << "seed " << kSeed + 1 << " document " << doc << " row " << r);
      ASSERT_TRUE(token >= toEof && token <= toReserve && token != 2 && token != 5 && token != 10 && token != 13);
      ASSERT_GE(bracket, -1);
      ASSERT_LT(bracket, host.View.Brackets().Count());
      ASSERT_EQ(token == toBracket, bracket >= 0);
      if (r == n) break;
      // Painting the row in its state reads it to the end (or to a pair that never opens).
      TEditorParser p(rows.RowText(r), &host, bracket, token);
      ASSERT_LE(Drain(p).size(), rows.RowText(r).size() + 1);
    }
  }
}

}  // namespace
}  // namespace vel::test
