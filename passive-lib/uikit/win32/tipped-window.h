// Tool tips and context help over a dialog-based window (a dialog or a
// property page): the tool-tip control is made when the window starts
// (active while the tips-active flag is set), the derived window adds its
// tools in AddTools, and F1 or a right click opens the help file with the
// derived window's help-ID table.
#ifndef PASSIVE_LIB_UIKIT_TIPPED_WINDOW_H
#define PASSIVE_LIB_UIKIT_TIPPED_WINDOW_H

#include "passive-lib/uikit/win32/tip-support.h"

#include "platform/dialogs/win32/tool-tip.h"

#include <utility>

namespace uikit {

template <class Base> class TippedWindow : public Base {
public:
  template <class... Args>
  explicit TippedWindow(Args &&...args) : Base(std::forward<Args>(args)...) {}

protected:
  virtual HelpIdTable helpIds() const { return nullptr; }
  virtual bool AddTools() { return true; }

  virtual bool CreateToolTips() {
    if (!toolTip_.create(this->handle()))
      return false;
    if (tipsActive_)
      toolTip_.activate(true);
    return AddTools();
  }

  BOOL OnInitDialog() override {
    Base::OnInitDialog();
    CreateToolTips();
    return TRUE;
  }

  bool preTranslate(MSG &message) override {
    relayToToolTip(this->handle(), toolTip_, tipsActive_, message);
    return Base::preTranslate(message);
  }

  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override {
    if (message == WM_HELP || message == WM_CONTEXTMENU) {
      answerHelpRequest(message, wParam, lParam, helpIds());
      result = TRUE;
      return true;
    }
    return Base::onMessage(message, wParam, lParam, result);
  }

  dialogs::ToolTip toolTip_;
  bool tipsActive_ = true;
};

} // namespace uikit

#endif
