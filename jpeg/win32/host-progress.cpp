// Progress towards the host.
#include "jpeg/win32/host-progress.h"

namespace pixtune {

void HostProgress::begin(int startPercent, int endPercent, long units) {
  start_ = startPercent;
  end_ = endPercent;
  units_ = units > 0 ? units : 1;
  done_ = 0;
  report();
}

void HostProgress::tick() {
  if (done_ < units_)
    ++done_;
  report();
}

void HostProgress::end() {
  done_ = units_;
  report();
}

// Hosts redraw on every call, so only a changed percentage is reported.
void HostProgress::report() {
  int percent = start_ + static_cast<int>(static_cast<long long>(end_ - start_) * done_ / units_);
  if (!proc_ || percent == lastReported_)
    return;
  lastReported_ = percent;
  proc_(percent, 100);
}

} // namespace pixtune
