// One connection: a connector's end glued to a shape's connection point.
#ifndef PLATFORM_DRAWING_HOST_HOST_CONNECT_H
#define PLATFORM_DRAWING_HOST_HOST_CONNECT_H

#include "platform/drawing-host/win32/host-codes.h"

#include <string>
#include <vector>

namespace drawhost {

class Connect : public com::Dispatch<IDrawConnect> {
public:
  Connect(Shape *from, short fromPart, Shape *to, short toPart);
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_FromSheet(IDrawShape **ppShape) override;
  HRESULT STDMETHODCALLTYPE get_FromPart(short *pPart) override;
  HRESULT STDMETHODCALLTYPE get_ToSheet(IDrawShape **ppShape) override;
  HRESULT STDMETHODCALLTYPE get_ToPart(short *pPart) override;

  Shape *from() const { return from_.get(); }
  Shape *to() const { return to_.get(); }
  short fromPart() const { return fromPart_; }

private:
  ComPtr<Shape> from_;
  short fromPart_;
  ComPtr<Shape> to_;
  short toPart_;
};

} // namespace drawhost

#endif
