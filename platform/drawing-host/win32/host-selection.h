// The subject of the shapes-added event: the new shapes and their page.
#ifndef PLATFORM_DRAWING_HOST_HOST_SELECTION_H
#define PLATFORM_DRAWING_HOST_HOST_SELECTION_H

#include "platform/drawing-host/win32/host-codes.h"

#include <string>
#include <vector>

namespace drawhost {

// The subject of the shapes-added event: the new shapes and their page.
class Selection : public com::Dispatch<IDrawSelection> {
public:
  Selection(std::vector<ComPtr<Shape>> items, Page *page);
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(LONG *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(LONG Index, IDrawShape **ppShape) override;
  HRESULT STDMETHODCALLTYPE get_ContainingPage(IDrawPage **ppPage) override;

private:
  std::vector<ComPtr<Shape>> items_;
  ComPtr<Page> page_;
};

} // namespace drawhost

#endif
