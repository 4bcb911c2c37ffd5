// Suspendable window timer.
#include "jpeg/win32/t-timer.h"

namespace pixtune {

void TTimer::Start() {
  if (!enabled_)
    return;
  KillIfRunning();
  handle_ = SetTimer(owner_, id_, interval_, nullptr);
}

void TTimer::Kill() {
  if (handle_)
    KillTimer(owner_, id_);
  handle_ = 0;
}

void TTimer::KillIfRunning() {
  if (handle_)
    Kill();
}

void TTimer::Suspend() {
  if (!handle_)
    return;
  suspended_ = true;
  Kill();
}

void TTimer::Resume() {
  if (!suspended_)
    return;
  suspended_ = false;
  Start();
}

} // namespace pixtune
