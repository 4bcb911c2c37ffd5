// A property sheet over the common controls' one, run modally by our own
// loop: made with a caption, a parent window and the page to open first;
// pages are added in order and stay owned by the caller. The sheet's
// window is subclassed while it lives, so derived sheets answer its
// messages (onMessage) and its start (OnInitDialog). doModal returns IDOK
// when the sheet ended with its OK button (whatever that button reads),
// IDCANCEL otherwise (Cancel, the close box, Escape).
#ifndef PLATFORM_DIALOGS_PROPERTY_SHEET_DIALOG_H
#define PLATFORM_DIALOGS_PROPERTY_SHEET_DIALOG_H

#include "platform/dialogs/win32/property-page.h"
#include "platform/dialogs/win32/window.h"

#include <string>
#include <vector>

namespace dialogs {

// The command of the sheet's Apply button, which pages may also send to
// apply at once.
constexpr WORD ID_APPLY_NOW = 12321;

class CPropertySheet : public Window {
public:
  CPropertySheet(std::string caption, HWND parent, UINT startPage);
  ~CPropertySheet() override;

  void AddPage(CPropertyPage *page) { pages_.push_back(page); }
  std::size_t pageCount() const { return pages_.size(); }
  CPropertyPage *page(std::size_t index) const { return pages_[index]; }

  // Rethrows a failure of a handler after the window is gone; -1 when the
  // sheet cannot be made.
  INT_PTR doModal();
  // The window of the page in front, null when the sheet has ended.
  HWND activePageHandle() const;

protected:
  // After the common sheet's own start, before the sheet is shown.
  virtual BOOL OnInitDialog() { return TRUE; }
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

private:
  static int CALLBACK sheetCallback(HWND window, UINT message, LPARAM lParam);
  bool ended() const;

  std::string caption_;
  HWND parent_;
  UINT startPage_;
  std::vector<CPropertyPage *> pages_;
  bool okPressed_ = false;
};

} // namespace dialogs

#endif
