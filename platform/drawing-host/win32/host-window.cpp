// The stand-in host's Window object.
#include "platform/drawing-host/win32/host-window.h"

#include "platform/drawing-host/win32/host-interface-table.h"
#include "platform/drawing-host/win32/host-menus.h"
#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace drawhost {

INTERFACE_TABLE(Window, IDrawWindow)

HRESULT STDMETHODCALLTYPE Window::get_Selection(IDrawSelection **ppSelection) {
  if (!ppSelection)
    return E_POINTER;
  *ppSelection = nullptr;
  return com::Object<Selection>::create(IID_IDrawSelection, reinterpret_cast<void **>(ppSelection),
                                        selection_, page_.get());
}

HRESULT STDMETHODCALLTYPE Window::get_Page(IDrawPage **ppPage) {
  if (!ppPage)
    return E_POINTER;
  return interfaceOut(static_cast<IDrawPage *>(page_.get()), ppPage);
}

// Only the action that adds to the selection (2) is offered. The shape
// must be one of this page's: the stand-in serves its own objects only.
HRESULT STDMETHODCALLTYPE Window::Select(IDrawShape *ShapeIn, short SelectAction) {
  const short SelectActionSelect = 2;
  if (!ShapeIn || SelectAction != SelectActionSelect)
    return E_INVALIDARG;
  Shape *shape = static_cast<Shape *>(ShapeIn);
  if (shape->deleted() || shape->page() != page_.get())
    return E_INVALIDARG;
  shape->host()->note("Select " + shape->name() + " " + std::to_string(SelectAction));
  for (const ComPtr<Shape> &selected : selection_) {
    if (selected.get() == shape)
      return S_OK;
  }
  selection_.emplace_back(shape);
  return S_OK;
}

} // namespace drawhost
