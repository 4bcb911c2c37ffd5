#include "circuit-sim/win32/kf-timer.h"

#include "circuit-sim/core/stopwatch-math.h"
#include "circuit-sim/core/timer-registry.h"

#include <mmsystem.h>

namespace qorsim {

namespace {

// The two process-wide maps, made with their first entry and freed with
// their last: a DLL holds no static object with a constructor.
TimerRegistry *liveTimers = nullptr;
TimerRegistry *windowTimers = nullptr;

void enter(TimerRegistry *&registry, std::uintptr_t key, void *value) {
  if (!registry)
    registry = new TimerRegistry;
  registry->set(key, value);
}

void leave(TimerRegistry *&registry, std::uintptr_t key) {
  if (!registry)
    return;
  registry->remove(key);
  if (registry->size() == 0) {
    delete registry;
    registry = nullptr;
  }
}

std::uintptr_t keyOf(const CKFTimer *timer) { return reinterpret_cast<std::uintptr_t>(timer); }

// The counter's frequency does not change while the system runs.
std::int64_t counterFrequency() {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER value{};
    return QueryPerformanceFrequency(&value) ? static_cast<std::int64_t>(value.QuadPart) : 0;
  }();
  return frequency;
}

std::int64_t counterNow() {
  LARGE_INTEGER value{};
  return QueryPerformanceCounter(&value) ? static_cast<std::int64_t>(value.QuadPart) : 0;
}

} // namespace

CKFTimer::CKFTimer() { enter(liveTimers, keyOf(this), this); }

CKFTimer::~CKFTimer() {
  stopTimers();
  leave(liveTimers, keyOf(this));
}

bool CKFTimer::start() {
  start_ = stop_ = counterNow();
  return counterFrequency() > 0;
}

void CKFTimer::stop() { stop_ = counterNow(); }

std::int64_t CKFTimer::elapsed() const {
  return elapsedNanoseconds(start_, stop_, counterFrequency());
}

void CKFTimer::killWindowTimer() {
  if (!windowTimer_)
    return;
  KillTimer(nullptr, windowTimer_);
  leave(windowTimers, windowTimer_);
  windowTimer_ = 0;
}

bool CKFTimer::stopAfter(UINT milliseconds) {
  killWindowTimer();
  windowTimer_ = SetTimer(nullptr, 0, milliseconds, windowTimerFired);
  if (!windowTimer_)
    return false;
  enter(windowTimers, windowTimer_, this);
  start();
  return true;
}

bool CKFTimer::signalAfter(UINT milliseconds, HANDLE event) {
  if (multimediaLive_)
    timeKillEvent(multimediaTimer_);
  multimediaTimer_ = timeSetEvent(milliseconds, 1, reinterpret_cast<LPTIMECALLBACK>(event), 0,
                                  TIME_ONESHOT | TIME_CALLBACK_EVENT_SET | TIME_KILL_SYNCHRONOUS);
  multimediaLive_ = multimediaTimer_ != 0;
  return multimediaLive_;
}

void CKFTimer::stopTimers() {
  if (multimediaLive_) {
    timeKillEvent(multimediaTimer_);
    multimediaLive_ = false;
    multimediaTimer_ = 0;
  }
  killWindowTimer();
}

// A firing whose timer has gone (or was stopped meanwhile) finds nothing
// in the identifier map and only kills the system's timer.
void CALLBACK CKFTimer::windowTimerFired(HWND, UINT, UINT_PTR id, DWORD) {
  auto *timer = static_cast<CKFTimer *>(windowTimers ? windowTimers->find(id) : nullptr);
  if (!timer || !isLive(timer)) {
    KillTimer(nullptr, id);
    return;
  }
  timer->stop();
  timer->killWindowTimer(); // it fires once
}

bool CKFTimer::isLive(const CKFTimer *timer) {
  return liveTimers && liveTimers->find(keyOf(timer)) != nullptr;
}

std::size_t CKFTimer::runningWindowTimers() { return windowTimers ? windowTimers->size() : 0; }

} // namespace qorsim
