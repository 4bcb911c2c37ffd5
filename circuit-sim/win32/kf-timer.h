// CKFTimer: a stopwatch on the high-resolution counter, in nanoseconds.
#ifndef CIRCUIT_SIM_KF_TIMER_H
#define CIRCUIT_SIM_KF_TIMER_H

#include <cstdint>

namespace qorsim {

class CKFTimer {
public:
  // Reads the counter into the start value; false without a counter.
  bool start();
  void stop();
  // Nanoseconds from start to stop; -1 without a high-resolution counter.
  std::int64_t elapsed() const;

private:
  std::int64_t start_ = 0, stop_ = 0;
};

} // namespace qorsim

#endif
