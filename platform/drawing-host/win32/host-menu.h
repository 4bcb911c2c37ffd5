// A menu of a menu set and its items.
#ifndef PLATFORM_DRAWING_HOST_HOST_MENU_H
#define PLATFORM_DRAWING_HOST_HOST_MENU_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-menu-item.h"

#include <string>
#include <vector>

namespace drawhost {

class Menu : public com::Dispatch<IDrawMenu> {
public:
  explicit Menu(std::string caption) : caption_(std::move(caption)) {}
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_Caption(BSTR *pCaption) override;
  HRESULT STDMETHODCALLTYPE get_MenuItems(IDrawMenuItems **ppItems) override;

  const std::string &caption() const { return caption_; }
  std::vector<ComPtr<MenuItem>> &items() { return items_; }
  MenuItem *insert(size_t index, const std::string &caption, bool separator);
  long indexOf(const MenuItem *item) const;

private:
  std::string caption_;
  std::vector<ComPtr<MenuItem>> items_;
};

} // namespace drawhost

#endif
