// The timer: a utility window of its own receives the WM_TIMER messages.
#include "platform/components/win32/timer.h"

#include "platform/components/win32/utility-window.h"

#include "platform/components/core/exception.h"
#include "platform/components/win32/application.h"

namespace components {

namespace {
constexpr UINT_PTR timerId = 1;
} // namespace

TTimer::TTimer(TComponent *owner)
    : TComponent(owner), window_([this](TMessage &message) {
        if (message.Msg != WM_TIMER)
          return false;
        OnTimer(this);
        return true;
      }) {
  update();
}

TTimer::~TTimer() {
  if (running_)
    KillTimer(window_.Handle(), timerId);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_)
    return;
  enabled_ = enabled;
  update();
}

void TTimer::SetInterval(unsigned interval) {
  if (interval == interval_)
    return;
  interval_ = interval;
  update();
}

void TTimer::update() {
  if (running_) {
    KillTimer(window_.Handle(), timerId);
    running_ = false;
  }
  if (!enabled_ || interval_ == 0)
    return;
  if (!SetTimer(window_.Handle(), timerId, interval_, nullptr))
    throw Exception("Not enough timers available");
  running_ = true;
}

} // namespace components
