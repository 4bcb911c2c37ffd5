// A snapshot list of connections (a shape's own or those glued to it).
#ifndef PLATFORM_DRAWING_HOST_HOST_CONNECTS_H
#define PLATFORM_DRAWING_HOST_HOST_CONNECTS_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-connect.h"

#include <string>
#include <vector>

namespace drawhost {

// A snapshot list of connections (a shape's own or those glued to it).
class Connects : public com::Dispatch<IDrawConnects> {
public:
  explicit Connects(std::vector<ComPtr<Connect>> items) : items_(std::move(items)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Count(short *pCount) override;
  HRESULT STDMETHODCALLTYPE get_Item(short Index, IDrawConnect **ppConnect) override;

private:
  std::vector<ComPtr<Connect>> items_;
};

} // namespace drawhost

#endif
