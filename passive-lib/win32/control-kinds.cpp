// QorLib01's six component control classes: their templates, the service
// made directly in this library, and the passive property sheets.
#include "passive-lib/win32/control-kinds.h"

#include "passive-lib/core/component-templates.h"
#include "passive-lib/uikit/win32/component-sheets.h"
#include "passive-lib/win32/qor-lib.h"

#include "platform/com/win32/control-state.h"

namespace passive {
namespace {

// The service lives in this library: made directly, as the devices do.
HRESULT createService(IQorLib **out) {
  return createQorLib(IID_IQorLib, reinterpret_cast<void **>(out));
}

template <ComponentKind Kind>
std::string startingDocument(const std::string &version, const std::string &created) {
  return filledTemplate(Kind, version, created);
}

template <typename Sheet>
std::unique_ptr<uikit::ComponentSheet> makeSheet(const std::string &caption,
                                                 uikit::SheetOwner &owner) {
  return std::make_unique<Sheet>(caption, owner, nullptr, 0);
}

template <ComponentKind Kind, typename Sheet>
ControlKind withParams(const CLSID &clsid, const char *pinA, const char *pinB) {
  return {&clsid,
          com::ControlMiscStatus,
          {pinA, pinB, nullptr},
          true,
          "2",
          nullptr,
          nullptr,
          false,
          false,
          false,
          createService,
          startingDocument<Kind>,
          makeSheet<Sheet>};
}

const ControlKind ground = {&CLSID_GndOcx,
                            com::ControlMiscStatus,
                            {"A", nullptr, nullptr},
                            false,
                            "1",
                            "QOR GND OCX",
                            "QOR.GndDev",
                            false,
                            false,
                            false,
                            createService,
                            startingDocument<ComponentKind::Ground>,
                            nullptr};
const ControlKind powerRail =
    withParams<ComponentKind::PowerRail, uikit::CPwrOcxSheet>(CLSID_PwrOcx, "A", nullptr);
const ControlKind resistor =
    withParams<ComponentKind::Resistor, uikit::CResOcxSheet>(CLSID_ResOcx, "A", "B");
const ControlKind inductor =
    withParams<ComponentKind::Inductor, uikit::CIndOcxSheet>(CLSID_IndOcx, "A", "B");
const ControlKind capacitor =
    withParams<ComponentKind::Capacitor, uikit::CCapOcxSheet>(CLSID_CapOcx, "A", "B");
const ControlKind dcSource =
    withParams<ComponentKind::DcSource, uikit::CVdcOcxSheet>(CLSID_VdcOcx, "P", "M");

} // namespace

HRESULT createGndOcx(REFIID riid, void **out) {
  return createComponentControl(ground, true, riid, out);
}
HRESULT createPwrOcx(REFIID riid, void **out) {
  return createComponentControl(powerRail, true, riid, out);
}
HRESULT createResOcx(REFIID riid, void **out) {
  return createComponentControl(resistor, true, riid, out);
}
HRESULT createIndOcx(REFIID riid, void **out) {
  return createComponentControl(inductor, true, riid, out);
}
HRESULT createCapOcx(REFIID riid, void **out) {
  return createComponentControl(capacitor, true, riid, out);
}
HRESULT createVdcOcx(REFIID riid, void **out) {
  return createComponentControl(dcSource, true, riid, out);
}

} // namespace passive
