// The circuit's host events: changes of the drawing only mark work as
// pending; the page's work event performs it, so that a burst of changes
// is handled once.
#include "circuit-sim/win32/host-calls.h"
#include "circuit-sim/win32/host-menus.h"
#include "circuit-sim/win32/sim-ckt.h"

#include "platform/base/win32/com-error.h"

#include <float.h>

#include <ctime>

namespace qorsim {

namespace {

const short EventShapesAdded = 901;
const short EventWork = 0x1400;
const short EventConnections = static_cast<short>(0xE100);
const short BitWork = 0x1000;
const short BitCellChanged = 0x800;
const short BitConnections = 0x100;

} // namespace

HRESULT STDMETHODCALLTYPE SimCkt::SetupEvents(IDrawPage *DrawingPage) {
  if (!DrawingPage)
    return E_INVALIDARG;
  return base::guardHostEntry([&]() -> HRESULT {
    page_ = ComPtr<IDrawPage>(DrawingPage);
    base::check(DrawingPage->get_Document(document_.receive()), IID_IDrawPage);
    ComPtr<IDrawEventList> events;
    base::check(DrawingPage->get_EventList(events.receive()), IID_IDrawPage);
    for (short code : {EventShapesAdded, EventConnections, EventWork})
      pageSubscriptions_.push_back(host::subscribe(events.get(), code, self()));
    installMenus(base::checkPointer(document_.get(), IID_IDrawPage));
    return S_OK;
  });
}

namespace {

// The hourglass while the add-on works; the previous cursor comes back
// when the work ends, also by an error.
class WaitCursor {
public:
  WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor &) = delete;
  WaitCursor &operator=(const WaitCursor &) = delete;

private:
  HCURSOR previous_;
};

} // namespace

void SimCkt::performPendingWork() {
  if (partIdPending_) {
    partIdPending_ = false;
    WaitCursor wait;
    NumberPartIDs();
  }
  if (rebuildPending_) {
    rebuildPending_ = false;
    WaitCursor wait;
    DropMatrix();
    rebuildAndCheck();
    base::check(self()->SolveDC(), IID_IQorSimCkt);
  }
  if (splash_ && splashShownAt_ >= 0) {
    splash_->closeTenSecondsAfter(splashShownAt_, static_cast<std::int64_t>(std::time(nullptr)));
    splashShownAt_ = -1;
  }
  SplashWnd::removeWaitCursor();
}

void SimCkt::scanAddedShapes(const VARIANT &subject) {
  if (V_VT(&subject) != VT_DISPATCH && V_VT(&subject) != VT_UNKNOWN)
    return;
  ComPtr<IDrawSelection> shapes;
  if (V_UNKNOWN(&subject))
    V_UNKNOWN(&subject)->QueryInterface(IID_IDrawSelection, shapes.receiveVoid());
  if (!shapes)
    return;
  ComPtr<IDrawPage> page;
  base::check(shapes->get_ContainingPage(page.receive()), IID_IDrawSelection);
  if (!base::sameObject(page.get(), page_.get()))
    return;
  LONG count = 0;
  base::check(shapes->get_Count(&count), IID_IDrawSelection);
  for (LONG i = count; i >= 1; --i) {
    ComPtr<IDrawShape> shape;
    base::check(shapes->get_Item(i, shape.receive()), IID_IDrawSelection);
    ScanShape(base::checkPointer(shape.get(), IID_IDrawSelection));
  }
  partIdPending_ = true;
  rebuildPending_ = true;
}

HRESULT STDMETHODCALLTYPE SimCkt::VisEventProc(short Event, IUnknown *Source, LONG, LONG,
                                               VARIANT Subject, VARIANT) {
  _clearfp();
  _fpreset();
  return base::guardHostEntry([&]() -> HRESULT {
    if (Event & BitWork) {
      performPendingWork();
    } else if (Event == EventShapesAdded) {
      scanAddedShapes(Subject);
    } else if (Event & BitCellChanged) {
      if (V_VT(&Subject) != VT_DISPATCH && V_VT(&Subject) != VT_UNKNOWN)
        return S_OK;
      ComPtr<IDrawCell> cell;
      if (Source)
        Source->QueryInterface(IID_IDrawCell, cell.receiveVoid());
      ComPtr<IDrawShape> shape;
      base::check(base::checkPointer(cell.get(), IID_IDrawCell)->get_Shape(shape.receive()),
                  IID_IDrawCell);
      auto found = ocxMap_.find(host::uniqueId(shape.get(), 0));
      if (found == ocxMap_.end())
        return S_OK;
      const double x = host::result(host::cell(shape.get(), SectionObject, 1, 0).get());
      const double y = host::result(host::cell(shape.get(), SectionObject, 1, 1).get());
      if (x != found->second->pinX || y != found->second->pinY)
        partIdPending_ = true;
      found->second->pinX = x;
      found->second->pinY = y;
    } else if (Event & BitConnections) {
      rebuildPending_ = true;
    }
    return S_OK;
  });
}

} // namespace qorsim
