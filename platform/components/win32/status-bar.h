// The status bar: the common control with its panels, or one simple text.
#ifndef COMPONENTS_WIN32_STATUS_BAR_H
#define COMPONENTS_WIN32_STATUS_BAR_H

#include "platform/components/win32/status-panel.h"

#include "platform/components/win32/controls.h"

#include <memory>
#include <string>
#include <vector>

namespace components {

class TStatusBar : public TWinControl {
public:
  explicit TStatusBar(TComponent *owner);
  TStatusPanel &AddPanel();
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  TStatusPanel &Panels(int index) { return *panels_.at(index); }
  void SetSimplePanel(bool simple);
  const std::string &SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string &text);

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;

private:
  friend class TStatusPanel;
  void updateParts();
  void updatePanel(const TStatusPanel &panel);

  std::vector<std::unique_ptr<TStatusPanel>> panels_;
  bool simplePanel_ = false;
  std::string simpleText_;
};

} // namespace components

#endif
