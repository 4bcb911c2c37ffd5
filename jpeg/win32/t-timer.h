// A window timer that can be suspended: the auto-preview waits for a pause
// after the last change, and holding the source view defers it.
#ifndef JPEG_WIN32_T_TIMER_H
#define JPEG_WIN32_T_TIMER_H

#include <windows.h>

namespace pixtune {

class TTimer {
public:
  TTimer(UINT_PTR id, UINT interval) : id_(id), interval_(interval) {}
  ~TTimer() { KillIfRunning(); }
  TTimer(const TTimer &) = delete;
  TTimer &operator=(const TTimer &) = delete;

  void SetOwner(HWND owner) { owner_ = owner; }
  void SetInterval(UINT interval) { interval_ = interval; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  // (Re)starts the wait from now when enabled.
  void Start();
  void Kill();
  void KillIfRunning();
  // Kills a running timer and owes it a restart; Resume pays it.
  void Suspend();
  void Resume();

  bool Running() const { return handle_ != 0; }
  bool Suspended() const { return suspended_; }
  UINT_PTR Id() const { return id_; }

private:
  UINT_PTR handle_ = 0;
  UINT_PTR id_;
  UINT interval_;
  HWND owner_ = nullptr;
  bool enabled_ = true;
  bool suspended_ = false;
};

} // namespace pixtune

#endif
