// The pages of a document.
#ifndef PLATFORM_DRAWING_HOST_HOST_PAGE_LIST_H
#define PLATFORM_DRAWING_HOST_HOST_PAGE_LIST_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-page.h"

#include <string>
#include <vector>

namespace drawhost {

class PageList : public com::Dispatch<IDrawPages> {
public:
  explicit PageList(std::vector<ComPtr<Page>> items) : items_(std::move(items)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(short *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT IndexOrName, IDrawPage **ppPage) override;

private:
  std::vector<ComPtr<Page>> items_;
};

} // namespace drawhost

#endif
