// Token colours, bracket pairs and the view's switches.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/ChangeCounter.h"
#include "syntax/EditorViewInfo.h"

namespace vel {
namespace {

using test::TChanges;

std::vector<TEditorColor*> TokenColors(TEditorColors& c) {
  return {&c.Ank(), &c.Comment(), &c.DBCS(), &c.Int(), &c.Mail(), &c.Reserve(), &c.Str(), &c.Symbol(), &c.Url()};
}

TEST(ViewColors, SameOperationsLeaveSelectAloneAndReportOneChange) {
  TEditorColors colors;
  EXPECT_TRUE(IsSystemColor(colors.Ank().BkColor()));
  EXPECT_EQ(colors.Select().BkColor(), 0x800000);
  EXPECT_EQ(colors.Select().Color(), 0xFFFFFF);
  TChanges changes(colors);
  colors.SameColor(clRed);
  EXPECT_EQ(changes.Count, 1);
  colors.SameBkColor(clYellow);
  colors.SameStyle({fsBold, fsUnderline});
  EXPECT_EQ(changes.Count, 3);
  for (TEditorColor* c : TokenColors(colors)) {
    EXPECT_EQ(c->Color(), clRed);
    EXPECT_EQ(c->BkColor(), clYellow);
    EXPECT_EQ(c->Style(), (TFontStyles{fsBold, fsUnderline}));
  }
  EXPECT_EQ(colors.Select().Color(), clWhite);
  EXPECT_EQ(colors.Select().BkColor(), clNavy);
  EXPECT_TRUE(colors.Select().Style().Empty());
}

TEST(ViewColors, ColourChangesAndAssign) {
  TEditorColor color;
  TChanges colorChanges(color);
  color.SetColor(clWindowText);
  color.SetStyle({});
  color.SetBkColor(clAqua);
  EXPECT_EQ(colorChanges.Count, 1);

  TEditorColors source, target;
  source.Url().SetColor(clBlue);
  source.Url().SetStyle({fsUnderline});
  source.Select().SetBkColor(clHighlight);
  source.Comment().SetBkColor(clSilver);
  TChanges changes(target);
  target.Mail().SetColor(clGreen);
  EXPECT_EQ(changes.Count, 1);
  EXPECT_TRUE(target.Assign(source));
  EXPECT_EQ(changes.Count, 2);
  EXPECT_EQ(target.Url().Color(), clBlue);
  EXPECT_TRUE(target.Url().Style().Contains(fsUnderline));
  EXPECT_EQ(target.Select().BkColor(), clHighlight);
  EXPECT_EQ(target.Comment().BkColor(), clSilver);
  EXPECT_EQ(target.Mail().Color(), clWindowText);
  target.SetReserve(source.Url());
  EXPECT_EQ(target.Reserve().Color(), clBlue);
  EXPECT_EQ(changes.Count, 3);
}

TEST(ViewBrackets, FourteenPairsAtMost) {
  TEditorBracketCollection brackets;
  TChanges changes(brackets);
  for (int i = 0; i < 14; ++i) brackets.Add().SetLeftBracket(std::string(1, static_cast<char>('a' + i)));
  EXPECT_EQ(brackets.Count(), 14);
  EXPECT_EQ(changes.Count, 28);
  try {
    brackets.Add();
    FAIL() << "a fifteenth pair was added";
  } catch (const EBracketCollectionError& e) {
    EXPECT_STREQ(e.what(), "TEditorBracketCollection\r\nYou can not add item over 14");
  }
  EXPECT_EQ(brackets.Count(), 14);
  EXPECT_EQ(brackets.BracketItems(13).LeftBracket(), "n");
  EXPECT_THROW(brackets.BracketItems(14), std::out_of_range);
  EXPECT_THROW(brackets.BracketItems(-1), std::out_of_range);
}

TEST(ViewBrackets, ItemChangesAndSameOperationsReachTheCollectionOnce) {
  TEditorBracketCollection brackets;
  brackets.Add();
  brackets.Add();
  TChanges changes(brackets);
  brackets.BracketItems(0).SetRightBracket("*/");
  brackets.BracketItems(0).SetRightBracket("*/");
  brackets.BracketItems(1).ItemColor().SetColor(clRed);
  EXPECT_EQ(changes.Count, 2);
  brackets.SameColor(clGreen);
  brackets.SameBkColor(clBlack);
  brackets.SameStyle({fsItalic});
  EXPECT_EQ(changes.Count, 5);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(brackets.BracketItems(i).ItemColor().Color(), clGreen);
    EXPECT_EQ(brackets.BracketItems(i).ItemColor().BkColor(), clBlack);
    EXPECT_TRUE(brackets.BracketItems(i).ItemColor().Style().Contains(fsItalic));
  }
  brackets.Delete(0);
  EXPECT_EQ(brackets.Count(), 1);
  EXPECT_EQ(changes.Count, 6);
}

TEST(ViewBrackets, AssignReplacesTheItemsInOrder) {
  TEditorBracketCollection source, target;
  TEditorBracketItem& a = source.Add();
  a.SetLeftBracket("/*");
  a.SetRightBracket("*/");
  a.ItemColor().SetColor(clGreen);
  source.Add().SetLeftBracket("{");
  target.Add();
  target.Add();
  target.Add();
  TChanges changes(target);
  EXPECT_TRUE(target.Assign(source));
  EXPECT_EQ(changes.Count, 1);
  ASSERT_EQ(target.Count(), 2);
  EXPECT_EQ(target.BracketItems(0).LeftBracket(), "/*");
  EXPECT_EQ(target.BracketItems(0).RightBracket(), "*/");
  EXPECT_EQ(target.BracketItems(0).ItemColor().Color(), clGreen);
  EXPECT_EQ(target.BracketItems(1).LeftBracket(), "{");
  EXPECT_TRUE(target.Assign(target));
  EXPECT_EQ(target.Count(), 2);
  target.SetBracketItems(1, target.BracketItems(0));
  EXPECT_EQ(target.BracketItems(1).RightBracket(), "*/");
  EXPECT_EQ(changes.Count, 3);
}

TEST(ViewInfo, DefaultsAndQuotationKeepsOneByte) {
  TEditorViewInfo view;
  EXPECT_EQ(view.Brackets().Count(), 0);
  EXPECT_TRUE(view.Commenter().empty() && view.HexPrefix().empty() && view.Quotation().empty());
  EXPECT_FALSE(view.ControlCode() || view.Mail() || view.Url());
  TChanges changes(view);
  view.SetQuotation("'abc");
  EXPECT_EQ(view.Quotation(), "'");
  view.SetQuotation("'xyz");
  EXPECT_EQ(changes.Count, 1);
  view.SetQuotation("「");
  EXPECT_EQ(view.Quotation(), std::string(1, '\x81'));
  view.SetQuotation("");
  EXPECT_TRUE(view.Quotation().empty());
  EXPECT_EQ(changes.Count, 3);
}

TEST(ViewInfo, SwitchesNotifyOnlyOnARealChange) {
  TEditorViewInfo view;
  TChanges changes(view);
  view.SetMail(false);
  view.SetMail(true);
  view.SetUrl(true);
  view.SetControlCode(true);
  view.SetCommenter("//");
  view.SetCommenter("//");
  view.SetHexPrefix("0x");
  EXPECT_EQ(changes.Count, 5);
  view.Colors().SameColor(clRed);
  view.Brackets().Add();
  view.Brackets().BracketItems(0).SetLeftBracket("(");
  EXPECT_EQ(changes.Count, 8);
}

TEST(ViewInfo, AssignCopiesAllEightWithOneChange) {
  TEditorViewInfo source, target;
  TEditorBracketItem& item = source.Brackets().Add();
  item.SetLeftBracket("<");
  item.SetRightBracket(">");
  source.Colors().Str().SetColor(clMaroon);
  source.SetCommenter(";");
  source.SetControlCode(true);
  source.SetHexPrefix("$");
  source.SetMail(true);
  source.SetQuotation("\"");
  source.SetUrl(true);
  TChanges changes(target);
  EXPECT_TRUE(target.Assign(source));
  EXPECT_EQ(changes.Count, 1);
  ASSERT_EQ(target.Brackets().Count(), 1);
  EXPECT_EQ(target.Brackets().BracketItems(0).RightBracket(), ">");
  EXPECT_EQ(target.Colors().Str().Color(), clMaroon);
  EXPECT_EQ(target.Commenter(), ";");
  EXPECT_TRUE(target.ControlCode() && target.Mail() && target.Url());
  EXPECT_EQ(target.HexPrefix(), "$");
  EXPECT_EQ(target.Quotation(), "\"");
}

TEST(ViewInfo, RevisionRenewedByEveryChangeAlsoInsideUpdates) {
  TEditorViewInfo view, other;
  EXPECT_NE(view.Revision(), other.Revision());
  TEditorBracketItem& item = view.Brackets().Add();
  struct {
    const char* Name;
    std::function<void()> Change;
    bool Renews;
  } cases[] = {
      {"switch", [&] { view.SetMail(true); }, true},
      {"same value", [&] { view.SetMail(true); }, false},
      {"switch inside an update", [&] { view.BeginUpdate(); view.SetUrl(true); view.EndUpdate(); }, true},
      {"pair added", [&] { view.Brackets().Add(); }, true},
      {"item inside its update", [&] { item.BeginUpdate(); item.SetRightBracket(")"); }, true},
      {"item colour", [&] { item.ItemColor().SetColor(clRed); }, true},
      {"token colour", [&] { view.Colors().Ank().SetColor(clRed); }, true},
      {"pairs cleared inside an update", [&] { view.Brackets().BeginUpdate(); view.Brackets().Delete(1); }, true},
      {"assigned", [&] { view.Assign(other); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const uint64_t before = view.Revision();
    c.Change();
    EXPECT_EQ(view.Revision() != before, c.Renews);
    EXPECT_NE(view.Revision(), other.Revision());
  }
}

}  // namespace
}  // namespace vel
