// One panel of a status bar: its width, text and alignment, shown by the bar
// it belongs to.
#ifndef COMPONENTS_WIN32_STATUS_PANEL_H
#define COMPONENTS_WIN32_STATUS_PANEL_H

#include "platform/components/win32/controls.h"

#include <memory>
#include <string>
#include <vector>

namespace components {

class TStatusBar;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TStatusPanel {
public:
  TStatusPanel(TStatusBar &bar, int index) : bar_(bar), index_(index) {}
  int Width() const { return width_; }
  void SetWidth(int width);
  void SetText(const std::string &text);
  void SetAlignment(TAlignment alignment);

private:
  friend class TStatusBar;
  TStatusBar &bar_;
  int index_;
  int width_ = 50;
  std::string text_;
  TAlignment alignment_ = taLeftJustify;
};

} // namespace components

#endif
