#include "legacy/control/library_focus.h"

namespace legacy::control {
namespace {

FocusParticipant*& LastFocused() {
  static FocusParticipant* last = nullptr;
  return last;
}

}  // namespace

void FocusEntered(FocusParticipant& form) {
  FocusParticipant* previous = LastFocused();
  if (previous == &form) return;
  LastFocused() = &form;
  if (previous) previous->FocusLost();
  form.FocusGained();
}

void FocusForget(const FocusParticipant& form) noexcept {
  if (LastFocused() == &form) LastFocused() = nullptr;
}

}  // namespace legacy::control
