// One page of a page control: a window control shown while its tab is
// selected.
#ifndef COMPONENTS_WIN32_TAB_SHEET_H
#define COMPONENTS_WIN32_TAB_SHEET_H

#include "platform/components/win32/controls.h"

#include <memory>
#include <string>
#include <vector>

namespace components {

class TPageControl;

class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent *owner);
  ~TTabSheet() override;
  void SetPageControl(TPageControl *pageControl);
  int PageIndex() const;

protected:
  void CreateParams(TCreateParams &params) override;
  void textChanged() override;

private:
  friend class TPageControl;
  TPageControl *pageControl_ = nullptr;
};

} // namespace components

#endif
