// Progress shown in coarse steps: the encoder's units are grouped so that a
// phase from one percentage to another advances in a handful of steps of
// equal size, whatever the number of units. The display is per subclass:
// the page's progress bar, or the host's progress procedure.
#ifndef JPEG_CORE_STEP_PROGRESS_H
#define JPEG_CORE_STEP_PROGRESS_H

#include "jpeg/core/jpeg-encoder.h"

#include <cstdint>

namespace pixtune {

class TProgress : public ProgressSink {
public:
  // A phase from startPercent to endPercent over units units, grouped in
  // multiples of granularity. An empty or reversed range, or no units,
  // starts a phase that holds its percentage.
  void Begin(int startPercent, int endPercent, long units, long granularity);
  // Advance one step, then show.
  void Step();
  // 100 percent, shown.
  void End();

  // ProgressSink: the encoder reports single units; a step is taken each
  // time the units reach the next step's due point.
  void begin(int startPercent, int endPercent, long units) override;
  void tick() override;
  void end() override;

  int Percent() const { return percent_; }
  long UnitsPerStep() const { return unitsPerStep_; }
  int PercentPerStep() const { return percentPerStep_; }
  long Steps() const { return steps_; }

protected:
  virtual void Show() = 0;
  ~TProgress() = default;

private:
  void Advance();
  long unitsPerStep_ = 1;
  int percentPerStep_ = 0;
  long steps_ = 1;
  long nextDue_ = 1;
  long unitsDone_ = 0;
  int percent_ = 0;
  long threshold_ = 0;
};

// The export's progress, shown through the host's progress procedure as
// the current percent out of 100 at every step.
class THostProgress final : public TProgress {
public:
  using Procedure = void (*)(std::int32_t done, std::int32_t total);
  explicit THostProgress(Procedure procedure) : procedure_(procedure) {}

private:
  void Show() override;
  Procedure procedure_;
};

} // namespace pixtune

#endif
