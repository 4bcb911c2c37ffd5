// The common controls: status bar with panels, progress bar, page control
// with tab sheets, and tool bar with tool buttons.
#ifndef COMPONENTS_WIN32_COMMON_CONTROLS_H
#define COMPONENTS_WIN32_COMMON_CONTROLS_H

#include "platform/components/win32/controls.h"

#include <memory>
#include <string>
#include <vector>

namespace components {

class TPopupMenu;
class TStatusBar;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TStatusPanel {
public:
  TStatusPanel(TStatusBar &bar, int index) : bar_(bar), index_(index) {}
  int Width() const { return width_; }
  void SetWidth(int width);
  const std::string &Text() const { return text_; }
  void SetText(const std::string &text);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

private:
  friend class TStatusBar;
  TStatusBar &bar_;
  int index_;
  int width_ = 50;
  std::string text_;
  TAlignment alignment_ = taLeftJustify;
};

class TStatusBar : public TWinControl {
public:
  explicit TStatusBar(TComponent *owner);
  TStatusPanel &AddPanel();
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  TStatusPanel &Panels(int index) { return *panels_.at(index); }
  bool SimplePanel() const { return simplePanel_; }
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

class TProgressBar : public TWinControl {
public:
  explicit TProgressBar(TComponent *owner);
  int Min() const { return min_; }
  int Max() const { return max_; }
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

class TPageControl;

class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent *owner);
  ~TTabSheet() override;
  TPageControl *PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl *pageControl);
  int PageIndex() const;

protected:
  void CreateParams(TCreateParams &params) override;
  void textChanged() override;

private:
  friend class TPageControl;
  TPageControl *pageControl_ = nullptr;
};

class TPageControl : public TWinControl {
public:
  explicit TPageControl(TComponent *owner);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet *Pages(int index) const { return pages_.at(index); }
  TTabSheet *ActivePage() const { return activePage_; }
  // Shows the page; OnChange fires only when the user picks a tab.
  void SetActivePage(TTabSheet *page);
  int ActivePageIndex() const;
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams &params) override;
  void handleCreated() override;
  bool notify(NMHDR &header, LRESULT &result) override;
  void Resize() override;

private:
  friend class TTabSheet;
  void insertPage(TTabSheet *page);
  void removePage(TTabSheet *page);
  void insertTab(int index);
  void layoutPages();

  std::vector<TTabSheet *> pages_;
  TTabSheet *activePage_ = nullptr;
};

class TToolBar;
enum TToolButtonStyle { tbsButton, tbsDropDown, tbsSeparator };

// A button of a tool bar: a platform tool-bar button, laid out by the bar.
class TToolButton : public TGraphicControl {
public:
  explicit TToolButton(TComponent *owner);
  ~TToolButton() override;
  void SetParent(TWinControl *parent) override;
  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle style) { style_ = style; }
  TPopupMenu *DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu *menu) { dropdownMenu_ = menu; }
  void Notification(TComponent *component, bool removing) override;
  // The command number the bar reports for this button.
  int Command() const { return command_; }

protected:
  void textChanged() override;
  void enabledChanged() override;

private:
  friend class TToolBar;
  TToolBar *bar() const;
  TToolButtonStyle style_ = tbsButton;
  TPopupMenu *dropdownMenu_ = nullptr;
  int command_ = 0;
};

class TToolBar : public TWinControl {
public:
  explicit TToolBar(TComponent *owner);
  bool Flat() const { return flat_; }
  void SetFlat(bool flat) { flat_ = flat; }
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool show) { showCaptions_ = show; }
  int ButtonWidth() const { return buttonWidth_; }
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonWidth(int width);
  void SetButtonHeight(int height);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TToolButton *Buttons(int index) const { return buttons_.at(index); }

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
