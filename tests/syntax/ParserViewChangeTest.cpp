// A parser kept from row to row sees each change of its control's view at the
// next NewData, however the change was made.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "tests/syntax/ParserTestHost.h"

namespace vel::test {
namespace {

// Overrides nothing, so it takes the virtual path, which reads the view afresh
// (past its constructor, in which the object is not yet of its class).
class TPlainParser : public TEditorParser {
 public:
  using TEditorParser::TEditorParser;
};

struct TColored {
  TTok Tok;
  const TEditorColor* Color;
  bool operator==(const TColored&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TColored& t) { return os << t.Tok; }

std::vector<TColored> Paint(TEditorParser& p) {
  std::vector<TColored> out;
  for (int k = p.Token(); k != toEof; k = p.NextToken())
    out.push_back({{k, p.SourcePos(), p.TokenLength()}, p.TokenToEditorColor()});
  return out;
}

const std::string kRow = "<a> x@y.z http://q ;c 'q' #$1F #7 0x1F";

TEST(ParserViewChange, ChangeBetweenRowsIsSeenByTheNextNewData) {
  struct {
    const char* Name;
    std::function<void(TTestHost&)> Change;
  } cases[] = {
      {"mail", [](TTestHost& h) { h.View.SetMail(true); }},
      {"url", [](TTestHost& h) { h.View.SetUrl(true); }},
      {"commenter", [](TTestHost& h) { h.View.SetCommenter(";"); }},
      {"quotation", [](TTestHost& h) { h.View.SetQuotation("'"); }},
      {"control code", [](TTestHost& h) { h.View.SetControlCode(true); }},
      {"hex prefix", [](TTestHost& h) { h.View.SetHexPrefix("0x"); }},
      {"switch inside a view update",
       [](TTestHost& h) {
         h.View.BeginUpdate();
         h.View.SetUrl(true);
       }},
      {"pair added", [](TTestHost& h) { h.AddBracket("x", "z"); }},
      {"left bracket inside an item update",
       [](TTestHost& h) {
         TEditorBracketItem& item = h.View.Brackets().BracketItems(0);
         item.BeginUpdate();
         item.SetLeftBracket("[");
       }},
      {"pairs cleared inside a collection update",
       [](TTestHost& h) {
         h.View.Brackets().BeginUpdate();
         h.View.Brackets().Clear();
       }},
      {"view assigned",
       [](TTestHost& h) {
         TEditorViewInfo other;
         other.SetMail(true);
         other.SetCommenter(";");
         h.View.Assign(other);
       }},
      {"reserve word", [](TTestHost& h) { h.Words = {"http"}; }},
      {"view removed", [](TTestHost& h) { h.HasView = false; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTestHost host;
    host.AddBracket("<", ">");
    TEditorParser kept("", &host, -1);
    kept.NewData(kRow, &host, -1, toEof);
    const std::vector<TColored> before = Paint(kept);
    c.Change(host);
    kept.NewData(kRow, &host, -1, toEof);
    TPlainParser fresh("", &host, -1);
    fresh.NewData(kRow, &host, -1, toEof);
    const std::vector<TColored> after = Paint(kept);
    EXPECT_EQ(after, Paint(fresh));
    EXPECT_NE(after, before);
  }
}

struct TReplaceableHost : IEditorParserHost {
  std::optional<TEditorViewInfo> View{std::in_place};
  std::vector<std::string> Words;
  const TEditorViewInfo* ParserView() const override { return &*View; }
  const std::vector<std::string>& ReserveWordList() const override { return Words; }
};

TEST(ParserViewChange, NewViewInThePlaceOfTheOldIsSeen) {
  TReplaceableHost host;
  TEditorParser kept("", &host, -1);
  kept.NewData(kRow, &host, -1, toEof);
  const std::vector<TColored> before = Paint(kept);
  const TEditorViewInfo* old = &*host.View;
  host.View.emplace();
  ASSERT_EQ(&*host.View, old);
  host.View->SetMail(true);
  kept.NewData(kRow, &host, -1, toEof);
  TPlainParser fresh("", &host, -1);
  fresh.NewData(kRow, &host, -1, toEof);
  const std::vector<TColored> after = Paint(kept);
  EXPECT_EQ(after, Paint(fresh));
  EXPECT_NE(after, before);
}

}  // namespace
}  // namespace vel::test
