// The progress bar: the common control with its range and position.
#ifndef COMPONENTS_WIN32_PROGRESS_BAR_H
#define COMPONENTS_WIN32_PROGRESS_BAR_H

#include "platform/components/win32/controls.h"

#include <memory>
#include <string>
#include <vector>

namespace components {

class TProgressBar : public TWinControl {
public:
  explicit TProgressBar(TComponent *owner);
  void SetMin(int min);
  void SetMax(int max);
  int Position() const { return position_; }
  void SetPosition(int position);

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;

private:
  int min_ = 0, max_ = 100, position_ = 0;
};

} // namespace components

#endif
