#pragma once
// Window services for portable controls: a control paints, scrolls, shows a
// caret and takes focus through this interface, never through a raw handle.
#include <functional>
#include <memory>

#include "platform/Canvas.h"
#include "platform/Cursors.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"

namespace vel {

enum class TScrollBarKind { Horizontal, Vertical };

struct TScrollInfo {
  int Min = 0, Max = 0, Page = 0, Pos = 0;
  bool operator==(const TScrollInfo&) const = default;
};

class IWindow {
 public:
  virtual ~IWindow() = default;
  virtual TWindowHandle Handle() const = 0;
  virtual TRect ClientRect() const = 0;

  // Marks r (client coordinates) for repainting; the whole client when r is null.
  virtual void Invalidate(const TRect* r) = 0;
  // Paints what is invalid now instead of at the next idle moment.
  virtual void Update() = 0;
  // Moves the pixels of area by (dx, dy) and invalidates what was uncovered.
  virtual void Scroll(int dx, int dy, const TRect& area) = 0;
  // A canvas on the client area for drawing outside a paint pass (measuring too).
  virtual std::unique_ptr<ICanvas> GetCanvas() = 0;

  virtual bool Focused() const = 0;
  virtual void SetFocus() = 0;
  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual void SetCursor(TCursor c) = 0;

  virtual void SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info) = 0;
  virtual TScrollInfo GetScrollInfo(TScrollBarKind bar) const = 0;

  // The system caret: one per focused window.
  virtual void CreateCaret(int width, int height) = 0;
  virtual void SetCaretPos(int x, int y) = 0;
  virtual void ShowCaret() = 0;
  virtual void HideCaret() = 0;
  virtual void DestroyCaret() = 0;

  // Places the input method's composition window at (x, y), client
  // coordinates, composing in font.
  virtual void SetImeCompositionWindow(int x, int y, const TFontSpec& font) = 0;
};

// A repeating timer on the user-interface thread; stops when destroyed.
class ITimer {
 public:
  virtual ~ITimer() = default;
  virtual void SetEnabled(bool on) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetInterval(int ms) = 0;
  virtual int Interval() const = 0;
};

std::unique_ptr<ITimer> CreateTimer(int intervalMs, std::function<void()> onTimer);

}  // namespace vel
