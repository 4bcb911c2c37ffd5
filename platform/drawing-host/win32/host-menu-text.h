// The text properties of the stand-in host's menus and menu items.
#ifndef PLATFORM_DRAWING_HOST_HOST_MENU_TEXT_H
#define PLATFORM_DRAWING_HOST_HOST_MENU_TEXT_H

#include "platform/drawing-host/win32/host-menu-item.h"
#include "platform/drawing-host/win32/host-text.h"

#include "platform/base/win32/com-error.h"

#include <string>

namespace drawhost {

inline HRESULT textProperty(const std::string &value, BSTR *out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  return base::guardCom(IID_IDrawMenuItem, [&] { return textOut(value, out); });
}

inline HRESULT setText(std::string &value, BSTR text) {
  return base::guardCom(IID_IDrawMenuItem, [&]() -> HRESULT {
    value = base::Bstr::toAnsiText(text);
    return S_OK;
  });
}

} // namespace drawhost

#endif
