// The tool bar: the common control holding the tool buttons laid out in it.
#ifndef COMPONENTS_WIN32_TOOL_BAR_H
#define COMPONENTS_WIN32_TOOL_BAR_H

#include "platform/components/win32/tool-button.h"

#include "platform/components/win32/controls.h"

#include <memory>
#include <string>
#include <vector>

namespace components {

class TToolBar : public TWinControl {
public:
  explicit TToolBar(TComponent *owner);
  void SetFlat(bool flat) { flat_ = flat; }
  void SetShowCaptions(bool show) { showCaptions_ = show; }
  void SetButtonWidth(int width);
  void SetButtonHeight(int height);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;
  void command(WORD code, WORD id) override;
  bool notify(NMHDR &header, LRESULT &result) override;
  void Resize() override;
  // A new font may widen the captions: the buttons are fitted again.
  void WndProc(TMessage &message) override;

private:
  friend class TToolButton;
  void addButton(TToolButton *button);
  void removeButton(TToolButton *button);
  void insertPlatformButton(int index);
  void updateButton(TToolButton *button);
  void layoutButtons();
  TToolButton *buttonOf(int command) const;

  std::vector<TToolButton *> buttons_;
  // The width a drop-down button's arrow adds to it.
  static constexpr int DropDownArrowWidth = 15;
  void fixButtonWidth(TToolButton *button);
  // The width a button's caption needs in the bar's font, its margins
  // included.
  int captionWidth(TToolButton *button);

  bool flat_ = false;
  bool showCaptions_ = false;
  int buttonWidth_ = 23, buttonHeight_ = 22;
  int nextCommand_ = 1;
};

} // namespace components

#endif
