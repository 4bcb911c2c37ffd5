// What sets one component control class apart from the others that share
// ComponentControl: its class, its pins, the few answers in which the
// ground departs from the rest, and the three things a library supplies
// for its own kinds (the QorLib service, the starting component XML and
// the property sheet). QorLib01's six kinds and QorLib02's three are
// tables of these.
#ifndef PASSIVE_LIB_CONTROL_KIND_H
#define PASSIVE_LIB_CONTROL_KIND_H

#include "QorLib01.h"

#include <memory>
#include <string>

namespace uikit {
class ComponentSheet;
class SheetOwner;
} // namespace uikit

namespace passive {

struct ControlKind {
  const CLSID *clsid;
  DWORD miscStatus;        // as registered: 131473, or 132497 when invisible at run time
  const char *pins[3];     // pin letters in mark order; the cells are "Connections.<pin>.A"
  bool hasParams;          // a PARAMS section, part ID and label
  const char *handle;      // the control handle row the result text starts at: "1" or "2"
  const char *fixedName;   // Name get answers this instead of OCXNAME (the ground)
  const char *fixedDevice; // DevProgID get answers this instead of DEVPROGID (the ground)
  // The result block's bulk write carries the line pattern's "GUARD(0)"
  // entry a second time, next to the first.
  bool lineGuardTwice;
  // Creation fails with the service's failure, E_NOINTERFACE included.
  bool serviceRequired;
  // A result section with an empty (or no) LAYER leaves the layer
  // membership of the result text as it is; otherwise it takes it off every
  // layer.
  bool emptyLayerKeepsMembership;
  HRESULT (*createService)(IQorLib **out);
  // The component XML a new control starts with; throws base::ComError.
  std::string (*startingDocument)(const std::string &version, const std::string &created);
  // The kind's property sheet; null for the ground, which has its dialog.
  std::unique_ptr<uikit::ComponentSheet> (*makeSheet)(const std::string &caption,
                                                      uikit::SheetOwner &owner);
};

// A new control of the kind, asked for riid. A failing construction ends
// the creation with construction's result, or with E_OUTOFMEMORY when
// mapFailures is set (QorLib01's classes answer so).
HRESULT createComponentControl(const ControlKind &kind, bool mapFailures, REFIID riid, void **out);

} // namespace passive

#endif
