// Components that refer to one another: each tells the others when it goes away, so that no
// reference outlives the component it points to (the tray icon's IconList and PopupMenu).
#pragma once

#include <vector>

namespace tray {

enum class Operation { Insert, Remove };

class TComponent {
 public:
  TComponent() = default;
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // From now on each of the two hears of the other's removal.
  void FreeNotification(TComponent& other);
  void RemoveFreeNotification(TComponent& other);

 protected:
  // Called when a component this one refers to is being destroyed.
  virtual void Notification(TComponent& component, Operation operation);

 private:
  void Forget(TComponent& other);
  std::vector<TComponent*> linked_;
};

}  // namespace tray
