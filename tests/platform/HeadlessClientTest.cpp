// The headless window as a host: input reaches the client as the Win32 host
// delivers it, painting covers what is invalid, focus follows the platform.
#include <gtest/gtest.h>

#include "platform/Reset.h"
#include "platform/headless/Headless.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/support/WindowClientContract.h"

namespace vel::headless {
namespace {

// Records every call as one line of text.
class TLogClient : public IWindowClient {
 public:
  void WindowCreated(IWindow& w) override { Log.push_back("created " + std::to_string(w.Handle() != 0)); }
  void WindowDestroyed() override { Log.push_back("destroyed"); }
  void Paint(ICanvas& c, const TRect& r) override {
    Log.push_back("paint " + Rect(r));
    c.FillRect(r, clWhite);
  }
  bool KeyDown(const TKeyEvent& e) override {
    Log.push_back("down " + std::to_string(e.Key) + " " + std::to_string(e.Shift) + (e.Repeat ? " repeat" : ""));
    return e.Key != vkF10;
  }
  bool KeyUp(const TKeyEvent& e) override {
    Log.push_back("up " + std::to_string(e.Key));
    return true;
  }
  void KeyPress(const TCharEvent& e) override { Log.push_back("char " + e.Char); }
  void MouseDown(const TMouseEvent& e) override { Log.push_back("press " + Mouse(e)); }
  void MouseMove(const TMouseEvent& e) override { Log.push_back("move " + Mouse(e)); }
  void MouseUp(const TMouseEvent& e) override { Log.push_back("release " + Mouse(e)); }
  void MouseLeave() override { Log.push_back("leave"); }
  bool MouseWheel(const TWheelEvent& e) override {
    Log.push_back(std::string(e.Horizontal ? "hwheel " : "wheel ") + std::to_string(e.Delta));
    return !e.Horizontal;
  }
  void FocusIn() override { Log.push_back("focus in"); }
  void FocusOut() override { Log.push_back("focus out"); }
  void Resized(int w, int h) override { Log.push_back("size " + std::to_string(w) + "x" + std::to_string(h)); }
  void Scrolled(const TScrollEvent& e) override {
    Log.push_back("scroll " + std::to_string(static_cast<int>(e.Code)) + " " + std::to_string(e.Pos));
  }
  void ImeStartComposition() override { Log.push_back("ime start"); }
  bool ImeResult(const std::string& t) override {
    Log.push_back("ime " + t);
    return TakesIme;
  }
  void ImeCandidateWindow(bool open) override { Log.push_back(open ? "candidates open" : "candidates closed"); }
  bool HandleMessage(TMessage& m) override {
    if (m.Msg != 0x00B0) return false;
    m.Result = static_cast<std::intptr_t>(m.WParam + m.LParam);
    return true;
  }

  static std::string Rect(const TRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
  }
  static std::string Mouse(const TMouseEvent& e) {
    return std::to_string(e.Button) + " " + std::to_string(e.Shift) + " " + std::to_string(e.X) + "," +
           std::to_string(e.Y);
  }
  std::vector<std::string> Log;
  bool TakesIme = true;
};

using Lines = std::vector<std::string>;

TEST(HeadlessClient, InputCallsArriveWithTheirValuesAndAnswers) {
  TLogClient c;
  THeadlessWindow w(c, {0, 0, 200, 100});
  EXPECT_TRUE(w.SendKeyDown(vkLeft, ssShift | ssCtrl, true));
  EXPECT_FALSE(w.SendKeyDown(vkF10));
  EXPECT_TRUE(w.SendKeyUp(vkLeft));
  w.SendMouseDown(mbRight, 5, -3, ssRight | ssDouble);
  w.SendMouseMove(7, 8, ssLeft);
  w.SendMouseUp(mbLeft, 9, 10);
  w.SendMouseLeave();
  EXPECT_TRUE(w.SendWheel(-240, 1, 2));
  EXPECT_FALSE(w.SendWheel(120, 1, 2, 0, true));
  w.SendImeStartComposition();
  w.SendImeCandidateWindow(true);
  w.SendImeCandidateWindow(false);
  EXPECT_EQ(w.Perform(0x00B0, 40, 2), 42);
  EXPECT_EQ(w.Perform(0x000E), 0) << "a message the client leaves alone answers 0";
  EXPECT_EQ(c.Log, (Lines{"created 1", "down 37 5 repeat", "down 121 0", "up 37", "press 1 80 5,-3",
                          "move 0 8 7,8", "release 0 0 9,10", "leave", "wheel -240", "hwheel 120", "ime start",
                          "candidates open", "candidates closed"}));
}

TEST(HeadlessClient, TextArrivesAsWholeCharacters) {
  TLogClient c;
  THeadlessWindow w(c);
  c.Log.clear();
  // A trail byte that looks like ASCII ('\\' in 表) stays with its lead byte.
  w.SendText("a表ｶ\r");
  EXPECT_EQ(c.Log, (Lines{"char a", "char 表", "char ｶ", "char \r"}));
}

TEST(HeadlessClient, ImeResultNotTakenArrivesAsCharactersInstead) {
  TLogClient c;
  THeadlessWindow w(c);
  c.Log.clear();
  EXPECT_TRUE(w.SendImeResult("漢字"));
  EXPECT_EQ(c.Log, (Lines{"ime 漢字"}));
  c.Log.clear();
  c.TakesIme = false;
  EXPECT_FALSE(w.SendImeResult("漢字"));
  EXPECT_EQ(c.Log, (Lines{"ime 漢字", "char 漢", "char 字"}));
}

TEST(HeadlessClient, ScrollCarriesTheThumbPositionOrTheBarsPosition) {
  TLogClient c;
  THeadlessWindow w(c);
  w.SetScrollInfo(TScrollBarKind::Vertical, {0, 200000, 10, 70000});
  c.Log.clear();
  w.SendScroll(TScrollBarKind::Vertical, TScrollCode::ThumbTrack, 100000);
  w.SendScroll(TScrollBarKind::Vertical, TScrollCode::LineDown, 5);
  EXPECT_EQ(c.Log, (Lines{"scroll 5 100000", "scroll 1 70000"}));
}

TEST(HeadlessClient, PaintCoversTheUnionOfInvalidationsOnceClippedToIt) {
  TLogClient c;
  THeadlessWindow w(c, {0, 0, 200, 100});
  w.TakeInvalid();
  TRect a{10, 10, 20, 20}, b{30, 5, 40, 15};
  w.Invalidate(&a);
  w.Invalidate(&b);
  c.Log.clear();
  EXPECT_EQ(w.PaintInvalid(), (TRect{10, 5, 40, 20}));
  EXPECT_EQ(w.PaintInvalid(), TRect{}) << "nothing left to paint";
  EXPECT_EQ(c.Log, (Lines{"paint 10,5,40,20"}));
  ASSERT_EQ(w.Drawn.size(), 1u);
  EXPECT_TRUE(w.Drawn[0].Clip.HasClip);
  EXPECT_EQ(w.Drawn[0].Clip.Clip, (TRect{10, 5, 40, 20}));
  w.Invalidate(nullptr);
  w.Update();
  EXPECT_EQ(c.Log.back(), "paint 0,0,200,100") << "Update paints at once";
}

TEST(HeadlessClient, ResizeTellsTheClientAndInvalidatesEverything) {
  TLogClient c;
  THeadlessWindow w(c);
  w.TakeInvalid();
  w.Resize({0, 0, 320, 240});
  EXPECT_EQ(c.Log.back(), "size 320x240");
  EXPECT_EQ(w.TakeInvalid(), (TRect{0, 0, 320, 240}));
}

TEST(HeadlessClient, FocusMovesWithOutBeforeInAndLeavesWithTheWindow) {
  TLogClient ca, cb;
  THeadlessWindow a(ca);
  {
    THeadlessWindow b(cb);
    a.SetFocus();
    a.SetFocus();
    b.SetFocus();
    EXPECT_EQ(ca.Log, (Lines{"created 1", "focus in", "focus out"}));
    EXPECT_EQ(cb.Log, (Lines{"created 1", "focus in"}));
    EXPECT_EQ(FocusedWindow(), &b);
  }
  EXPECT_EQ(FocusedWindow(), nullptr) << "a destroyed window keeps no focus";
  EXPECT_FALSE(a.Focused());
  a.SetFocus();
  ClearFocus();
  EXPECT_EQ(ca.Log.back(), "focus out");
  a.SetFocus();
  Reset();
  EXPECT_FALSE(a.Focused()) << "reset leaves no window focused";
}

TEST(HeadlessClient, DestroyingTheWindowTellsTheClientLast) {
  TLogClient c;
  { THeadlessWindow w(c); }
  EXPECT_EQ(c.Log, (Lines{"created 1", "destroyed"}));
  TLifetimeRecorder r;
  { THeadlessWindow w(r); }
  EXPECT_EQ(r.Log, kOwnerGoneFirstLog);
  EXPECT_EQ(r.Window, nullptr);
}

TEST(HeadlessCanvas, ClipsNarrowAndResetReturnsToThePaintArea) {
  TRecordingCanvas canvas(TRect{0, 0, 100, 50});
  canvas.IntersectClip({10, 10, 200, 30});
  canvas.ExcludeClip({20, 10, 30, 30});
  canvas.FillRect({0, 0, 100, 50}, clRed);
  canvas.IntersectClip({500, 500, 600, 600});
  canvas.FillRect({0, 0, 100, 50}, clRed);
  canvas.ResetClip();
  canvas.FillRect({0, 0, 100, 50}, clRed);
  ASSERT_EQ(canvas.OwnLog.size(), 3u);
  EXPECT_EQ(canvas.OwnLog[0].Clip.Clip, (TRect{10, 10, 100, 30}));
  EXPECT_EQ(canvas.OwnLog[0].Clip.Excluded, (std::vector<TRect>{{20, 10, 30, 30}}));
  EXPECT_EQ(canvas.OwnLog[1].Clip.Clip, TRect{}) << "disjoint clips leave nothing";
  EXPECT_EQ(canvas.OwnLog[2].Clip, (TClipState{true, {0, 0, 100, 50}, {}}));
}

TEST(HeadlessCanvas, OffscreenContentIsRecordedWhereItIsCopied) {
  THeadlessWindow w;
  auto c = w.GetCanvas();
  auto bar = c->CreateOffscreen(30, 200);
  EXPECT_EQ(bar->Width(), 30);
  bar->TextOut(0, 0, {0, 0, 30, 12}, "12", {}, clBlack, clWhite);
  c->Draw(5, 6, *bar, {0, 12, 30, 100});
  ASSERT_EQ(w.Drawn.size(), 1u);
  EXPECT_EQ(w.Drawn[0].What, TDrawCall::kBitmap);
  EXPECT_EQ(w.Drawn[0].Rect, (TRect{0, 12, 30, 100}));
  ASSERT_EQ(w.Drawn[0].Bitmap.size(), 1u);
  EXPECT_EQ(w.Drawn[0].Bitmap[0].Text, "12");
}

TEST(HeadlessReset, RunsTheRegisteredForgettingOnEveryReset) {
  // Registrations last for the process, like the state they forget.
  static int forgotten = 0;
  AtPlatformReset([] { ++forgotten; });
  int before = forgotten;
  Reset();
  Reset();
  EXPECT_EQ(forgotten, before + 2);
}

}  // namespace
}  // namespace vel::headless
