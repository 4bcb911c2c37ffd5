// The semiconductor control kinds. A new control starts from its kind's
// template with the model library's PARAMs merged in as PARAMS items; the
// library is the module's own resource. Its QorLib service lives in
// QorLib01 and is created by class identifier; without it the control
// cannot work, so its creation fails.
#include "semi-lib/win32/semi-controls.h"

#include "QorLib02.h"

#include "passive-lib/win32/control-kind.h"
#include "semi-lib/core/semi-templates.h"
#include "semi-lib/sheets/semi-sheets.h"
#include "semi-lib/win32/model-library-resource.h"

#include "platform/com/win32/module.h"

namespace semi_win32 {
namespace {

constexpr DWORD ServiceContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

HRESULT createService(IQorLib **out) {
  return CoCreateInstance(CLSID_QorLib, nullptr, ServiceContext, IID_IQorLib,
                          reinterpret_cast<void **>(out));
}

// A missing library resource leaves PARAMS empty; the control still works.
template <semi::SemiKind Kind>
std::string startingDocument(const std::string &version, const std::string &created) {
  std::string library;
  semi::loadModelLibrary(com::moduleInstance(), Kind, library);
  return semi::buildComponent(Kind, version, created, library).document.save();
}

template <semi::SemiKind Kind>
std::unique_ptr<uikit::ComponentSheet> makeSheet(const std::string &caption,
                                                 uikit::SheetOwner &owner) {
  return semi::makeSemiSheet(Kind, caption, owner, nullptr, 0);
}

template <semi::SemiKind Kind>
passive::ControlKind semiKind(const CLSID &clsid, DWORD miscStatus, const char *pin1,
                              const char *pin2, const char *pin3) {
  return {&clsid,         miscStatus,    {pin1, pin2, pin3},
          true,           "2",           nullptr,
          nullptr,        true,          true,
          true,           createService, startingDocument<Kind>,
          makeSheet<Kind>};
}

// MiscStatus as registered (qorlib02-module.cpp): the transistors are also
// invisible at run time.
const DWORD DiodeMiscStatus = 131473, TransistorMiscStatus = 132497;
const passive::ControlKind diode =
    semiKind<semi::SemiKind::Diode>(CLSID_DiodeOcx, DiodeMiscStatus, "A", "K", nullptr);
const passive::ControlKind npn =
    semiKind<semi::SemiKind::Npn>(CLSID_BjtNpnOcx, TransistorMiscStatus, "C", "B", "E");
const passive::ControlKind pnp =
    semiKind<semi::SemiKind::Pnp>(CLSID_BjtPnpOcx, TransistorMiscStatus, "C", "B", "E");

} // namespace

HRESULT createDiodeOcx(REFIID riid, void **out) {
  return passive::createComponentControl(diode, false, riid, out);
}
HRESULT createBjtNpnOcx(REFIID riid, void **out) {
  return passive::createComponentControl(npn, false, riid, out);
}
HRESULT createBjtPnpOcx(REFIID riid, void **out) {
  return passive::createComponentControl(pnp, false, riid, out);
}

} // namespace semi_win32
