// A layer of a page.
#ifndef PLATFORM_DRAWING_HOST_HOST_LAYER_H
#define PLATFORM_DRAWING_HOST_HOST_LAYER_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-page.h"

#include <string>
#include <vector>

namespace drawhost {

class Layer : public com::Dispatch<IDrawLayer> {
public:
  Layer(Page *page, short index, std::string name)
      : page_(page), index_(index), name_(std::move(name)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Index(short *pIndex) override;
  HRESULT STDMETHODCALLTYPE get_Name(BSTR *pName) override;
  HRESULT STDMETHODCALLTYPE get_CellsC(short Column, IDrawCell **ppCell) override;
  const std::string &name() const { return name_; }

private:
  ComPtr<Page> page_;
  short index_; // 1-based
  std::string name_;
};

} // namespace drawhost

#endif
