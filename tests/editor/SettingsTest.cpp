// The editor's settings objects: defaults, clamps and change notices.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/ChangeCounter.h"
#include "editor/EditorCaret.h"
#include "editor/EditorLeftbar.h"
#include "editor/EditorMargin.h"
#include "editor/EditorMarks.h"
#include "editor/EditorRuler.h"

namespace vel {
namespace {

using test::TChanges;

struct TClampCase {
  const char* Name;
  std::function<void(int)> Set;
  std::function<int()> Get;
  int In, Out;
};

TEST(Settings, ClampedValues) {
  TEditorCaret caret;
  TEditorRuler ruler;
  TEditorLeftbar leftbar;
  TEditorMargin margin;
  auto tab = [&](int v) { caret.SetTabSpaceCount(v); };
  auto tabGet = [&] { return caret.TabSpaceCount(); };
  auto gauge = [&](int v) { ruler.SetGaugeRange(v); };
  auto gaugeGet = [&] { return ruler.GaugeRange(); };
  auto column = [&](int v) { leftbar.SetColumn(v); };
  auto columnGet = [&] { return leftbar.Column(); };
  const std::vector<TClampCase> cases = {
      {"tab 7", tab, tabGet, 7, 6},          {"tab 1", tab, tabGet, 1, 2},
      {"tab 9", tab, tabGet, 9, 8},          {"tab 5", tab, tabGet, 5, 4},
      {"tab -3", tab, tabGet, -3, 2},        {"tab 4", tab, tabGet, 4, 4},
      {"gauge 9", gauge, gaugeGet, 9, 8},    {"gauge 12", gauge, gaugeGet, 12, 10},
      {"gauge 0", gauge, gaugeGet, 0, 8},    {"gauge 10", gauge, gaugeGet, 10, 10},
      {"column 0", column, columnGet, 0, 1}, {"column 12", column, columnGet, 12, 8},
      {"column 5", column, columnGet, 5, 5},
      {"left -5", [&](int v) { margin.SetLeft(v); }, [&] { return margin.Left(); }, -5, 0},
      {"left 150", [&](int v) { margin.SetLeft(v); }, [&] { return margin.Left(); }, 150, 100},
      {"character 101", [&](int v) { margin.SetCharacter(v); }, [&] { return margin.Character(); }, 101, 100},
      {"line -1", [&](int v) { margin.SetLine(v); }, [&] { return margin.Line(); }, -1, 0},
      {"top 7", [&](int v) { margin.SetTop(v); }, [&] { return margin.Top(); }, 7, 7},
      {"underline 200", [&](int v) { margin.SetUnderlineMargin(v); }, [&] { return margin.UnderlineMargin(); }, 200,
       100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Set(c.In);
    EXPECT_EQ(c.Get(), c.Out);
  }
}

TEST(Settings, CustomCursorDefaultsComeFromTheRegisteredIndices) {
  const TCursor savedRight = crRightArrow, savedCopy = crDragSelCopy;
  crRightArrow = 3;
  crDragSelCopy = 4;
  TEditorCursors cursors;
  crRightArrow = savedRight;
  crDragSelCopy = savedCopy;
  EXPECT_EQ(cursors.LeftMarginCursor, 3);
  EXPECT_EQ(cursors.DragSelCopyCursor, 4);
}

TEST(Settings, SettersNotifyOnlyOnARealChange) {
  TEditorCaret caret;
  TChanges caretChanges(caret);
  caret.SetTabSpaceCount(6);
  caret.SetTabSpaceCount(7);  // clamps to the value it has
  caret.SetStyle(csBrief);
  caret.SetStyle(csBrief);
  caret.FreeCaret = false;
  caret.Cursors().InSelCursor = crArrow;
  caret.SetCursors(TEditorCursors());
  EXPECT_EQ(caretChanges.Count, 2);

  TEditorLeftbar bar;
  TChanges barChanges(bar);
  bar.SetColumn(4);
  bar.SetColumn(9);
  bar.SetColumn(8);
  bar.SetShowNumberMode(nmLine);
  bar.SetVisible(false);
  bar.SetZeroLead(true);
  EXPECT_EQ(barChanges.Count, 3);

  TEditorRuler ruler;
  TChanges rulerChanges(ruler);
  ruler.SetGaugeRange(9);
  ruler.SetGaugeRange(8);
  ruler.SetMarkColor(clBtnText);
  ruler.SetVisible(true);
  EXPECT_EQ(rulerChanges.Count, 2);

  TEditorMargin margin;
  TChanges marginChanges(margin);
  margin.SetLeft(19);
  margin.SetLeft(200);
  margin.SetLeft(100);
  margin.SetUnderlineMargin(1);
  EXPECT_EQ(marginChanges.Count, 2);
}

TEST(Settings, MarkChangesReachTheMarks) {
  TEditorMarks marks;
  TChanges changes(marks);
  marks.Underline().SetVisible(true);
  marks.Underline().SetVisible(true);
  marks.EofMark().SetColor(clRed);
  marks.RetMark().SetColor(clGray);
  EXPECT_EQ(changes.Count, 2);
}

TEST(Settings, BeginUpdateBatchesChanges) {
  TEditorLeftbar bar;
  TChanges changes(bar);
  bar.BeginUpdate();
  bar.BeginUpdate();
  bar.SetColumn(2);
  bar.SetEdge(false);
  bar.EndUpdate();
  EXPECT_EQ(changes.Count, 0);
  bar.SetVisible(true);
  bar.EndUpdate();
  EXPECT_EQ(changes.Count, 1);
  EXPECT_EQ(bar.Column(), 2);
  EXPECT_TRUE(bar.Visible());
}

// Assign copies every value and reports exactly one change.
template <class T>
void ExpectOneChangeAssign(const char* name, const std::function<void(T&)>& modify,
                           const std::function<bool(const T&, const T&)>& same) {
  SCOPED_TRACE(name);
  T source, target;
  modify(source);
  TChanges changes(target);
  EXPECT_FALSE(same(source, target));
  EXPECT_TRUE(target.Assign(source));
  EXPECT_EQ(changes.Count, 1);
  EXPECT_TRUE(same(source, target));
}

TEST(Settings, AssignReportsOneChange) {
  ExpectOneChangeAssign<TEditorCaret>(
      "caret",
      [](TEditorCaret& c) {
        c.AutoIndent = false;
        c.InTab = true;
        c.SelDragMode = dmManual;
        c.SetStyle(csBrief);
        c.SetTabSpaceCount(4);
        c.Cursors().LeftMarginCursor = 7;
        c.Cursors().DefaultCursor = crArrow;
      },
      [](const TEditorCaret& a, const TEditorCaret& b) {
        return a.AutoIndent == b.AutoIndent && a.InTab == b.InTab && a.SelDragMode == b.SelDragMode &&
               a.Style() == b.Style() && a.TabSpaceCount() == b.TabSpaceCount() &&
               a.Cursors().LeftMarginCursor == b.Cursors().LeftMarginCursor &&
               a.Cursors().DefaultCursor == b.Cursors().DefaultCursor;
      });
  ExpectOneChangeAssign<TEditorMargin>(
      "margin",
      [](TEditorMargin& m) {
        m.SetCharacter(4);
        m.SetLeft(1);
        m.SetLine(2);
        m.SetTop(3);
        m.SetUnderlineMargin(1);
      },
      [](const TEditorMargin& a, const TEditorMargin& b) {
        return a.Character() == b.Character() && a.Left() == b.Left() && a.Line() == b.Line() && a.Top() == b.Top() &&
               a.UnderlineMargin() == b.UnderlineMargin();
      });
  ExpectOneChangeAssign<TEditorMarks>(
      "marks",
      [](TEditorMarks& m) {
        m.EofMark().SetVisible(true);
        m.RetMark().SetColor(clBlue);
        m.Underline().SetVisible(true);
      },
      [](const TEditorMarks& a, const TEditorMarks& b) {
        return a.EofMark().Visible() == b.EofMark().Visible() && a.RetMark().Color() == b.RetMark().Color() &&
               a.Underline().Visible() == b.Underline().Visible();
      });
  ExpectOneChangeAssign<TEditorLeftbar>(
      "leftbar",
      [](TEditorLeftbar& l) {
        l.SetBkColor(clRed);
        l.SetColumn(6);
        l.SetShowNumberMode(nmLine);
        l.SetZeroBase(true);
        l.SetRightMargin(0);
      },
      [](const TEditorLeftbar& a, const TEditorLeftbar& b) {
        return a.BkColor() == b.BkColor() && a.Column() == b.Column() && a.ShowNumberMode() == b.ShowNumberMode() &&
               a.ZeroBase() == b.ZeroBase() && a.RightMargin() == b.RightMargin();
      });
  ExpectOneChangeAssign<TEditorRuler>(
      "ruler",
      [](TEditorRuler& r) {
        r.SetGaugeRange(8);
        r.SetEdge(false);
        r.SetMarkColor(clRed);
      },
      [](const TEditorRuler& a, const TEditorRuler& b) {
        return a.GaugeRange() == b.GaugeRange() && a.Edge() == b.Edge() && a.MarkColor() == b.MarkColor();
      });
  ExpectOneChangeAssign<TEditorMark>(
      "mark", [](TEditorMark& m) { m.SetColor(clRed); },
      [](const TEditorMark& a, const TEditorMark& b) { return a.Color() == b.Color(); });
}

TEST(Settings, AssignFromAnotherClassCopiesNothing) {
  TEditorRuler ruler;
  TEditorLeftbar bar;
  bar.SetColor(clRed);
  TChanges changes(ruler);
  EXPECT_FALSE(ruler.Assign(bar));
  EXPECT_EQ(changes.Count, 0);
  EXPECT_EQ(ruler.Color(), clBtnText);
}

}  // namespace
}  // namespace vel
