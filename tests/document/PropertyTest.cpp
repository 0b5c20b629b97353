// Random edit sequences against a plain model of the text: the document is
// one string with CR LF breaks, and an edit replaces the bytes of the rows it
// names by the edit's text with its breaks made CR LF.
#include <gtest/gtest.h>

#include <random>

#include "tests/document/TestClient.h"

namespace vel {
namespace {

using test::TTestClient;

std::string Normalized(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' || s[i] == '\n') {
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += s[i];
    }
  }
  return out;
}

size_t RowOffset(const TEditorScreenStrings& l, int row) {
  size_t n = 0;
  for (int r = 0; r < row; ++r) n += l.Rows().Get(r).size() + (l.Rows().GetRows(r) == raCrlf ? 2 : 0);
  return n;
}

struct TRandomText {
  std::mt19937& rng;
  std::string Piece() {
    static const char* const kPieces[] = {"a", "b", "x", "漢", "字", "ｶ", "ﾅ", "、", "。", "（", "）", "ー", "\t",
                                          " ", "\r\n", "\r", "\n", "{", "}", ",", "「", "\x82"};
    size_t k = rng() % 100;
    if (k < 3) return std::string(20 + rng() % 90, static_cast<char>('c' + rng() % 3));
    if (k < 30) return "a";
    if (k < 45) return "漢";
    return kPieces[rng() % (sizeof kPieces / sizeof *kPieces)];
  }
  std::string Text(size_t pieces, bool tabs) {
    std::string s;
    for (size_t i = 0; i < pieces; ++i) {
      std::string p = Piece();
      if (!tabs && p == "\t") p = " ";
      s += p;
    }
    return s;
  }
};

// Rows of a logical line as they would be cut from scratch.
std::vector<std::string> FreshCut(TEditorScreenStrings& l, const std::string& line) {
  TEditorStringList out;
  l.StrToWrapList(line, out);
  std::vector<std::string> r;
  for (int i = 0; i < out.Count(); ++i) r.push_back(out.Get(i));
  return r;
}

void CheckRows(TTestClient& client, const std::string& context) {
  TEditorScreenStrings& l = *client.List;
  const int n = l.Count();
  const int W = l.WrapOption().GetWrapByte();
  for (int r = 0; r < n; ++r) {
    TEditorRowAttribute a = l.Rows().GetRows(r);
    ASSERT_NE(a, raInvalid) << context;
    if (r < n - 1) {
      ASSERT_NE(a, raEof) << context << " row " << r;
    }
    if (!l.GetWordWrap()) {
      ASSERT_NE(a, raWrapped) << context;
    }
  }
  if (n > 0) {
    ASSERT_NE(l.Rows().GetRows(n - 1), raWrapped) << context;
  }
  if (!l.GetWordWrap()) return;
  for (int r = 0; r < n;) {
    int e = l.RowEnd(r);
    std::string line;
    for (int k = r; k <= e; ++k) line += l.Rows().Get(k);
    // No character is cut: each row boundary is a character boundary of the line.
    size_t at = 0, pos = 0;
    for (int k = r; k < e; ++k) {
      at += l.Rows().Get(k).size();
      while (pos < at) pos = sjis::NextChar(line, pos);
      ASSERT_EQ(pos, at) << context << " row " << k << " splits a character";
      ASSERT_FALSE(l.Rows().Get(k).empty()) << context << " empty wrapped row " << k;
    }
    for (int k = r; k <= e; ++k) {
      int width = static_cast<int>(ExpandTab(l.Rows().Get(k), client.Options()).size());
      ASSERT_LE(width, W + 2) << context << " row " << k;
    }
    // Cutting the line afresh gives the same rows, however it was edited.
    std::vector<std::string> rows;
    for (int k = r; k <= e; ++k) rows.push_back(l.Rows().Get(k));
    ASSERT_EQ(rows, FreshCut(l, line)) << context << " line at row " << r;
    r = e + 1;
  }
}

// Every computed row state equals the state a walk from the top gives.
void CheckStates(TTestClient& client, bool parser, const std::string& context) {
  TEditorScreenStrings& l = *client.List;
  test::TBraceParser p;
  int token = 0, bracket = -1;
  for (int r = 0; r < l.Count(); ++r) {
    if (!parser) {
      ASSERT_EQ(l.Rows().GetBrackets(r), -1) << context << " row " << r;
      ASSERT_EQ(l.Rows().GetTokens(r), 0) << context << " row " << r;
      continue;
    }
    if (l.Rows().GetBrackets(r) != -2) {
      ASSERT_EQ(l.Rows().GetBrackets(r), bracket) << context << " row " << r;
      ASSERT_EQ(l.Rows().GetTokens(r), token) << context << " row " << r;
    } else {
      ASSERT_EQ(l.Rows().GetTokens(r), 0) << context << " row " << r;
    }
    p.LastTokenBracket(r, l.Rows(), token, bracket);
  }
}

std::vector<std::string> RowTexts(const TEditorScreenStrings& l) {
  std::vector<std::string> r;
  for (int i = 0; i < l.Count(); ++i) r.push_back(l.Rows().Get(i) + char('0' + l.Rows().GetRows(i)));
  return r;
}

struct TConfig {
  bool wrap, parser, tabs;
};

void RunSequence(uint32_t seed, TConfig cfg) {
  std::mt19937 rng(seed);
  TRandomText gen{rng};
  TTestClient client;
  TEditorScreenStrings& l = *client.List;
  client.List->SetTabSpaceCount(1 + rng() % 8);
  client.List->SetScreenRows(1 + rng() % 12);
  TEditorWrapOption& wo = l.WrapOption();
  wo.SetWrapByte(20 + rng() % 40);
  wo.SetLeading(rng() % 2);
  wo.SetFollowPunctuation(rng() % 2);
  wo.SetWordBreak(rng() % 2);
  wo.SetFollowRetMark(rng() % 2);
  l.SetWordWrap(cfg.wrap);
  if (cfg.parser) l.SetParserClass(test::BraceParserClass());
  client.Lines.SetText(gen.Text(rng() % 60, cfg.tabs));
  if (rng() % 2 && l.Count() > 0) l.UpdateList(l.Count() - 1, 1, l.Rows().Get(l.Count() - 1));  // no final break
  l.UndoObj().Clear();
  l.UndoObj().SetUndoListMax(100000);

  const std::string original = l.Text();
  const auto originalRows = RowTexts(l);
  std::string model = original;
  std::vector<std::pair<int, int>> stamps;
  const std::string ctx0 = "seed " + std::to_string(seed);
  const int edits = 40;
  for (int step = 0; step < edits; ++step) {
    const std::string ctx = ctx0 + " step " + std::to_string(step);
    const int rows = l.Count();
    int index = static_cast<int>(rng() % (rows + 1));
    int count = static_cast<int>(rng() % (std::min(3, rows - index) + 1));
    std::string s = rng() % 6 == 0 ? std::string() : gen.Text(1 + rng() % 8, cfg.tabs);
    if (rng() % 25 == 0) index = rows + 1;  // out of range: nothing happens
    bool valid = index <= rows && index + count <= rows && !(count == 0 && s.empty());
    if (valid) {
      size_t from = RowOffset(l, index), to = RowOffset(l, index + count);
      model = model.substr(0, from) + Normalized(s) + model.substr(to);
    }
    client.Row = static_cast<int>(rng() % (rows + 1));
    client.Col = static_cast<int>(rng() % 10);
    bool recorded = l.UndoObj().UndoCount() + (valid ? 1 : 0) != l.UndoObj().UndoCount();
    if (recorded) stamps.push_back({client.Row, client.Col});
    l.UpdateList(index, count, s);
    ASSERT_EQ(l.Text(), model) << ctx;
    ASSERT_EQ(l.UndoObj().UndoCount(), static_cast<int>(stamps.size())) << ctx;
    ASSERT_NO_FATAL_FAILURE(CheckRows(client, ctx));
    ASSERT_NO_FATAL_FAILURE(CheckStates(client, cfg.parser, ctx));
  }
  const std::string final = l.Text();
  std::vector<std::pair<int, int>> undoStamps;
  while (l.UndoObj().CanUndo()) {
    auto expected = stamps.back();
    stamps.pop_back();
    client.Row = static_cast<int>(rng() % 5);
    client.Col = static_cast<int>(rng() % 5);
    undoStamps.push_back({client.Row, client.Col});
    l.Undo();
    ASSERT_EQ(client.Row, expected.first) << ctx0 << " undo caret";
    ASSERT_EQ(client.Col, expected.second) << ctx0 << " undo caret";
    ASSERT_NO_FATAL_FAILURE(CheckRows(client, ctx0 + " undo"));
    ASSERT_NO_FATAL_FAILURE(CheckStates(client, cfg.parser, ctx0 + " undo"));
  }
  ASSERT_EQ(l.Text(), original) << ctx0;
  ASSERT_EQ(RowTexts(l), originalRows) << ctx0;
  while (l.UndoObj().CanRedo()) {
    auto expected = undoStamps.back();
    undoStamps.pop_back();
    l.Redo();
    ASSERT_EQ(client.Row, expected.first) << ctx0 << " redo caret";
    ASSERT_EQ(client.Col, expected.second) << ctx0 << " redo caret";
    ASSERT_NO_FATAL_FAILURE(CheckRows(client, ctx0 + " redo"));
    ASSERT_NO_FATAL_FAILURE(CheckStates(client, cfg.parser, ctx0 + " redo"));
  }
  ASSERT_EQ(l.Text(), final) << ctx0;
}

TEST(Property, RandomEditsMatchTheModelAndUndoRedoRestoreTheBytes) {
  const TConfig configs[] = {{false, false, true}, {true, false, false}, {true, false, true},
                             {false, true, true},  {true, true, false},  {true, true, true}};
  uint32_t seed = 1000;
  for (const TConfig& cfg : configs) {
    for (int run = 0; run < 400; ++run) {
      RunSequence(seed++, cfg);
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

// Edits, undos and redos mixed: each undo gives back exactly the rows before
// its edit, and each redo the rows after it.
TEST(Property, InterleavedUndoAndRedoRestoreExactRows) {
  for (uint32_t seed = 7000; seed < 7400; ++seed) {
    std::mt19937 rng(seed);
    TRandomText gen{rng};
    TTestClient client;
    TEditorScreenStrings& l = *client.List;
    l.WrapOption().SetWrapByte(20 + rng() % 30);
    l.WrapOption().SetLeading(rng() % 2);
    l.WrapOption().SetWordBreak(rng() % 2);
    l.WrapOption().SetFollowPunctuation(rng() % 2);
    l.SetWordWrap(rng() % 3 != 0);
    if (rng() % 2) l.SetParserClass(test::BraceParserClass());
    client.Lines.SetText(gen.Text(rng() % 40, true));
    std::vector<std::vector<std::string>> past, future;
    const std::string ctx0 = "seed " + std::to_string(seed);
    for (int step = 0; step < 60; ++step) {
      const std::string ctx = ctx0 + " step " + std::to_string(step);
      size_t k = rng() % 10;
      if (k < 2 && l.UndoObj().CanUndo()) {
        future.push_back(RowTexts(l));
        l.Undo();
        ASSERT_EQ(RowTexts(l), past.back()) << ctx << " undo";
        past.pop_back();
      } else if (k < 4 && l.UndoObj().CanRedo()) {
        past.push_back(RowTexts(l));
        l.Redo();
        ASSERT_EQ(RowTexts(l), future.back()) << ctx << " redo";
        future.pop_back();
      } else {
        const int rows = l.Count();
        int index = static_cast<int>(rng() % (rows + 1));
        int count = static_cast<int>(rng() % (std::min(3, rows - index) + 1));
        std::string s = rng() % 5 == 0 ? std::string() : gen.Text(1 + rng() % 6, true);
        if (count == 0 && s.empty()) continue;
        past.push_back(RowTexts(l));
        future.clear();
        l.UpdateList(index, count, s);
        ASSERT_FALSE(l.UndoObj().CanRedo()) << ctx;
      }
      ASSERT_EQ(l.UndoObj().UndoCount(), static_cast<int>(past.size())) << ctx;
      ASSERT_EQ(l.UndoObj().RedoCount(), static_cast<int>(future.size())) << ctx;
      ASSERT_NO_FATAL_FAILURE(CheckRows(client, ctx));
      ASSERT_NO_FATAL_FAILURE(CheckStates(client, l.GetParserClass() != nullptr, ctx));
    }
  }
}

TEST(Property, WrapSwitchesAndOptionChangesKeepTheText) {
  for (uint32_t seed = 5000; seed < 5150; ++seed) {
    std::mt19937 rng(seed);
    TRandomText gen{rng};
    TTestClient client;
    TEditorScreenStrings& l = *client.List;
    l.SetParserClass(test::BraceParserClass());
    client.Lines.SetText(gen.Text(rng() % 80, true));
    const std::string text = l.Text();
    const std::string ctx = "seed " + std::to_string(seed);
    for (int step = 0; step < 8; ++step) {
      switch (rng() % 4) {
        case 0: l.SetWordWrap(!l.GetWordWrap()); break;
        case 1: l.WrapOption().SetWrapByte(20 + rng() % 60); break;
        case 2: l.WrapOption().SetLeading(!l.WrapOption().GetLeading()); break;
        default: l.WrapOption().SetFollowPunctuation(!l.WrapOption().GetFollowPunctuation()); break;
      }
      ASSERT_EQ(l.Text(), text) << ctx;
      ASSERT_FALSE(l.UndoObj().CanUndo()) << ctx;
      ASSERT_NO_FATAL_FAILURE(CheckRows(client, ctx));
      ASSERT_NO_FATAL_FAILURE(CheckStates(client, true, ctx));
    }
  }
}

}  // namespace
}  // namespace vel
