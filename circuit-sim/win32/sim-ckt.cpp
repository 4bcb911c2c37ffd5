// The circuit object's registries: the Ocx, device and index maps, the
// topology list, variable types, naked pins and the DC vectors.
#include "circuit-sim/win32/sim-ckt.h"
#include "circuit-sim/win32/host-calls.h"
#include "circuit-sim/win32/qor-calls.h"
#include "circuit-sim/win32/resource.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/com/win32/module.h"

#include <algorithm>
#include <ctime>

namespace qorsim {

namespace {

std::string textOf(BSTR text) { return base::Bstr::toAnsiText(text); }

template <typename T> HRESULT interfaceOut(T *object, T **out) {
  if (object)
    object->AddRef();
  *out = object;
  return S_OK;
}

// Reads or writes one entry of a DC vector by node index.
HRESULT vectorGet(const std::vector<double> &v, LONG index, double *out) {
  if (!out)
    return E_POINTER;
  *out = 0.0;
  if (index < 0 || static_cast<std::size_t>(index) >= v.size())
    return E_INVALIDARG;
  *out = v[index];
  return S_OK;
}

HRESULT vectorPut(std::vector<double> &v, LONG index, double value) {
  if (index < 0 || static_cast<std::size_t>(index) >= v.size())
    return E_INVALIDARG;
  v[index] = value;
  return S_OK;
}

} // namespace

OcxEntry::~OcxEntry() {
  // A subscription the host cannot delete any more went with its shape.
  if (subscription)
    subscription->Delete();
}

ConnectorRecord::~ConnectorRecord() {
  if (!marked || !shape)
    return;
  try {
    host::setFormula(host::cell(shape.get(), SectionObject, 2, 2).get(), "1");
    host::setFormula(host::cell(shape.get(), SectionObject, 2, 3).get(), "");
  } catch (const base::ComError &) {
    // The connector is gone with its line: nothing left to restore.
  }
}

SimCkt::SimCkt() : varTypes_{qorVarVoltage}, matrix_(identity()) {}

SimCkt::~SimCkt() = default;

const com::InterfaceEntry *SimCkt::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IQorSimCkt, com::interfaceOffset<SimCkt, IQorSimCkt>()},
      {&IID_IDispatch, com::interfaceOffset<SimCkt, IQorSimCkt>()},
      {&IID_IQorSimDC, com::interfaceOffset<SimCkt, IQorSimDC>()},
      {&IID_ISupportErrorInfo, com::interfaceOffset<SimCkt, ISupportErrorInfo>()},
      {nullptr, 0}};
  return table;
}

void SimCkt::ClearCircuit() {
  devices_.clear();
  wires_.clear();
  connectors_.clear();
  indexMap_.clear();
  topology_.clear();
  spiceNumbers_.clear();
  highestNode_ = -1;
  componentPhase_ = true;
  varTypes_.assign(1, qorVarVoltage);
}

void SimCkt::DropMatrix() {
  matrix_.matrix().destroy();
  dc_ = DcVectors{};
  solved_ = false;
}

HRESULT STDMETHODCALLTYPE SimCkt::Quit() {
  return base::guardCom(IID_IQorSimCkt, [&]() -> HRESULT {
    DropMatrix();
    ClearCircuit();
    ocxMap_.clear();
    std::vector<ComPtr<IDrawEvent>> subscriptions;
    subscriptions.swap(pageSubscriptions_);
    for (ComPtr<IDrawEvent> &event : subscriptions)
      base::check(event->Delete(), IID_IDrawEvent);
    page_.reset();
    document_.reset();
    quit_ = true;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SimCkt::OcxMapFind(BSTR DevName, IQorOcx **pOcx) {
  if (!DevName)
    return E_INVALIDARG;
  if (!pOcx)
    return E_POINTER;
  *pOcx = nullptr;
  auto found = ocxMap_.find(textOf(DevName));
  return interfaceOut(found == ocxMap_.end() ? nullptr : found->second->control.get(), pOcx);
}

void SimCkt::registerControl(OcxEntry &entry, IDrawShape *shape, IQorOcx *control) {
  entry.control = ComPtr<IQorOcx>(control);
  entry.shape = ComPtr<IDrawShape>(shape);
  entry.status = qor::status(control);
  entry.pinX = host::result(host::cell(shape, SectionObject, 1, 0).get());
  entry.pinY = host::result(host::cell(shape, SectionObject, 1, 1).get());
  entry.partId = qor::partId(control);
  entry.errorMarked = !qor::errorMark(control).empty();
  if (host::cellExists(shape, "User.XFToggle")) {
    ComPtr<IDrawEventList> events;
    base::check(shape->get_EventList(events.receive()), IID_IDrawShape);
    entry.subscription = host::subscribe(events.get(), 0x2800, static_cast<IQorSimCkt *>(this));
  }
}

// A name registered by the page scan before its control bound has no
// control yet: the control that binds now fills the entry, so that it is
// not shut out for good. A name with a control keeps its first one.
HRESULT STDMETHODCALLTYPE SimCkt::OcxMapInsert(BSTR DevName, IDrawShape *QorShape, IQorOcx *Ocx,
                                               VARIANT_BOOL UpdateDrawing) {
  if (!DevName || !QorShape || !Ocx)
    return E_INVALIDARG;
  return base::guardCom(IID_IQorSimCkt, [&]() -> HRESULT {
    std::unique_ptr<OcxEntry> &slot = ocxMap_[textOf(DevName)];
    if (!slot)
      slot = std::make_unique<OcxEntry>();
    if (!slot->control) {
      try {
        registerControl(*slot, QorShape, Ocx);
      } catch (...) {
        slot->control.reset(); // half a registration is none
        throw;
      }
    }
    if (UpdateDrawing) {
      partIdPending_ = true;
      rebuildPending_ = true;
    }
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SimCkt::get_OcxMapPartID(BSTR DevName, BSTR *pID) {
  if (!DevName)
    return E_INVALIDARG;
  if (!pID)
    return E_POINTER;
  *pID = nullptr;
  return base::guardCom(IID_IQorSimCkt, [&]() -> HRESULT {
    auto found = ocxMap_.find(textOf(DevName));
    if (found == ocxMap_.end())
      return S_FALSE;
    *pID = base::Bstr(found->second->lastWrittenId).detach();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SimCkt::put_OcxMapPartID(BSTR DevName, BSTR newVal) {
  if (!DevName)
    return E_INVALIDARG;
  if (!newVal)
    return E_POINTER;
  auto found = ocxMap_.find(textOf(DevName));
  if (found == ocxMap_.end())
    return S_FALSE;
  const std::string id = textOf(newVal);
  if (id == found->second->partId)
    return S_OK;
  return base::guardCom(IID_IQorSimCkt, [&]() -> HRESULT {
    found->second->partId = id;
    partIdPending_ = false;
    NumberPartIDs();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SimCkt::GetDev(IDrawShape *QorShape, IQorDev **pDev) {
  if (!QorShape)
    return E_INVALIDARG;
  if (!pDev)
    return E_POINTER;
  *pDev = nullptr;
  try {
    if (devices_.empty()) {
      ClearCircuit();
      BuildFromPage();
      if (devices_.empty())
        return S_OK;
    }
    const std::string key = host::uniqueId(QorShape, 1);
    auto device = devices_.find(key);
    if (device != devices_.end())
      return interfaceOut(device->second.get(), pDev);
    auto wire = wires_.find(key);
    if (wire != wires_.end())
      return interfaceOut(wire->second.get(), pDev);
    return S_OK;
  } catch (const base::ComError &) {
    return S_FALSE;
  } catch (const std::bad_alloc &) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT STDMETHODCALLTYPE SimCkt::GetDevIff(IDrawShape *QorShape, IQorDev **pDev) {
  if (!QorShape)
    return E_INVALIDARG;
  if (!pDev)
    return E_POINTER;
  *pDev = nullptr;
  if (devices_.empty())
    return S_OK;
  return GetDev(QorShape, pDev);
}

HRESULT STDMETHODCALLTYPE SimCkt::IndexMapFind(BSTR NetName, LONG *pIndex) {
  if (!NetName)
    return E_INVALIDARG;
  if (!pIndex)
    return E_POINTER;
  *pIndex = -1;
  auto found = indexMap_.find(textOf(NetName));
  if (found != indexMap_.end())
    *pIndex = found->second;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimCkt::IndexMapInsert(BSTR NetName, LONG *pIndex) {
  if (!NetName)
    return E_INVALIDARG;
  if (!pIndex)
    return E_POINTER;
  *pIndex = -1;
  return base::guardCom(IID_IQorSimCkt, [&]() -> HRESULT {
    const long candidate = netCount() + 1;
    *pIndex = indexMap_.emplace(textOf(NetName), candidate).first->second;
    // One entry per call, also for a name already present.
    varTypes_.push_back(qorVarNoType);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SimCkt::DevMapFind(BSTR DevName, IQorDev **pDev) {
  if (!DevName)
    return E_INVALIDARG;
  if (!pDev)
    return E_POINTER;
  *pDev = nullptr;
  auto found = devices_.find(textOf(DevName));
  return interfaceOut(found == devices_.end() ? nullptr : found->second.get(), pDev);
}

HRESULT STDMETHODCALLTYPE SimCkt::DevMapInsert(BSTR DevName, IQorDev *Dev) {
  if (!DevName || !Dev)
    return E_INVALIDARG;
  return base::guardCom(IID_IQorSimCkt, [&]() -> HRESULT {
    devices_.emplace(textOf(DevName), ComPtr<IQorDev>(Dev));
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SimCkt::TopologyInsert(LONG Index1, LONG Index2, LONG NameIndex,
                                                 QorPathTypes PathType) {
  if (Index1 < 0 || Index2 < 0 || NameIndex < 0)
    return E_INVALIDARG;
  return base::guardCom(IID_IQorSimCkt, [&]() -> HRESULT {
    topology_.push_back({Index1, Index2, NameIndex, PathType});
    if (componentPhase_)
      highestNode_ = std::max({highestNode_, static_cast<long>(Index1), static_cast<long>(Index2)});
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SimCkt::get_VarType(LONG Index, QorVariableTypes *pType) {
  if (!pType)
    return E_POINTER;
  *pType = qorVarNoType;
  if (Index < 0 || static_cast<std::size_t>(Index) >= varTypes_.size())
    return E_INVALIDARG;
  *pType = varTypes_[Index];
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimCkt::put_VarType(LONG Index, QorVariableTypes newVal) {
  if (Index < 0 || static_cast<std::size_t>(Index) >= varTypes_.size())
    return E_INVALIDARG;
  varTypes_[Index] = newVal;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimCkt::get_NakedPin(LONG Index, VARIANT_BOOL *pFlag) {
  if (!pFlag)
    return E_POINTER;
  *pFlag = VARIANT_FALSE;
  if (Index < 0 || static_cast<std::size_t>(Index) >= varTypes_.size())
    return E_INVALIDARG;
  *pFlag = nakedPins_.count(Index) ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimCkt::put_NakedPin(LONG Index, VARIANT_BOOL newVal) {
  if (newVal != VARIANT_FALSE)
    return E_INVALIDARG;
  if (Index < 0 || static_cast<std::size_t>(Index) >= varTypes_.size())
    return E_INVALIDARG;
  return nakedPins_.erase(Index) ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE SimCkt::get_Matrix(IQorSparseMatrix **pVal) {
  if (!pVal)
    return E_POINTER;
  *pVal = nullptr;
  return interfaceOut(static_cast<IQorSparseMatrix *>(&matrix_), pVal);
}

HRESULT STDMETHODCALLTYPE SimCkt::get_Solution(LONG Index, double *pVal) {
  return vectorGet(dc_.solution, Index, pVal);
}
HRESULT STDMETHODCALLTYPE SimCkt::put_Solution(LONG Index, double newVal) {
  return vectorPut(dc_.solution, Index, newVal);
}
HRESULT STDMETHODCALLTYPE SimCkt::get_DeltaSolution(LONG Index, double *pVal) {
  return vectorGet(dc_.delta, Index, pVal);
}
HRESULT STDMETHODCALLTYPE SimCkt::put_DeltaSolution(LONG Index, double newVal) {
  return vectorPut(dc_.delta, Index, newVal);
}
HRESULT STDMETHODCALLTYPE SimCkt::get_Rhs(LONG Index, double *pVal) {
  return vectorGet(dc_.rhs, Index, pVal);
}
HRESULT STDMETHODCALLTYPE SimCkt::put_Rhs(LONG Index, double newVal) {
  return vectorPut(dc_.rhs, Index, newVal);
}
HRESULT STDMETHODCALLTYPE SimCkt::get_AbsSum(LONG Index, double *pVal) {
  return vectorGet(dc_.absSum, Index, pVal);
}
HRESULT STDMETHODCALLTYPE SimCkt::put_AbsSum(LONG Index, double newVal) {
  return vectorPut(dc_.absSum, Index, newVal);
}

// The splash shows over the host's window until the first work event has
// been done (and at least 10 seconds); the hourglass stays up meanwhile.
// A splash that cannot be shown is no failure.
HRESULT STDMETHODCALLTYPE SimCkt::SplashScreen() {
  return base::guardHostEntry([&]() -> HRESULT {
    if (!splash_)
      splash_.reset(new SplashWnd);
    if (!splash_->loadBitmap(com::moduleInstance(), IDB_SPLASH))
      return S_OK;
    HWND host = nullptr;
    ComPtr<IDrawApplication> application;
    LONG handle = 0;
    if (document_ && SUCCEEDED(document_->get_Application(application.receive())) && application &&
        SUCCEEDED(application->get_WindowHandle32(&handle)))
      host = reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle));
    if (!splash_->create(SplashWnd::NoTimeout, host))
      return S_OK;
    SplashWnd::installWaitCursor(host ? host : splash_->window());
    splashShownAt_ = static_cast<std::int64_t>(std::time(nullptr));
    return S_OK;
  });
}

HRESULT createSimCkt(REFIID riid, void **out) { return com::Object<SimCkt>::create(riid, out); }

} // namespace qorsim
