// Which form of the library (a KalloraPlus control or the About window) last took the keyboard
// focus; a form that takes it from another is activated, the other deactivated. One record
// for the whole process, as the library's forms share one focus.
#pragma once

namespace legacy::control {

class FocusParticipant {
 public:
  virtual ~FocusParticipant() = default;
  virtual void FocusGained() = 0;
  virtual void FocusLost() = 0;
};

// One of `form`'s windows took the focus.
void FocusEntered(FocusParticipant& form);
// `form` is going away: it is no longer the last focused form.
void FocusForget(const FocusParticipant& form) noexcept;

}  // namespace legacy::control
