#pragma once
// Base of the editor's settings objects: one change callback, fired only when
// no update is pending, so that a batch of changes is reported once.
#include <functional>

namespace vel {

class TNotifyPersistent {
 public:
  using TNotifyEvent = std::function<void(TNotifyPersistent* Sender)>;

  TNotifyPersistent() = default;
  TNotifyPersistent(const TNotifyPersistent&) = delete;
  TNotifyPersistent& operator=(const TNotifyPersistent&) = delete;
  virtual ~TNotifyPersistent() = default;

  // Calls OnChange when the update counter is zero and a callback is set.
  virtual void Changed();
  void BeginUpdate() { ++UpdateCount; }
  // Lowers the counter and reports the change (Changed itself checks the counter).
  void EndUpdate();
  // Bound as the change callback of owned sub-objects.
  void ChangedProc(TNotifyPersistent* Sender);
  // Copies every field from a source of the same class and reports one change;
  // returns false (copying nothing) for a source of another class.
  virtual bool Assign(const TNotifyPersistent& Source);

  int GetUpdateCount() const { return UpdateCount; }

  TNotifyEvent OnChange;

 protected:
  // The setter of a notifying property: stores and reports only a real change.
  template <class T>
  void SetValue(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }

 private:
  int UpdateCount = 0;
};

}  // namespace vel
