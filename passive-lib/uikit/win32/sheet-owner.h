// What a component's property sheet (and the ground dialog) needs of the
// control that opened it. The component controls implement it; tests use
// an owner of their own. Failing calls throw base::ComError.
#ifndef PASSIVE_LIB_UIKIT_SHEET_OWNER_H
#define PASSIVE_LIB_UIKIT_SHEET_OWNER_H

#include "QorLib01.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/xml/win32/xml-guids.h"

#include <string>

namespace uikit {

class SheetOwner {
public:
  // The root element (DEVICE) of the control's parsed component XML; the
  // pages edit its PARAMS and RESULT items in place.
  virtual base::ComPtr<IXMLElement> rootElement() = 0;
  // IQorOcx2 DirtyFlag put.
  virtual void putDirtyFlag(bool dirty) = 0;
  // IQorOcx PartID get: the identifier item's TEXT, else its DEFAULT.
  virtual std::string partId() = 0;
  // The identifier the drawing shows for the part: the one the circuit
  // gave it (IQorOcx PartID put), else PartID get.
  virtual std::string shownPartId() { return partId(); }
  // IQorOcx2 CompGUID get: the device name under which the circuit maps
  // the control.
  virtual std::string compGuid() = 0;
  // The host shape the control is bound to; empty while it is unbound.
  virtual base::ComPtr<IDrawShape> shape() = 0;
  // The label text on the shape, recomposed from the document.
  virtual void UpdateBodyText() = 0;
  // The label and result texts placed on the shape again.
  virtual void LayoutShape() = 0;
  // After a successful Apply: the document as it now stands becomes the
  // copy that an end of the sheet other than OK restores, so that the
  // document, the device and the drawing keep agreeing.
  virtual void keepAppliedState() = 0;

protected:
  ~SheetOwner() = default;
};

} // namespace uikit

#endif
