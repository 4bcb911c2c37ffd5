// The masters of a document.
#ifndef PLATFORM_DRAWING_HOST_HOST_MASTER_LIST_H
#define PLATFORM_DRAWING_HOST_HOST_MASTER_LIST_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-master.h"

#include <string>
#include <vector>

namespace drawhost {

class MasterList : public com::Dispatch<IDrawMasters> {
public:
  explicit MasterList(std::vector<ComPtr<Master>> items) : items_(std::move(items)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(short *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT IndexOrName, IDrawMaster **ppMaster) override;

private:
  std::vector<ComPtr<Master>> items_;
};

} // namespace drawhost

#endif
