// The encoder's progress reported through the host's progress procedure
// as done out of 100.
#ifndef JPEG_WIN32_HOST_PROGRESS_H
#define JPEG_WIN32_HOST_PROGRESS_H

#include "jpeg/core/jpeg-encoder.h"
#include "platform/plugin-host/core/plugin-interface.h"

namespace pixtune {

class HostProgress final : public ProgressSink {
public:
  explicit HostProgress(plugin::ProgressProc proc) : proc_(proc) {}
  void begin(int startPercent, int endPercent, long units) override;
  void tick() override;
  void end() override;

private:
  void report();
  plugin::ProgressProc proc_;
  int start_ = 0, end_ = 100;
  long units_ = 1, done_ = 0;
  int lastReported_ = -1;
};

} // namespace pixtune

#endif
