// Search, replace and emphasis of TEditorEx: a table of the cases that catch
// real faults, what emphasis paints, and one property test against a plain
// reference search.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/EditorEx.h"
#include "platform/headless/Headless.h"
#include "platform/headless/HeadlessWindow.h"
#include "regexp/RegExpChar.h"
#include "text/Sjis.h"

namespace vel::test {
namespace {

struct TExHost {
  TExHost() : Window(Editor, TRect{0, 0, 640, 480}) { Window.SetFocus(); }
  void Load(const std::string& text) {
    Editor.Lines().Clear();
    if (!text.empty()) Editor.ScreenStrings().UpdateList(0, 0, text);
    Editor.UndoObj().Clear();
    Editor.SetRowCol(0, 0);
  }
  std::string Text() { return Editor.Lines().GetText(); }
  TEditorEx Editor;
  headless::THeadlessWindow Window;
};

struct EditorFind : ::testing::Test {
  void SetUp() override { headless::Reset(); }
};

constexpr TSearchOptions kNone{};
constexpr TSearchOptions kCase{soMatchCase};
constexpr TSearchOptions kWord{soWholeWord, soMatchCase};
constexpr TSearchOptions kRe{soRegexp};
constexpr TSearchOptions kFuzzy{soFuzzy};

struct TFindCase {
  const char* Name;
  std::string Text, Pattern;
  int Start;
  TSearchOptions Options;
  int Pos, Length;
};

TEST_F(EditorFind, FindTable) {
  const TFindCase cases[] = {
      {"NoWrapAround", "abc xyz", "abc", 3, kNone, -1, 0},
      {"NextLine", "ab\r\ncab", "ab", 1, kNone, 5, 2},
      {"WholeWordGoesOnPastARejectedOne", "abcd abc", "abc", 0, kWord, 5, 3},
      {"WholeWordNeedsBlanksOnBothSides", "xabc abcx", "abc", 0, kWord, -1, 0},
      {"WholeWordTabIsABlank", "d\tabc\tx", "abc", 0, kWord, 2, 3},
      {"CaseFolded", "xABC", "abc", 0, kNone, 1, 3},
      {"MatchCase", "ABC abc", "abc", 0, kCase, 4, 3},
      {"EscapeLoweredWithoutMatchCase", "xa", "\\X41", 0, kRe, 1, 1},
      {"EscapeFindsTheCapitalToo", "xA", "\\X41", 0, kRe, 1, 1},
      {"ClassLoweredWithoutMatchCase", "1b", "[A-Z]", 0, kRe, 1, 1},
      {"FuzzyHalfWidthFindsHiragana", "xが", "ｶﾞ", 0, kFuzzy, 1, 2},
      {"FuzzyHalfWidthFindsKatakanaWithMark", "xカ゛", "ｶﾞ", 0, kFuzzy, 1, 4},
      {"EmptyMatchIsSkippedNotReported", "ab\r\ncx", "x*", 0, kRe, 5, 1},
      {"OnlyEmptyMatchesIsNotFound", "ab", "x*", 0, kRe, -1, 0},
      {"TrailByteIsNotACharacter", "ア", "A", 0, kCase, -1, 0},
      {"TrailByteIsNotLowered", "アa", "a", 0, kNone, 2, 1},
      {"MidLineIsNoLineHead", "bb", "^b", 1, kRe, -1, 0},
      {"LineHeadOnTheNextLine", "ab\r\nb", "^b", 1, kRe, 4, 1},
      {"LineTailBeforeTheBreak", "ab\r\nab", "b$", 0, kRe, 1, 1},
      {"NewlineSearchesTheWholeText", "ab\r\ncd", "b\\r\\nc", 0, kRe, 1, 4},
  };
  for (const TFindCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TExHost h;
    h.Load(c.Text);
    int len = -1;
    EXPECT_EQ(h.Editor.Find(c.Pattern, c.Start, len, c.Options), c.Pos);
    EXPECT_EQ(len, c.Length);
    EXPECT_TRUE(h.Editor.Finding());
    if (c.Pos >= 0) {
      EXPECT_EQ(h.Editor.SelStart(), c.Pos);
      EXPECT_EQ(h.Editor.SelLength(), c.Length);
    }
  }
}

// A URL shows the hand under the pointer and opens on a click, not on a
// drag or a click elsewhere; a double click selects the token.
TEST_F(EditorFind, AClickOnAUrlOpensItAndADoubleClickSelectsTheToken) {
  TExHost h;
  h.Editor.View().SetUrl(true);
  h.Load("see http://a.jp/x now");
  auto at = [&](int offset) {
    TMessage m{0x00D6 /* EM_POSFROMCHAR */, static_cast<std::uintptr_t>(offset), 0, 0};
    h.Editor.HandleMessage(m);
    return std::pair<int, int>{static_cast<int>(m.Result & 0xFFFF) + 2, static_cast<int>((m.Result >> 16) & 0xFFFF) + 2};
  };
  auto [ux, uy] = at(8);
  auto [wx, wy] = at(1);
  h.Window.SendMouseMove(ux, uy);
  EXPECT_EQ(h.Window.Cursor, crHandPoint);
  h.Window.SendMouseMove(wx, wy);
  EXPECT_NE(h.Window.Cursor, crHandPoint);
  h.Window.SendMouseDown(mbLeft, wx, wy);
  h.Window.SendMouseUp(mbLeft, wx, wy);
  EXPECT_TRUE(headless::OpenedWithDesktop().empty());
  h.Window.SendMouseDown(mbLeft, ux, uy);
  h.Window.SendMouseUp(mbLeft, ux, uy);
  EXPECT_EQ(headless::OpenedWithDesktop(), std::vector<std::string>{"http://a.jp/x"});
  h.Window.SendMouseDown(mbLeft, wx, wy, ssDouble);
  h.Window.SendMouseUp(mbLeft, wx, wy);
  EXPECT_EQ(h.Editor.SelText(), "see");
  EXPECT_EQ(headless::OpenedWithDesktop().size(), 1u);
}

TEST_F(EditorFind, FindPrevTakesTheLastMatchBeforeTheCaret) {
  TExHost h;
  h.Load("ab\r\ncd xabcx");
  int len;
  h.Editor.Find("abc", 0, len, kNone);
  // Across lines back to the first, and a match that runs past the caret.
  EXPECT_EQ(h.Editor.FindPrev(9, len), 8);
  EXPECT_EQ(len, 3);
  h.Editor.SetFindText("b");
  EXPECT_EQ(h.Editor.FindPrev(8, len), 1);
  EXPECT_EQ(h.Editor.SelText(), "b");
  EXPECT_EQ(h.Editor.FindPrev(1, len), -1);
  EXPECT_EQ(len, 0);
}

TEST_F(EditorFind, ReplaceAllCountsAndIsOneUndoStep) {
  struct {
    std::string Text, From, To, Result;
    int Count;
  } cases[] = {
      {"aaaa", "aa", "a", "aa", 2},
      {"aa", "a", "aa", "aaaa", 2},
      {"xa\r\nAy\r\n", "a", "あ", "xあ\r\nあy\r\n", 2},
      {"ab\r\ncd", "b\\r\\nc", "-", "a-d", 1},
      {"q\r\nxa\r\nq", "a", "b", "q\r\nxb\r\nq", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text + " " + c.From);
    TExHost h;
    h.Load(c.Text);
    const TSearchOptions o = c.From.find('\\') != std::string::npos ? kRe : kNone;
    EXPECT_EQ(h.Editor.ReplaceAll(c.From, c.To, o), c.Count);
    EXPECT_EQ(h.Text(), c.Result);
    h.Editor.Undo();
    EXPECT_EQ(h.Text(), c.Text);
  }
}

TEST_F(EditorFind, ReplaceReplacesTheMatchAtOrAfterTheCaretAndSelectsIt) {
  TExHost h;
  h.Load("one two two");
  int len;
  EXPECT_EQ(h.Editor.Replace("two", "2", 5, len, kNone), 8);
  EXPECT_EQ(h.Text(), "one two 2");
  EXPECT_EQ(h.Editor.SelText(), "2");
}

TEST_F(EditorFind, AReadOnlyTextIsSearchedButNotReplaced) {
  TExHost h;
  h.Load("a b a");
  h.Editor.SetReadOnly(true);
  int len;
  EXPECT_EQ(h.Editor.ReplaceAll("a", "x", kNone), 0);
  EXPECT_EQ(h.Editor.Replace("a", "x", 1, len, kNone), 4);
  EXPECT_EQ(h.Text(), "a b a");
  EXPECT_EQ(h.Editor.SelText(), "a");
}

TEST_F(EditorFind, ABadPatternRaisesAndChangesNothing) {
  TExHost h;
  h.Load("a(b");
  int len;
  h.Editor.SetSelStart(1);
  h.Editor.SetSelLength(1);
  EXPECT_THROW(h.Editor.Find("(", 0, len, kRe), ERegExpParser);
  EXPECT_THROW(h.Editor.ReplaceAll("(", "x", kRe), ERegExpParser);
  EXPECT_THROW(h.Editor.Replace("[", "x", 0, len, kRe), ERegExpParser);
  EXPECT_EQ(h.Text(), "a(b");
  EXPECT_EQ(h.Editor.SelText(), "(");
  EXPECT_FALSE(h.Editor.Finding());
}

std::vector<headless::TDrawCall> PaintAll(TExHost& h) {
  h.Window.PaintInvalid();
  h.Window.Drawn.clear();
  h.Window.Invalidate(nullptr);
  h.Window.PaintInvalid();
  return h.Window.Drawn;
}

// The text outputs in the find colours.
std::vector<headless::TDrawCall> Emphasised(TExHost& h) {
  std::vector<headless::TDrawCall> r;
  for (const auto& c : PaintAll(h))
    if (c.What == headless::TDrawCall::kText &&
        (c.Bg == h.Editor.FindColor().BkColor() || c.Fg == h.Editor.FindColor().BkColor()))
      r.push_back(c);
  return r;
}

TEST_F(EditorFind, EmphasisPaintsEveryMatchUntilCancelled) {
  constexpr int L = 19, W = 6;
  TExHost h;
  h.Load("ab\tab\r\nxab");
  int len;
  h.Editor.Find("ab", 0, len, kNone);
  const auto e = Emphasised(h);
  // Selected match: colours swapped; the tab takes columns 2 to 7.
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].Text, "ab");
  EXPECT_EQ(e[0].Fg, h.Editor.FindColor().BkColor());
  EXPECT_EQ(e[0].X, L);
  EXPECT_EQ(e[1].Text, "ab");
  EXPECT_EQ(e[1].X, L + 8 * W);
  EXPECT_EQ(e[1].Bg, h.Editor.FindColor().BkColor());
  EXPECT_EQ(e[2].X, L + 1 * W);
  h.Editor.FindCancel();
  EXPECT_TRUE(Emphasised(h).empty());
}

TEST_F(EditorFind, AMatchCutByTheWrapIsEmphasisedOnBothRows) {
  constexpr int T = 2, H = 12;
  TExHost h;
  h.Editor.WrapOption().SetWrapByte(20);
  h.Editor.SetWordWrap(true);
  h.Load("あいうえおかきくけこさしすせそたちつてと");
  ASSERT_GE(h.Editor.ListCount(), 2);
  const std::string a = h.Editor.ListStr(0), b = h.Editor.ListStr(1);
  const std::string across = a.substr(a.size() - 2) + b.substr(0, 2);
  int len;
  ASSERT_EQ(h.Editor.Find(across, 0, len, kNone), static_cast<int>(a.size()) - 2);
  h.Editor.SetSelStart(0);
  bool top = false, next = false;
  for (const auto& c : Emphasised(h)) {
    top |= c.Y == T && c.Text == a.substr(a.size() - 2);
    next |= c.Y == T + H && c.Text == b.substr(0, 2);
  }
  EXPECT_TRUE(top);
  EXPECT_TRUE(next);
}

TEST_F(EditorFind, EmphasisOfAPatternThatDoesNotCompileSwitchesItselfOff) {
  TExHost h;
  h.Load("a(b");
  int len;
  h.Editor.Find("a", 0, len, kRe);
  h.Editor.SetFindText("(");
  EXPECT_TRUE(Emphasised(h).empty());
  EXPECT_FALSE(h.Editor.Finding());
}

TEST_F(EditorFind, ExtraMarksArrowTabsBoxWideSpacesAndColourQuotedLines) {
  constexpr int L = 19, T = 2, W = 6, H = 12;
  TExHost h;
  h.Load("a\tb　c\r\n> quoted");
  h.Editor.ExMarks().TabMark().SetColor(clRed);
  h.Editor.ExMarks().TabMark().SetVisible(true);
  h.Editor.ExMarks().DBSpaceMark().SetColor(clBlue);
  h.Editor.ExMarks().DBSpaceMark().SetVisible(true);
  h.Editor.ExMarks().Quotation().SetColor(clGreen);
  h.Editor.ExMarks().Quotation().SetVisible(true);
  h.Editor.ExMarks().SetQuoteChar(">");
  bool arrow = false, box = false, quoted = false;
  for (const auto& c : PaintAll(h)) {
    if (c.What == headless::TDrawCall::kLine && c.Fg == clRed && c.Rect.Left == L + W && c.Rect.Top == T + H / 2 &&
        c.Rect.Right == L + 2 * W - 1)
      arrow = true;
    if (c.What == headless::TDrawCall::kText && c.Text == "□" && c.Fg == clBlue && c.X == L + 9 * W) box = true;
    if (c.What == headless::TDrawCall::kText && c.Text == "> quoted" && c.Fg == clGreen && c.Y == T + H) quoted = true;
  }
  EXPECT_TRUE(arrow);
  EXPECT_TRUE(box);
  EXPECT_TRUE(quoted);
}

TEST_F(EditorFind, AGuideLineScrollsWithTheTextAndGoesLeftOfTheMargin) {
  constexpr int L = 19, W = 6;
  TExHost h;
  h.Load(std::string(200, 'x'));
  TVerticalLine& v = h.Editor.VerticalLines().Add();
  v.SetPosition(80);
  v.SetColor(clRed);
  auto guideX = [&] {
    int x = -1;
    for (const auto& c : PaintAll(h))
      if (c.What == headless::TDrawCall::kLine && c.Fg == clRed) x = c.Rect.Left;
    return x;
  };
  EXPECT_EQ(guideX(), L + 80 * W);
  h.Editor.SetTopCol(10);
  EXPECT_EQ(guideX(), L + 70 * W);
  h.Editor.SetTopCol(81);
  EXPECT_EQ(guideX(), -1);
  h.Editor.SetTopCol(0);
  h.Editor.VerticalLines().Hide();
  EXPECT_EQ(guideX(), -1);
}

TEST_F(EditorFind, WithoutSelAfterLFTheSelectionStopsAfterTheLineBreakColumn) {
  constexpr int L = 19, W = 6;
  TExHost h;
  h.Load("ab\r\ncd");
  h.Editor.SetSelStart(0);
  h.Editor.SetSelLength(5);
  auto blanked = [&] {
    for (const auto& c : PaintAll(h))
      if (c.What == headless::TDrawCall::kFill && c.Rect.Left == L + 3 * W && c.Bg == h.Editor.Color()) return true;
    return false;
  };
  EXPECT_TRUE(blanked());
  h.Editor.SetSelAfterLF(true);
  EXPECT_FALSE(blanked());
}

// ---- The property: Find, FindPrev and ReplaceAll against a plain search.

// Characters as strings, the CR LF of the text split away.
std::vector<std::string> Chars(const std::string& s) {
  std::vector<std::string> r;
  for (size_t i = 0; i < s.size();) {
    const size_t n = sjis::CharLen(s, i);
    r.push_back(s.substr(i, n));
    i += n;
  }
  return r;
}

std::string Lower(const std::string& s) {
  std::string r;
  for (const std::string& c : Chars(s))
    r += c.size() == 1 ? std::string(1, static_cast<char>(sjis::AsciiLower(static_cast<unsigned char>(c[0])))) : c;
  return r;
}

// A pattern of atoms ("a", ".", "[ab]", "ア"), each perhaps starred.
struct TAtom {
  std::string Text;
  bool Star;
};

struct TRefPattern {
  bool Regex;
  std::vector<TAtom> Atoms;  // a literal: one atom per character, none starred
  std::string Source() const {
    std::string s;
    for (const TAtom& a : Atoms) s += a.Text + (a.Star ? "*" : "");
    return s;
  }
};

bool AtomMatches(const TAtom& a, const std::string& c, bool regex) {
  if (!regex) return a.Text == c;
  if (a.Text == ".") return true;
  if (a.Text == "[ab]") return c == "a" || c == "b";
  return a.Text == c;
}

// Longest match end (in characters) from i, -1 for none.
int LongestFrom(const TRefPattern& p, const std::vector<std::string>& ch, size_t i) {
  const size_t n = p.Atoms.size();
  std::vector<bool> set(n + 1);
  auto close = [&] {
    for (size_t k = 0; k < n; ++k)
      if (set[k] && p.Atoms[k].Star) set[k + 1] = true;
  };
  set[0] = true;
  close();
  int best = set[n] ? static_cast<int>(i) : -1;
  for (size_t j = i; j < ch.size(); ++j) {
    std::vector<bool> next(n + 1);
    bool any = false;
    for (size_t k = 0; k < n; ++k)
      if (set[k] && AtomMatches(p.Atoms[k], ch[j], p.Regex)) next[p.Atoms[k].Star ? k : k + 1] = any = true;
    if (!any) break;
    set = next;
    close();
    if (set[n]) best = static_cast<int>(j + 1);
  }
  return best;
}

bool Blank(const std::string& c) { return c.size() == 1 && c[0] >= 1 && c[0] <= 32; }

// Matches of one line as (byte start, byte length), left to right, no overlap.
// From byte From (a character boundary) on.
std::vector<std::pair<int, int>> RefMatches(const TRefPattern& p, const std::string& line, bool word, int From = 0) {
  const std::vector<std::string> ch = Chars(line);
  std::vector<int> at(ch.size() + 1, 0);
  for (size_t i = 0; i < ch.size(); ++i) at[i + 1] = at[i] + static_cast<int>(ch[i].size());
  std::vector<std::pair<int, int>> r;
  size_t i0 = 0;
  while (at[i0] < From) ++i0;
  for (size_t i = i0; i < ch.size();) {
    const int e = LongestFrom(p, ch, i);
    const bool ok = e > static_cast<int>(i) &&
                    (!word || ((i == 0 || Blank(ch[i - 1])) && (e == static_cast<int>(ch.size()) || Blank(ch[e]))));
    if (ok) {
      r.push_back({at[i], at[e] - at[i]});
      i = e;
    } else {
      ++i;
    }
  }
  return r;
}

TEST_F(EditorFind, PropertyAgreesWithAPlainSearch) {
  const char* pieces[] = {"a", "b", "A", "ア", "あ", "\t", " ", "\r\n", "ab"};
  const char* atoms[] = {"a", "b", ".", "[ab]", "ア"};
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
    std::string text;
    for (int i = pick(40); i > 0; --i) text += pieces[pick(9)];
    TRefPattern p;
    p.Regex = pick(2) == 0;
    if (p.Regex) {
      for (int i = 1 + pick(3); i > 0; --i) p.Atoms.push_back({atoms[pick(5)], pick(3) == 0});
    } else {
      for (int i = 1 + pick(2); i > 0; --i)
        for (const std::string& c : Chars(pieces[pick(5)])) p.Atoms.push_back({c, false});
    }
    TSearchOptions o;
    if (pick(2)) o.Include(soMatchCase);
    if (pick(3) == 0) o.Include(soWholeWord);
    if (p.Regex) o.Include(soRegexp);
    if (!o.Contains(soMatchCase))
      for (TAtom& a : p.Atoms) a.Text = Lower(a.Text);

    // The reference: every match of every line, as text offsets.
    std::vector<std::pair<int, int>> all;
    std::vector<std::pair<int, std::string>> lines;  // offset, subject
    std::string expectReplaced;
    int offset = 0;
    for (size_t b = 0;;) {
      const size_t e = text.find("\r\n", b);
      const std::string line = text.substr(b, e == std::string::npos ? std::string::npos : e - b);
      const std::string subject = o.Contains(soMatchCase) ? line : Lower(line);
      lines.push_back({offset, subject});
      int from = 0;
      for (auto [s, n] : RefMatches(p, subject, o.Contains(soWholeWord))) {
        all.push_back({offset + s, n});
        expectReplaced += line.substr(static_cast<size_t>(from), static_cast<size_t>(s - from)) + "Z";
        from = s + n;
      }
      expectReplaced += line.substr(static_cast<size_t>(from));
      if (e == std::string::npos) break;
      expectReplaced += "\r\n";
      offset += static_cast<int>(line.size()) + 2;
      b = e + 2;
    }
    const std::string pattern = p.Source();

    for (int wrap = 0; wrap < 2; ++wrap) {
      SCOPED_TRACE(wrap ? "wrap" : "no wrap");
      TExHost h;
      if (wrap) {
        h.Editor.WrapOption().SetWrapByte(7);
        h.Editor.SetWordWrap(true);
      }
      h.Load(text);
      ASSERT_EQ(h.Text(), text);
      // Starts: every character boundary of the text.
      std::vector<int> starts;
      for (size_t i = 0; i <= text.size(); i = i < text.size() ? sjis::NextChar(text, i) : i + 1)
        if (i == 0 || text[i - 1] != '\r') starts.push_back(static_cast<int>(i));
      for (int s : starts) {
        int expPos = -1, expLen = 0, prevPos = -1, prevLen = 0;
        for (auto [m, n] : all)
          if (m < s) prevPos = m, prevLen = n;
        // Forward, the line of the start is searched from the start itself.
        for (const auto& [at, subject] : lines) {
          const int end = at + static_cast<int>(subject.size());
          if (end < s) continue;
          const auto m = RefMatches(p, subject, o.Contains(soWholeWord), std::max(s - at, 0));
          if (!m.empty()) {
            expPos = at + m[0].first, expLen = m[0].second;
            break;
          }
        }
        int len = -1;
        ASSERT_EQ(h.Editor.Find(pattern, s, len, o), expPos) << "Find '" << pattern << "' from " << s << " in '" << text << "'";
        ASSERT_EQ(len, expLen);
        ASSERT_EQ(h.Editor.FindPrev(s, len), prevPos) << "FindPrev '" << pattern << "' from " << s;
        ASSERT_EQ(len, prevLen);
      }
      EXPECT_EQ(h.Editor.ReplaceAll(pattern, "Z", o), static_cast<int>(all.size()));
      EXPECT_EQ(h.Text(), expectReplaced);
      h.Editor.Undo();
      EXPECT_EQ(h.Text(), text);
    }
  }
}

}  // namespace
}  // namespace vel::test
