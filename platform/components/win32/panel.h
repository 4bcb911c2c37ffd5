// A panel with a bevel.
#ifndef COMPONENTS_WIN32_PANEL_H
#define COMPONENTS_WIN32_PANEL_H

#include "platform/components/win32/controls.h"

#include <string>
#include <vector>

namespace components {

enum TPanelBevel { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
public:
  explicit TPanel(TComponent *owner);
  void SetBevelOuter(TPanelBevel bevel);

protected:
  void CreateParams(TCreateParams &params) override;
  void Paint(TCanvas &canvas) override;
  void textChanged() override {
    TWinControl::textChanged();
    Invalidate();
  }
  RECT alignArea() override;

private:
  TPanelBevel bevelOuter_ = bvRaised;
};

} // namespace components

#endif
