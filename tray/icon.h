// TIcon: the icon a tray icon shows. It holds a system icon handle together with what releases
// it (nothing for a shared resource icon) and reports every change.
#pragma once

#include <cstdint>
#include <memory>

#include "common/event.h"

namespace tray {

// A system icon; the deleter destroys it when the icon is ours to destroy.
using IconHandle = std::shared_ptr<void>;

class TIcon {
 public:
  using ChangeEvent = common::Event<TIcon&>;
  ChangeEvent OnChange;

  const IconHandle& Handle() const noexcept { return handle_; }
  // The handle as the shell takes it; 0 when there is no icon.
  std::uintptr_t NativeHandle() const noexcept {
    return reinterpret_cast<std::uintptr_t>(handle_.get());
  }
  bool Empty() const noexcept { return !handle_; }

  void Assign(IconHandle handle) {
    handle_ = std::move(handle);
    OnChange(*this);
  }

 private:
  IconHandle handle_;
};

}  // namespace tray
