// Step grouping of the progress sink.
#include "jpeg/core/step-progress.h"

#include <climits>

namespace pixtune {

void TProgress::Begin(int startPercent, int endPercent, long units, long granularity) {
  long range = long(endPercent) - startPercent;
  long n = units;
  long d = granularity > 0 ? granularity : 1;
  percent_ = startPercent;
  unitsDone_ = 0;
  if (range <= 0 || n <= 0) {
    // Nothing to spread: one step that moves nothing (a zero-width phase,
    // such as the resampling of a thumbnail only a few pixels wide).
    unitsPerStep_ = n > 0 ? n : 1;
    steps_ = 1;
    percentPerStep_ = 0;
    threshold_ = LONG_MAX;
    nextDue_ = unitsPerStep_;
    return;
  }
  long u = d * ((5 * n / range + d - 1) / d);
  if (u == 0)
    u = 1;
  long g = (u + n - 1) / u;
  if (g == 0)
    g = 1;
  while (n > d && g > range) {
    u = d * ((u + d) / d);
    g = (u + n - 1) / u;
  }
  unitsPerStep_ = u;
  steps_ = g;
  percentPerStep_ = int((endPercent - 4 * g - startPercent - 1) / g + 5);
  threshold_ = startPercent + long(percentPerStep_) * ((percentPerStep_ + 1) * g - range);
  nextDue_ = u;
}

void TProgress::Advance() {
  if (percent_ >= 100)
    return;
  percent_ += percent_ > threshold_ ? percentPerStep_ + 1 : percentPerStep_;
  if (percent_ > 100)
    percent_ = 100;
  nextDue_ += unitsPerStep_;
}

void TProgress::Step() {
  Advance();
  Show();
}

void TProgress::End() {
  percent_ = 100;
  Step();
}

void TProgress::begin(int startPercent, int endPercent, long units) {
  Begin(startPercent, endPercent, units, 1);
  Show();
}

void TProgress::tick() {
  ++unitsDone_;
  if (unitsDone_ >= nextDue_)
    Step();
}

void TProgress::end() { End(); }

void THostProgress::Show() {
  if (procedure_)
    procedure_(Percent(), 100);
}

} // namespace pixtune
