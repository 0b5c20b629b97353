#pragma once
// The standard box for an exception nobody handled, and the barrier that
// keeps exceptions from leaving into the system through a callback (a window
// procedure, a timer procedure, an enumeration callback): the system cannot
// unwind them and the process would end.
#include <exception>
#include <type_traits>

namespace vel {

// Shows the exception's message (with a full stop added) under the
// application's title. While one box is up, further exceptions are dropped:
// a failing timer would otherwise stack a box on every tick.
void ShowStandardException(const std::exception& e) noexcept;
void ShowUnknownException() noexcept;

// Runs f; an exception it throws is shown in the standard box and the
// callback answers onException instead.
template <typename F, typename R = std::invoke_result_t<F&>>
R CallbackBarrier(F&& f, std::conditional_t<std::is_void_v<R>, int, R> onException = {}) noexcept {
  try {
    if constexpr (std::is_void_v<R>) {
      f();
      (void)onException;
      return;
    } else {
      return f();
    }
  } catch (const std::exception& e) {
    ShowStandardException(e);
  } catch (...) {
    ShowUnknownException();
  }
  if constexpr (!std::is_void_v<R>) return onException;
}

}  // namespace vel
