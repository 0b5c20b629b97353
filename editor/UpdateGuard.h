#pragma once
// Holds an object in update mode for a scope: Begin now, End when the scope
// ends, also when an exception passes, so that a failed operation never
// leaves a list, a control's caret or a settings object in update mode.
// Begin and End default to BeginUpdate and EndUpdate; a null target is
// allowed and does nothing.
namespace vel {

template <class T, void (T::*Begin)() = &T::BeginUpdate, void (T::*End)() = &T::EndUpdate>
class TUpdateGuard {
 public:
  explicit TUpdateGuard(T& Target) : TUpdateGuard(&Target) {}
  explicit TUpdateGuard(T* Target) : FTarget(Target) {
    if (FTarget) (FTarget->*Begin)();
  }
  // Ending an update may report the change, and the report may throw.
  ~TUpdateGuard() noexcept(false) {
    if (FTarget) (FTarget->*End)();
  }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;

 private:
  T* FTarget;
};

}  // namespace vel
