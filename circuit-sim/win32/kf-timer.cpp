#include "circuit-sim/win32/kf-timer.h"

#include "circuit-sim/core/stopwatch-math.h"

#include <windows.h>

namespace qorsim {

namespace {

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

bool CKFTimer::start() {
  start_ = stop_ = counterNow();
  return counterFrequency() > 0;
}

void CKFTimer::stop() { stop_ = counterNow(); }

std::int64_t CKFTimer::elapsed() const {
  return elapsedNanoseconds(start_, stop_, counterFrequency());
}

} // namespace qorsim
