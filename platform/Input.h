#pragma once
// Input as it reaches a control or form: keys with their shift state, whole
// characters, the mouse, the wheel, scroll-bar actions and the input method.
// The Win32 host builds these from window messages, the headless window from
// tests; nothing here knows which.
#include <cstdint>
#include <string>

#include "platform/Window.h"

namespace vel {

// Modifier keys and mouse buttons held, as a set of flags.
using TShiftState = unsigned;
enum : TShiftState {
  ssShift = 0x01, ssAlt = 0x02, ssCtrl = 0x04,
  ssLeft = 0x08, ssRight = 0x10, ssMiddle = 0x20,
  ssDouble = 0x40,  // the press is the second click of a double click
};

// Virtual-key codes, with the platform's values.
using TVirtualKey = std::uint16_t;
enum : TVirtualKey {
  vkBack = 0x08, vkTab = 0x09, vkClear = 0x0C, vkReturn = 0x0D,
  vkShift = 0x10, vkControl = 0x11, vkMenu = 0x12, vkPause = 0x13, vkCapital = 0x14,
  vkKana = 0x15, vkKanji = 0x19, vkEscape = 0x1B, vkConvert = 0x1C, vkNonConvert = 0x1D,
  vkSpace = 0x20, vkPrior = 0x21, vkNext = 0x22, vkEnd = 0x23, vkHome = 0x24,
  vkLeft = 0x25, vkUp = 0x26, vkRight = 0x27, vkDown = 0x28,
  vkInsert = 0x2D, vkDelete = 0x2E,
  vk0 = 0x30, vkA = 0x41, vkZ = 0x5A,  // digits and letters are their upper-case ASCII codes
  vkApps = 0x5D, vkNumpad0 = 0x60,
  vkF1 = 0x70, vkF10 = 0x79, vkF12 = 0x7B,
};

struct TKeyEvent {
  TVirtualKey Key = 0;
  TShiftState Shift = 0;
  bool Repeat = false;  // the key was already down: an auto-repeat
};

// One whole character: one byte, or a double-byte character's two bytes.
struct TCharEvent {
  std::string Char;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Client coordinates; Shift holds the modifiers and the buttons down after
// the event (for a press, ssDouble marks a double click).
struct TMouseEvent {
  TMouseButton Button = mbLeft;  // meaningful for presses and releases
  TShiftState Shift = 0;
  int X = 0, Y = 0;
};

struct TWheelEvent {
  int Delta = 0;  // multiples of 120 per notch; positive away from the user (or to the right)
  bool Horizontal = false;
  TShiftState Shift = 0;
  int X = 0, Y = 0;  // client coordinates of the pointer
};

enum class TScrollCode { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Top, Bottom, EndScroll };

struct TScrollEvent {
  TScrollBarKind Bar = TScrollBarKind::Vertical;
  TScrollCode Code = TScrollCode::EndScroll;
  // The full 32-bit thumb position for ThumbPosition and ThumbTrack (not the
  // message's 16 bits), the bar's position for the other codes.
  int Pos = 0;
};

// A window message the client may answer itself, before any translation.
struct TMessage {
  unsigned Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};

// What a control or form implements to receive painting and input. Every
// call comes on the user-interface thread; the host catches what a call
// throws. Calls that return bool answer "handled": false lets the system's
// default handling run.
class IWindowClient {
 public:
  virtual ~IWindowClient() = default;

  // The window has its handle (services usable from here on) and will lose it.
  virtual void WindowCreated(IWindow& window) { (void)window; }
  virtual void WindowDestroyed() {}

  // Paints area (client coordinates); the canvas is clipped to what is invalid.
  virtual void Paint(ICanvas& canvas, const TRect& area) = 0;

  virtual bool KeyDown(const TKeyEvent& e) { return (void)e, false; }
  virtual bool KeyUp(const TKeyEvent& e) { return (void)e, false; }
  virtual void KeyPress(const TCharEvent& e) { (void)e; }

  virtual void MouseDown(const TMouseEvent& e) { (void)e; }
  virtual void MouseMove(const TMouseEvent& e) { (void)e; }
  virtual void MouseUp(const TMouseEvent& e) { (void)e; }
  // The pointer left the client area (after at least one move inside it).
  virtual void MouseLeave() {}
  // Not handled: the system passes the wheel on to the parent window.
  virtual bool MouseWheel(const TWheelEvent& e) { return (void)e, false; }

  virtual void FocusIn() {}
  virtual void FocusOut() {}
  virtual void Resized(int width, int height) { (void)width, (void)height; }
  virtual void Scrolled(const TScrollEvent& e) { (void)e; }

  // Composition is starting (the moment to place the composition window).
  virtual void ImeStartComposition() {}
  // The composed text, as bytes. Handled: the system does not deliver the
  // same text again as characters. Not handled: it arrives through KeyPress.
  virtual bool ImeResult(const std::string& text) { return (void)text, false; }
  virtual void ImeCandidateWindow(bool open) { (void)open; }

  // Sees every message first (after WindowCreated for the creation message).
  // Return true (with m.Result set) to answer it here; false lets the host
  // translate it into the calls above, or leave it to the system. This is
  // where edit-control messages, dialog codes and a form's own messages are
  // answered.
  virtual bool HandleMessage(TMessage& m) { return (void)m, false; }
};

}  // namespace vel
