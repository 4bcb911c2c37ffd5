// CKFTimer: the stopwatch the circuit object times its DC solve with, on
// the high-resolution counter, in nanoseconds. A timer may also run one
// window timer of its thread, which stops the stopwatch when it fires,
// and one multimedia timer, which sets an event when it fires (so that no
// code of ours runs on the multimedia timer's own thread; the waiter pumps
// messages). Every timer is entered in a process-wide registry of live
// timers for its lifetime, and each running window timer in a map from
// its identifier to its timer, so that a firing finds its timer, and one
// whose timer has gone finds none. Both maps belong to the host's user-
// interface thread and are freed when they empty.
#ifndef CIRCUIT_SIM_KF_TIMER_H
#define CIRCUIT_SIM_KF_TIMER_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace qorsim {

class CKFTimer {
public:
  CKFTimer();
  // Stops its timers first.
  ~CKFTimer();
  CKFTimer(const CKFTimer &) = delete;
  CKFTimer &operator=(const CKFTimer &) = delete;

  // Reads the counter into the start value; false without a counter.
  bool start();
  void stop();
  // Nanoseconds from start to stop; -1 without a high-resolution counter.
  std::int64_t elapsed() const;

  // Starts the stopwatch and a window timer of this thread that stops it
  // after `milliseconds` (once). False when the timer cannot be made.
  bool stopAfter(UINT milliseconds);
  // Sets `event` once after `milliseconds` by a multimedia timer. False
  // when the timer cannot be made.
  bool signalAfter(UINT milliseconds, HANDLE event);
  // Kills a live multimedia timer and the window timer, forgetting the
  // window timer's identifier.
  void stopTimers();
  bool windowTimerRunning() const { return windowTimer_ != 0; }
  bool multimediaTimerLive() const { return multimediaLive_; }

  // Whether a timer lives at that address; the number of running window
  // timers. For the process's own checks and its tests.
  static bool isLive(const CKFTimer *timer);
  static std::size_t runningWindowTimers();

private:
  static void CALLBACK windowTimerFired(HWND, UINT, UINT_PTR id, DWORD);
  void killWindowTimer();

  std::int64_t start_ = 0, stop_ = 0;
  UINT multimediaTimer_ = 0;
  UINT_PTR windowTimer_ = 0;
  bool multimediaLive_ = false;
};

} // namespace qorsim

#endif
