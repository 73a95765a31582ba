// Removal notices between components.
#include "tray/component.h"

#include <algorithm>

namespace tray {

TComponent::~TComponent() {
  // Each notified component may drop its own links, so take them one at a time.
  while (!linked_.empty()) {
    TComponent* other = linked_.back();
    linked_.pop_back();
    other->Forget(*this);
    other->Notification(*this, Operation::Remove);
  }
}

void TComponent::FreeNotification(TComponent& other) {
  if (&other == this || std::find(linked_.begin(), linked_.end(), &other) != linked_.end()) return;
  linked_.push_back(&other);
  other.linked_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent& other) {
  Forget(other);
  other.Forget(*this);
}

void TComponent::Notification(TComponent&, Operation) {}

void TComponent::Forget(TComponent& other) {
  linked_.erase(std::remove(linked_.begin(), linked_.end(), &other), linked_.end());
}

}  // namespace tray
