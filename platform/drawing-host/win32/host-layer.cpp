// The stand-in host's Layer object.
#include "platform/drawing-host/win32/host-layer.h"

#include "platform/drawing-host/win32/host-interface-table.h"
#include "platform/drawing-host/win32/host-menus.h"
#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace drawhost {

INTERFACE_TABLE(Layer, IDrawLayer)

// Layer cells live in the page sheet's layer section, one row per layer.
const short SectionLayers = 6;

HRESULT STDMETHODCALLTYPE Layer::get_Index(short *pIndex) {
  if (!pIndex)
    return E_POINTER;
  *pIndex = index_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Layer::get_Name(BSTR *pName) {
  if (!pName)
    return E_POINTER;
  *pName = nullptr;
  return base::guardCom(IID_IDrawLayer, [&] { return textOut(name_, pName); });
}

HRESULT STDMETHODCALLTYPE Layer::get_CellsC(short Column, IDrawCell **ppCell) {
  if (!ppCell)
    return E_POINTER;
  *ppCell = nullptr;
  if (page_->deleted())
    return DrawHostObjectDeleted;
  return base::guardCom(IID_IDrawLayer, [&]() -> HRESULT {
    Cell *cell =
        page_->sheet()->cellAt(SectionLayers, static_cast<short>(index_ - 1), Column, true);
    return interfaceOut(static_cast<IDrawCell *>(cell), ppCell);
  });
}

} // namespace drawhost
