// Shapes by 1-based index or name: a page's, a group's, or a selection.
#ifndef PLATFORM_DRAWING_HOST_HOST_SHAPE_LIST_H
#define PLATFORM_DRAWING_HOST_HOST_SHAPE_LIST_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-shape.h"

#include <string>
#include <vector>

namespace drawhost {

// Shapes by 1-based index or name: a page's, a group's, or a selection.
class ShapeList : public com::Dispatch<IDrawShapes> {
public:
  explicit ShapeList(std::vector<ComPtr<Shape>> items) : items_(std::move(items)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(short *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT IndexOrName, IDrawShape **ppShape) override;

private:
  std::vector<ComPtr<Shape>> items_;
};

} // namespace drawhost

#endif
