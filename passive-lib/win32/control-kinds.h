// What fixes each of the six component controls: its class, template, pin
// cells and the few answers in which the ground departs from the rest.
#ifndef PASSIVE_LIB_CONTROL_KINDS_H
#define PASSIVE_LIB_CONTROL_KINDS_H

#include "QorLib01.h"

#include "passive-lib/core/component-templates.h"

namespace passive {

struct ControlKind {
  ComponentKind kind;
  const CLSID *clsid;
  const char *pins[2];     // pin letters in mark order; the cells are "Connections.<pin>.A"
  bool hasParams;          // a PARAMS section, part ID and label
  const char *handle;      // the control handle row the result text starts at: "1" or "2"
  const char *fixedName;   // Name get answers this instead of OCXNAME (the ground)
  const char *fixedDevice; // DevProgID get answers this instead of DEVPROGID (the ground)
};

const ControlKind &controlKind(ComponentKind kind);

HRESULT createGndOcx(REFIID riid, void **out);
HRESULT createPwrOcx(REFIID riid, void **out);
HRESULT createResOcx(REFIID riid, void **out);
HRESULT createIndOcx(REFIID riid, void **out);
HRESULT createCapOcx(REFIID riid, void **out);
HRESULT createVdcOcx(REFIID riid, void **out);

} // namespace passive

#endif
