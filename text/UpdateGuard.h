#pragma once
// Holds an object in update mode for a scope: Begin now, End when the scope
// ends, also when an exception passes, so that a failed operation never
// leaves a list, a control's caret or a settings object in update mode.
// Begin and End are member functions of T, BeginUpdate and EndUpdate unless
// named; a null target is allowed and does nothing.
namespace vel {

template <class T, auto Begin = nullptr, auto End = nullptr>
class TUpdateGuard {
 public:
  explicit TUpdateGuard(T& Target) : TUpdateGuard(&Target) {}
  explicit TUpdateGuard(T* Target) : FTarget(Target) {
    if (!FTarget) return;
    if constexpr (Begin == nullptr)
      FTarget->BeginUpdate();
    else
      (FTarget->*Begin)();
  }
  // Ending an update may report the change, and the report may throw.
  ~TUpdateGuard() noexcept(false) {
    if (!FTarget) return;
    if constexpr (End == nullptr)
      FTarget->EndUpdate();
    else
      (FTarget->*End)();
  }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;

 private:
  T* FTarget;
};

}  // namespace vel

namespace vel {

// Raises a flag for a scope and gives it back its old value after, so that
// nested scopes (a dialog opened from a dialog) leave it as they found it.
class TFlagScope {
 public:
  explicit TFlagScope(bool& Flag) : FFlag(&Flag), FOld(Flag) { Flag = true; }
  explicit TFlagScope(bool* Flag) : FFlag(Flag), FOld(Flag && *Flag) {
    if (FFlag) *FFlag = true;
  }
  ~TFlagScope() {
    if (FFlag) *FFlag = FOld;
  }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool* FFlag;
  bool FOld;
};

}  // namespace vel
