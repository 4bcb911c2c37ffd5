// The page control: a tab control whose tabs show their pages.
#ifndef COMPONENTS_WIN32_PAGE_CONTROL_H
#define COMPONENTS_WIN32_PAGE_CONTROL_H

#include "platform/components/win32/tab-sheet.h"

#include "platform/components/win32/controls.h"

#include <memory>
#include <string>
#include <vector>

namespace components {

class TPageControl : public TWinControl {
public:
  explicit TPageControl(TComponent *owner);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet *ActivePage() const { return activePage_; }
  // Shows the page; OnChange fires only when the user picks a tab.
  void SetActivePage(TTabSheet *page);
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

} // namespace components

#endif
