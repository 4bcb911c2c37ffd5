// What every object of the stand-in drawing host shares: the failures it
// reports, the host's event codes and the classes that refer to each other.
// The tree of documents, pages, shapes and cells owns its children through
// counted references and points back to its parents with plain pointers,
// which detach() clears when an object is deleted or the host shuts down (a
// client may still hold the object; it then answers DrawHostObjectDeleted).
#ifndef PLATFORM_DRAWING_HOST_HOST_CODES_H
#define PLATFORM_DRAWING_HOST_HOST_CODES_H

#include "drawing-host.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"

#include <string>
#include <vector>

namespace drawhost {

// Failures the stand-in reports, in the interface-specific range.
const HRESULT DrawHostObjectDeleted = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);
const HRESULT DrawHostCellGuarded = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0202);
const HRESULT DrawHostNoResult = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0203);
const HRESULT DrawHostNoSuchItem = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0204);

// Event codes of the host.
enum EventCode : short {
  EventShapesAdded = 901,
  EventConnectionsChanged = static_cast<short>(0xE100),
  EventIdle = 0x1400,
  EventCellChanged = 0x2800,
  EventPageDeleted = 0x4010,
  EventDocumentDeleted = 0x4002,
};

class StandInHost;
class Document;
class Page;
class Shape;
class Cell;
class EventList;
class Menu;

using base::ComPtr;

} // namespace drawhost

#endif
