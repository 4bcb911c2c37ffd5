// The active window with its page and selection; shapes of its page can
// be added to the selection.
#ifndef PLATFORM_DRAWING_HOST_HOST_WINDOW_H
#define PLATFORM_DRAWING_HOST_HOST_WINDOW_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-shape.h"
#include "platform/drawing-host/win32/host-page.h"

#include <string>
#include <vector>

namespace drawhost {

class Window : public com::Dispatch<IDrawWindow> {
public:
  Window(Page *page, std::vector<ComPtr<Shape>> selection)
      : page_(page), selection_(std::move(selection)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Selection(IDrawSelection **ppSelection) override;
  HRESULT STDMETHODCALLTYPE get_Page(IDrawPage **ppPage) override;
  HRESULT STDMETHODCALLTYPE Select(IDrawShape *Shape, short SelectAction) override;

private:
  ComPtr<Page> page_;
  std::vector<ComPtr<Shape>> selection_;
};

} // namespace drawhost

#endif
