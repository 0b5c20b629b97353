// The Win32 host under real window messages: what a client hears for each
// message, the exception barrier, and the cursor the window shows.
#include "platform/win32/WindowHost.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "editor/Editor.h"
#include "platform/win32/Dialog.h"
#include "tests/wine/res/TestResource.h"
#include "editor/EditorCursorNames.h"
#include "tests/support/WindowClientContract.h"
#include "tests/wine/WineTestUtil.h"

namespace vel::win32 {
namespace {

std::string Num(long v) { return std::to_string(v); }

class TRecorder : public IWindowClient {
 public:
  void WindowCreated(IWindow& w) override {
    Window = &w;
    if (ThrowOnCreate) throw std::runtime_error("no window today");
    Log.push_back("created");
  }
  void WindowDestroyed() override {
    Window = nullptr;
    Log.push_back("destroyed");
  }
  void Paint(ICanvas& c, const TRect& r) override {
    c.FillRect(r, clRed);
    Log.push_back("paint " + Num(r.Left) + "," + Num(r.Top) + "," + Num(r.Right) + "," + Num(r.Bottom));
  }
  bool KeyDown(const TKeyEvent& e) override {
    Log.push_back("down " + Num(e.Key) + " " + Num(e.Shift) + (e.Repeat ? " repeat" : ""));
    return true;
  }
  void KeyPress(const TCharEvent& e) override {
    if (e.Char == "!") throw std::runtime_error("ユーザーの処理が失敗しました");
    Log.push_back("char " + e.Char);
  }
  void MouseDown(const TMouseEvent& e) override { Log.push_back("press " + Mouse(e)); }
  void MouseMove(const TMouseEvent& e) override { Log.push_back("move " + Mouse(e)); }
  void MouseUp(const TMouseEvent& e) override { Log.push_back("release " + Mouse(e)); }
  void MouseLeave() override { Log.push_back("leave"); }
  bool MouseWheel(const TWheelEvent& e) override {
    Log.push_back(std::string(e.Horizontal ? "hwheel " : "wheel ") + Num(e.Delta) + " " + Num(e.Shift) + " " +
                  Num(e.X) + "," + Num(e.Y));
    return true;
  }
  void FocusIn() override { Log.push_back("focus in"); }
  void FocusOut() override { Log.push_back("focus out"); }
  void Resized(int w, int h) override { Log.push_back("size " + Num(w) + "x" + Num(h)); }
  void Scrolled(const TScrollEvent& e) override {
    Log.push_back("scroll " + Num(static_cast<int>(e.Code)) + " " + Num(e.Pos));
  }
  bool ImeResult(const std::string& t) override {
    Log.push_back("ime " + t);
    return true;
  }
  void ImeCandidateWindow(bool open) override { Log.push_back(open ? "candidates open" : "candidates closed"); }
  bool HandleMessage(TMessage& m) override {
    if (m.Msg != EM_GETSEL) return false;
    m.Result = static_cast<LRESULT>(m.WParam + m.LParam);
    return true;
  }
  static std::string Mouse(const TMouseEvent& e) {
    return Num(e.Button) + " " + Num(e.Shift) + " " + Num(e.X) + "," + Num(e.Y);
  }
  // Lines of the log that start with prefix.
  std::vector<std::string> Only(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& l : Log)
      if (l.rfind(prefix, 0) == 0) out.push_back(l);
    return out;
  }

  std::vector<std::string> Log;
  IWindow* Window = nullptr;
  bool ThrowOnCreate = false;
};

using Lines = std::vector<std::string>;

class Win32HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterHostClass({"VelTestHost"});
    Host.Create("VelTestHost", {0, WS_POPUP | WS_VISIBLE | WS_VSCROLL, "host", {20, 30, 320, 230}}, Client);
    ASSERT_TRUE(Host.Handle());
    Wnd = Host.Handle();
  }
  void TearDown() override {
    BYTE keys[256] = {};
    ::SetKeyboardState(keys);
  }
  void Post(UINT msg, WPARAM wp, LPARAM lp = 0) { ::PostMessageA(Wnd, msg, wp, lp); }

  TRecorder Client;
  THostedWindow Host;
  HWND Wnd = nullptr;
};

TEST_F(Win32HostTest, LeadAndTrailCharacterMessagesArriveAsOneCharacter) {
  Post(WM_CHAR, 0x95);  // 表: its trail byte is a backslash
  Post(WM_CHAR, 0x5C);
  Post(WM_CHAR, 'a');
  Post(WM_CHAR, 0xB6);  // ｶ: one byte
  Post(WM_IME_CHAR, 0x8ABF);  // 漢, both bytes in one message
  ASSERT_TRUE(wine::PumpUntil([&] { return Client.Only("char").size() >= 4; }));
  EXPECT_EQ(Client.Only("char"), (Lines{"char 表", "char a", "char ｶ", "char 漢"}));
}

TEST_F(Win32HostTest, LeadByteWithoutATrailByteIsDroppedNotJoinedToAControlCharacter) {
  // Sent, not posted: a posted pair may already be joined on the way.
  ::SendMessageA(Wnd, WM_CHAR, 0x82, 1);
  ::SendMessageA(Wnd, WM_CHAR, '\r', 1);
  ::SendMessageA(Wnd, WM_CHAR, 0x82, 1);
  ::SendMessageA(Wnd, WM_KILLFOCUS, 0, 0);
  ::SendMessageA(Wnd, WM_CHAR, 0xA0, 1);
  EXPECT_EQ(Client.Only("char"), (Lines{"char \r", "char \xA0"}));
}

TEST_F(Win32HostTest, UnicodeCharacterSentToTheWindowArrivesWhole) {
  ::SendMessageW(Wnd, WM_CHAR, 0x8868, 1);  // 表
  ::SendMessageW(Wnd, WM_CHAR, L'b', 1);
  EXPECT_EQ(Client.Only("char"), (Lines{"char 表", "char b"}));
}

TEST_F(Win32HostTest, KeyDownCarriesShiftCtrlAndRepeat) {
  BYTE keys[256] = {};
  keys[VK_SHIFT] = keys[VK_CONTROL] = 0x80;
  ASSERT_TRUE(::SetKeyboardState(keys));
  ::SendMessageA(Wnd, WM_KEYDOWN, VK_LEFT, 1 | (1 << 30));
  keys[VK_SHIFT] = 0;
  ::SetKeyboardState(keys);
  ::SendMessageA(Wnd, WM_KEYDOWN, VK_HOME, 1);
  EXPECT_EQ(Client.Only("down"), (Lines{"down 37 5 repeat", "down 36 4"}));
}

TEST_F(Win32HostTest, MouseButtonsCarryModifiersButtonsAndSignedPositions) {
  ::SendMessageA(Wnd, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 7));
  ::SendMessageA(Wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-3), 9));
  ::SendMessageA(Wnd, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(6, 8));
  ::SendMessageA(Wnd, WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(1, 2));
  EXPECT_EQ(Client.Only("press"), (Lines{"press 0 9 5,7", "press 1 80 1,2"}));
  EXPECT_EQ(Client.Only("move"), (Lines{"move 0 8 -3,9"}));
  EXPECT_EQ(Client.Only("release"), (Lines{"release 0 4 6,8"}));
}

TEST_F(Win32HostTest, PointerLeavingAfterAMoveIsReported) {
  POINT in{50, 50};
  ::ClientToScreen(Wnd, &in);
  ::SetCursorPos(in.x, in.y);
  ASSERT_TRUE(wine::PumpUntil([&] { return !Client.Only("move").empty(); }));
  ::SetCursorPos(700, 700);
  EXPECT_TRUE(wine::PumpUntil([&] { return !Client.Only("leave").empty(); }));
}

TEST_F(Win32HostTest, WheelDeltaAndPointerArriveInClientCoordinates) {
  POINT pt{40, 50};
  ::ClientToScreen(Wnd, &pt);
  ::SendMessageA(Wnd, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-240)), MAKELPARAM(pt.x, pt.y));
  ::SendMessageA(Wnd, WM_MOUSEHWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(Client.Only("wheel"), (Lines{"wheel -240 4 40,50"}));
  EXPECT_EQ(Client.Only("hwheel"), (Lines{"hwheel 120 0 40,50"}));
}

TEST_F(Win32HostTest, ThumbTrackBeyond16BitsUsesTheBarsFullPosition) {
  Client.Window->SetScrollInfo(TScrollBarKind::Vertical, {0, 200000, 10, 100000});
  ::SendMessageA(Wnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 100000 & 0xFFFF), 0);
  ::SendMessageA(Wnd, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
  EXPECT_EQ(Client.Only("scroll"), (Lines{"scroll 5 100000", "scroll 3 100000"}));
}

TEST_F(Win32HostTest, FocusSizeAndCandidateNoticesReachTheClient) {
  HWND other = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 400, 400, 50, 50, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
  ::SetFocus(other);
  Client.Log.clear();
  ::SetFocus(Wnd);
  ::SetFocus(other);
  ::SetWindowPos(Wnd, nullptr, 0, 0, 150, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageA(Wnd, WM_IME_NOTIFY, IMN_OPENCANDIDATE, 1);
  ::SendMessageA(Wnd, WM_IME_NOTIFY, IMN_CLOSECANDIDATE, 1);
  RECT rc;
  ::GetClientRect(Wnd, &rc);
  EXPECT_EQ(Client.Only("focus"), (Lines{"focus in", "focus out"}));
  EXPECT_EQ(Client.Only("size").back(), "size " + Num(rc.right) + "x" + Num(rc.bottom));
  EXPECT_EQ(Client.Only("candidates"), (Lines{"candidates open", "candidates closed"}));
  ::DestroyWindow(other);
}

TEST_F(Win32HostTest, ImeResultIsReadAsBytesAndNotDeliveredAgainAsCharacters) {
  HIMC imc = ::ImmGetContext(Wnd);
  ASSERT_TRUE(imc);
  ::ImmSetOpenStatus(imc, TRUE);
  std::wstring text = L"\x6F22\x5B57";  // 漢字
  bool set = ::ImmSetCompositionStringW(imc, SCS_SETSTR, text.data(), static_cast<DWORD>(text.size() * 2), nullptr, 0);
  ::ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
  ::ImmReleaseContext(Wnd, imc);
  ASSERT_TRUE(set);
  ASSERT_TRUE(wine::PumpUntil([&] { return !Client.Only("ime").empty(); }));
  wine::Pump(50);
  EXPECT_EQ(Client.Only("ime"), (Lines{"ime 漢字"}));
  EXPECT_EQ(Client.Only("char"), Lines{});
}

TEST_F(Win32HostTest, PaintGetsTheInvalidAreaAndDrawsIntoTheWindow) {
  ::UpdateWindow(Wnd);
  RECT r{10, 20, 60, 40};
  ::InvalidateRect(Wnd, &r, FALSE);
  ::UpdateWindow(Wnd);
  ASSERT_FALSE(Client.Only("paint").empty());
  EXPECT_EQ(Client.Only("paint").back(), "paint 10,20,60,40");
  HDC dc = ::GetDC(Wnd);
  EXPECT_EQ(::GetPixel(dc, 30, 30), RGB(255, 0, 0));
  ::ReleaseDC(Wnd, dc);
}

TEST_F(Win32HostTest, ClientAnswersItsOwnMessagesFirst) {
  EXPECT_EQ(::SendMessageA(Wnd, EM_GETSEL, 40, 2), 42);
}

TEST_F(Win32HostTest, ExceptionInAHandlerReachesTheBoxAndTheWindowLivesOn) {
  wine::TMessageBoxWatcher boxes("Velmorind");
  Post(WM_CHAR, '!');
  Post(WM_CHAR, 'z');
  ASSERT_TRUE(wine::PumpUntil([&] { return !Client.Only("char").empty(); }, 10000));
  EXPECT_EQ(boxes.Texts(), (Lines{"ユーザーの処理が失敗しました."}));
  EXPECT_EQ(Client.Only("char"), (Lines{"char z"}));
  EXPECT_TRUE(::IsWindow(Wnd));
}

TEST_F(Win32HostTest, WindowDestroyedByTheSystemTellsTheClient) {
  ::DestroyWindow(Wnd);
  EXPECT_EQ(Client.Log.back(), "destroyed");
  EXPECT_EQ(Host.Handle(), nullptr);
  EXPECT_EQ(Host.Window(), nullptr);
}

TEST(Win32Host, OwnerGoingFirstTellsTheClientThatTheWindowWent) {
  RegisterHostClass({"VelTestHost"});
  TLifetimeRecorder client;
  HWND wnd;
  {
    THostedWindow host;
    host.Create("VelTestHost", {0, WS_POPUP, "", {0, 0, 10, 10}}, client);
    wnd = host.Handle();
    EXPECT_EQ(HostedClient(wnd), &client);
  }
  EXPECT_FALSE(::IsWindow(wnd));
  EXPECT_EQ(client.Log, kOwnerGoneFirstLog);
  EXPECT_EQ(client.Window, nullptr);
}

// Two controls on one row list; the first one's window goes while the
// control lives on. An edit in the second reaches the first, which must not
// use the window it had.
TEST(Win32Host, ControlOutlivingItsWindowFollowsEditsOfItsPartner) {
  RegisterHostClass({"VelTestHost"});
  TEditor first, second;
  THostedWindow secondHost;
  secondHost.Create("VelTestHost", {0, WS_POPUP | WS_VISIBLE, "", {0, 0, 200, 100}}, second);
  {
    THostedWindow firstHost;
    firstHost.Create("VelTestHost", {0, WS_POPUP | WS_VISIBLE, "", {210, 0, 410, 100}}, first);
    second.ExchangeList(first);
    ::SetFocus(firstHost.Handle());
  }
  second.SetSelTextBuf("あいう");
  second.SetSelStart(2);
  second.SetSelTextBuf("x");
  EXPECT_EQ(first.Lines().GetText(), "あxいう");
  EXPECT_EQ(first.Lines().GetText(), second.Lines().GetText());
  secondHost.Destroy();
}

class TTestDialog final : public TModalDialog {
 public:
  static constexpr int kThrow = 950;
  explicit TTestDialog(bool* Busy) : TModalDialog(IDD_TEST), Busy(Busy) {}
  std::string Edit;
  bool Check = false, BusyWhileUp = false;
  int Index = -1;

 protected:
  void InitDialog() override {
    BusyWhileUp = *Busy;
    SetText(IDC_TEST_EDIT, "メモ帳");
    SetChecked(IDC_TEST_CHECK, true);
    SetItems(IDC_TEST_COMBO, {"一つ目", "二つ目"});
    SetItemIndex(IDC_TEST_COMBO, 1);
    ::PostMessageW(Handle(), WM_COMMAND, kThrow, 0);
  }
  bool Command(int Id, int) override {
    if (Id != kThrow) return false;
    ::PostMessageW(Handle(), WM_COMMAND, IDOK, 0);
    throw std::runtime_error("ダイアログの処理が失敗しました");
  }
  bool Accept() override {
    Edit = Text(IDC_TEST_EDIT);
    Check = Checked(IDC_TEST_CHECK);
    Index = ItemIndex(IDC_TEST_COMBO);
    return true;
  }

 private:
  bool* Busy;
};

TEST(Win32Dialog, ExceptionInTheProcedureIsShownAndTheDialogGoesOn) {
  wine::TMessageBoxWatcher boxes("Velmorind");
  bool busy = false;
  TTestDialog d(&busy);
  EXPECT_EQ(d.ShowModal(nullptr, &busy), IDOK);
  EXPECT_EQ(boxes.Texts(), (Lines{"ダイアログの処理が失敗しました."}));
  EXPECT_EQ(d.Edit, "メモ帳");
  EXPECT_TRUE(d.Check);
  EXPECT_EQ(d.Index, 1);
  EXPECT_TRUE(d.BusyWhileUp);
  EXPECT_FALSE(busy) << "the busy flag falls back when the dialog ends";
  EXPECT_EQ(d.Handle(), nullptr);
}

TEST(Win32Host, FailingCreationRethrowsToTheCreatorWithoutABox) {
  RegisterHostClass({"VelTestHost"});
  wine::TMessageBoxWatcher boxes("Velmorind");
  TRecorder client;
  client.ThrowOnCreate = true;
  THostedWindow host;
  EXPECT_THROW(host.Create("VelTestHost", {0, WS_POPUP, "", {0, 0, 10, 10}}, client), std::runtime_error);
  EXPECT_EQ(host.Handle(), nullptr);
  wine::Pump(50);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(Win32HostTest, CursorsInstalledInTheTableAreShownOverTheClient) {
  InitEditorUnit();
  ASSERT_GT(crRightArrow, 0);
  HCURSOR right = ::LoadCursorA(::GetModuleHandleA(nullptr), "RightArrow");
  ASSERT_TRUE(right);
  Client.Window->SetCursor(crRightArrow);
  EXPECT_EQ(::GetCursor(), right);
  ::SetCursor(nullptr);
  EXPECT_EQ(::SendMessageA(Wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(Wnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(::GetCursor(), right);
  Client.Window->SetCursor(crIBeam);
  EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_IBEAM));
}

}  // namespace
}  // namespace vel::win32
