// A process-wide hidden window shared by its users (timers, tray icons): created with the
// first user, destroyed with the last, and finding the live user a message names.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace tray {

template <class User, class Window>
class SharedWindowHandler {
 public:
  SharedWindowHandler(const SharedWindowHandler&) = delete;
  SharedWindowHandler& operator=(const SharedWindowHandler&) = delete;

  // Number of live users.
  std::uint32_t UserCount() const noexcept { return static_cast<std::uint32_t>(users_.size()); }
  Window& GetWindow() noexcept { return *window_; }

  void AddUser(User& user) { users_.push_back(&user); }
  void RemoveUser(User& user) {
    users_.erase(std::remove(users_.begin(), users_.end(), &user), users_.end());
  }

 protected:
  SharedWindowHandler() = default;
  ~SharedWindowHandler() = default;
  void SetWindow(std::unique_ptr<Window> window) { window_ = std::move(window); }

  // The live user of that identifier; null for one already destroyed, whose message may still
  // have been waiting in the queue.
  User* FindUser(std::uintptr_t identifier) const {
    auto found = std::find_if(users_.begin(), users_.end(),
                              [identifier](User* user) { return user->Identifier() == identifier; });
    return found == users_.end() ? nullptr : *found;
  }

 private:
  std::vector<User*> users_;
  std::unique_ptr<Window> window_;
};

// The process-wide variable holding a Handler, with attaching and detaching users.
template <class Handler>
class SharedHandlerSlot {
 public:
  static Handler* Get() noexcept { return Slot().get(); }

  template <class User>
  static Handler& Attach(User& user) {
    auto& handler = Slot();
    if (!handler) handler = std::make_unique<Handler>();
    handler->AddUser(user);
    return *handler;
  }

  template <class User>
  static void Detach(User& user) {
    auto& handler = Slot();
    if (!handler || handler->UserCount() == 0) return;
    handler->RemoveUser(user);
    if (handler->UserCount() == 0) handler.reset();
  }

 private:
  // A handler still alive when the process ends is destroyed with it.
  static std::unique_ptr<Handler>& Slot() {
    static std::unique_ptr<Handler> handler;
    return handler;
  }
};

}  // namespace tray
