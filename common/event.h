// A component's event: a handler together with its context. "Assigned" means a handler is
// set; the sender comes first, and handlers answer through by-reference parameters.
#pragma once

#include <functional>
#include <utility>

namespace common {

template <class... Args>
class Event {
 public:
  using Handler = std::function<void(Args...)>;

  Event() = default;
  Event(Handler handler) : handler_(std::move(handler)) {}  // NOLINT: implicit by design
  template <class Object>
  Event(Object* context, void (Object::*method)(Args...))
      : handler_([context, method](Args... args) { (context->*method)(std::forward<Args>(args)...); }) {}

  bool Assigned() const noexcept { return static_cast<bool>(handler_); }
  void Clear() noexcept { handler_ = nullptr; }

  // Calls the handler if one is assigned; an unassigned event does nothing.
  void operator()(Args... args) const {
    if (handler_) handler_(std::forward<Args>(args)...);
  }

 private:
  Handler handler_;
};

}  // namespace common
