// A master of a document or stencil.
#ifndef PLATFORM_DRAWING_HOST_HOST_MASTER_H
#define PLATFORM_DRAWING_HOST_HOST_MASTER_H

#include "platform/drawing-host/win32/host-codes.h"

#include <string>
#include <vector>

namespace drawhost {

class Master : public com::Dispatch<IDrawMaster> {
public:
  explicit Master(std::string name) : name_(std::move(name)) {}
  static const com::InterfaceEntry *interfaces();
  HRESULT STDMETHODCALLTYPE get_Name(BSTR *pName) override;
  const std::string &name() const { return name_; }

private:
  std::string name_;
};

} // namespace drawhost

#endif
