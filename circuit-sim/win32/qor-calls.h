// Thin wrappers over the calls the circuit makes on component controls
// (IQorOcx) and devices (IQorDev): a failed HRESULT becomes base::ComError
// with the called interface, a null interface an E_POINTER error.
#ifndef CIRCUIT_SIM_QOR_CALLS_H
#define CIRCUIT_SIM_QOR_CALLS_H

#include "QorSim.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/base/win32/com-ptr.h"

#include <string>

namespace qorsim {
namespace qor {

inline IQorOcx *ocx(IQorOcx *control) { return base::checkPointer(control, IID_IQorOcx); }
inline IQorDev *dev(IQorDev *device) { return base::checkPointer(device, IID_IQorDev); }

inline std::string devProgId(IQorOcx *control) {
  base::Bstr text;
  base::check(ocx(control)->get_DevProgID(text.receive()), IID_IQorOcx);
  return text.toAnsi();
}

inline base::ComPtr<IDrawShape> compShape(IQorOcx *control) {
  base::ComPtr<IDrawShape> shape;
  base::check(ocx(control)->get_CompShape(shape.receive()), IID_IQorOcx);
  base::checkPointer(shape.get(), IID_IQorOcx);
  return shape;
}

inline long status(IQorOcx *control) {
  long value = 0;
  base::check(ocx(control)->get_Status(&value), IID_IQorOcx);
  return value;
}

inline std::string partId(IQorOcx *control) {
  base::Bstr text;
  base::check(ocx(control)->get_PartID(text.receive()), IID_IQorOcx);
  return text.toAnsi();
}

inline std::string errorMark(IQorOcx *control) {
  base::Bstr text;
  base::check(ocx(control)->get_ErrorMark(text.receive()), IID_IQorOcx);
  return text.toAnsi();
}

inline void putPartId(IQorOcx *control, const std::string &id) {
  base::Bstr text(id);
  base::check(ocx(control)->put_PartID(text.get()), IID_IQorOcx);
}

inline void putErrorMark(IQorOcx *control, const std::string &mark) {
  base::Bstr text(mark);
  base::check(ocx(control)->put_ErrorMark(text.get()), IID_IQorOcx);
}

inline void onAdvise(IQorOcx *control, QorAdviseMask mask) {
  base::check(ocx(control)->OnAdvise(mask), IID_IQorOcx);
}

inline void check(HRESULT hr) { base::check(hr, IID_IQorDev); }

} // namespace qor
} // namespace qorsim

#endif
