// The encoder's progress on an option page's own progress bar (1044),
// shown only while the page's window exists.
#ifndef JPEG_WIN32_PAGE_PROGRESS_H
#define JPEG_WIN32_PAGE_PROGRESS_H

#include "jpeg/core/step-progress.h"
#include "jpeg/win32/t-window.h"

namespace pixtune {

class TPageProgress final : public TProgress {
public:
  explicit TPageProgress(const TWindow &page) : page_(page) {}

private:
  void Show() override;
  const TWindow &page_;
};

} // namespace pixtune

#endif
