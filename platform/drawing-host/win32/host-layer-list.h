// The layers of a page.
#ifndef PLATFORM_DRAWING_HOST_HOST_LAYER_LIST_H
#define PLATFORM_DRAWING_HOST_HOST_LAYER_LIST_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-page.h"

#include <string>
#include <vector>

namespace drawhost {

class LayerList : public com::Dispatch<IDrawLayers> {
public:
  explicit LayerList(Page *page) : page_(page) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(short *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT IndexOrName, IDrawLayer **ppLayer) override;
  HRESULT STDMETHODCALLTYPE Add(BSTR Name, IDrawLayer **ppLayer) override;

private:
  ComPtr<Page> page_;
};

} // namespace drawhost

#endif
