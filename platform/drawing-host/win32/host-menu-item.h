// A menu item of a menu set.
#ifndef PLATFORM_DRAWING_HOST_HOST_MENU_ITEM_H
#define PLATFORM_DRAWING_HOST_HOST_MENU_ITEM_H

#include "platform/drawing-host/win32/host-codes.h"

#include <string>
#include <vector>

namespace drawhost {

class MenuItem : public com::Dispatch<IDrawMenuItem> {
public:
  MenuItem(Menu *menu, std::string caption, bool separator)
      : menu_(menu), caption_(std::move(caption)), separator_(separator) {}
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_Caption(BSTR *pCaption) override;
  HRESULT STDMETHODCALLTYPE put_Caption(BSTR Caption) override;
  HRESULT STDMETHODCALLTYPE get_MiniHelp(BSTR *pHelp) override;
  HRESULT STDMETHODCALLTYPE put_MiniHelp(BSTR Help) override;
  HRESULT STDMETHODCALLTYPE get_AddOnName(BSTR *pMacro) override;
  HRESULT STDMETHODCALLTYPE put_AddOnName(BSTR Macro) override;
  HRESULT STDMETHODCALLTYPE get_IsSeparator(VARIANT_BOOL *pFlag) override;
  HRESULT STDMETHODCALLTYPE get_Index(LONG *pIndex) override;

  const std::string &caption() const { return caption_; }
  const std::string &miniHelp() const { return miniHelp_; }
  const std::string &macro() const { return macro_; }

private:
  Menu *menu_;
  std::string caption_, miniHelp_, macro_;
  bool separator_;
};

} // namespace drawhost

#endif
