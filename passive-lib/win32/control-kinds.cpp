// The six component control classes.
#include "passive-lib/win32/control-kinds.h"

#include "passive-lib/win32/component-control.h"

namespace passive {
namespace {

const ControlKind kinds[] = {
    {ComponentKind::Ground, &CLSID_GndOcx, {"A", nullptr}, false, "1", "QOR GND OCX", "QOR.GndDev"},
    {ComponentKind::PowerRail, &CLSID_PwrOcx, {"A", nullptr}, true, "2", nullptr, nullptr},
    {ComponentKind::Resistor, &CLSID_ResOcx, {"A", "B"}, true, "2", nullptr, nullptr},
    {ComponentKind::Inductor, &CLSID_IndOcx, {"A", "B"}, true, "2", nullptr, nullptr},
    {ComponentKind::Capacitor, &CLSID_CapOcx, {"A", "B"}, true, "2", nullptr, nullptr},
    {ComponentKind::DcSource, &CLSID_VdcOcx, {"P", "M"}, true, "2", nullptr, nullptr},
};

HRESULT create(ComponentKind kind, REFIID riid, void **out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  auto *control = new (std::nothrow) com::Object<ComponentControl>(controlKind(kind));
  if (!control)
    return E_OUTOFMEMORY;
  HRESULT hr = control->construct();
  if (SUCCEEDED(hr))
    hr = control->QueryInterface(riid, out);
  control->Release();
  return FAILED(hr) && hr != E_NOINTERFACE ? E_OUTOFMEMORY : hr;
}

} // namespace

const ControlKind &controlKind(ComponentKind kind) {
  for (const ControlKind &entry : kinds) {
    if (entry.kind == kind)
      return entry;
  }
  return kinds[0];
}

HRESULT createGndOcx(REFIID riid, void **out) { return create(ComponentKind::Ground, riid, out); }
HRESULT createPwrOcx(REFIID riid, void **out) {
  return create(ComponentKind::PowerRail, riid, out);
}
HRESULT createResOcx(REFIID riid, void **out) { return create(ComponentKind::Resistor, riid, out); }
HRESULT createIndOcx(REFIID riid, void **out) { return create(ComponentKind::Inductor, riid, out); }
HRESULT createCapOcx(REFIID riid, void **out) {
  return create(ComponentKind::Capacitor, riid, out);
}
HRESULT createVdcOcx(REFIID riid, void **out) { return create(ComponentKind::DcSource, riid, out); }

} // namespace passive
