// The stand-in host's LayerList object.
#include "platform/drawing-host/win32/host-layer-list.h"

#include "platform/drawing-host/win32/host-interface-table.h"
#include "platform/drawing-host/win32/host-menus.h"
#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace drawhost {

INTERFACE_TABLE(LayerList, IDrawLayers)

HRESULT STDMETHODCALLTYPE LayerList::get_Count(short *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<short>(page_->layerNames().size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE LayerList::get_Item(VARIANT IndexOrName, IDrawLayer **ppLayer) {
  if (!ppLayer)
    return E_POINTER;
  *ppLayer = nullptr;
  return base::guardCom(IID_IDrawLayers, [&]() -> HRESULT {
    const std::vector<std::string> &names = page_->layerNames();
    size_t index = names.size();
    if (V_VT(&IndexOrName) == VT_BSTR) {
      std::string name = base::Bstr::toAnsiText(V_BSTR(&IndexOrName));
      for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name)
          index = i;
      }
      if (index == names.size())
        return DrawHostNoSuchItem;
    } else {
      base::Variant number;
      if (FAILED(VariantChangeType(number.get(), &IndexOrName, 0, VT_I4)))
        return E_INVALIDARG;
      LONG i = V_I4(number.get());
      if (i < 1 || static_cast<size_t>(i) > names.size())
        return E_INVALIDARG;
      index = static_cast<size_t>(i - 1);
    }
    return com::Object<Layer>::create(IID_IDrawLayer, reinterpret_cast<void **>(ppLayer),
                                      page_.get(), static_cast<short>(index + 1), names[index]);
  });
}

HRESULT STDMETHODCALLTYPE LayerList::Add(BSTR Name, IDrawLayer **ppLayer) {
  if (!ppLayer)
    return E_POINTER;
  *ppLayer = nullptr;
  if (page_->deleted())
    return DrawHostObjectDeleted;
  return base::guardCom(IID_IDrawLayers, [&]() -> HRESULT {
    std::string name = base::Bstr::toAnsiText(Name);
    short index = page_->addLayer(name);
    return com::Object<Layer>::create(IID_IDrawLayer, reinterpret_cast<void **>(ppLayer),
                                      page_.get(), index, name);
  });
}

} // namespace drawhost
