// Events of components: a method reference that is called only when it has
// been assigned. The sender comes first, as every event of the two programs
// passes it.
#ifndef COMPONENTS_EVENT_H
#define COMPONENTS_EVENT_H

#include <functional>
#include <utility>

namespace components {

class TObject {
public:
  virtual ~TObject() = default;
};

template <typename... Args> class Event {
public:
  Event() = default;
  template <typename Handler> Event(Handler handler) : handler_(std::move(handler)) {}

  bool Assigned() const { return static_cast<bool>(handler_); }
  void Clear() { handler_ = nullptr; }

  // Calls the handler when one is assigned; does nothing otherwise.
  void operator()(Args... args) const {
    if (handler_)
      handler_(std::forward<Args>(args)...);
  }

private:
  std::function<void(Args...)> handler_;
};

using TNotifyEvent = Event<TObject *>;

} // namespace components

#endif
