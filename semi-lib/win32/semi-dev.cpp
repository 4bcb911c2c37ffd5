// The device classes' COM methods.
#include "semi-lib/win32/semi-dev.h"

#include "semi-lib/core/bjt-device.h"
#include "semi-lib/core/diode-device.h"
#include "semi-lib/win32/fp-guard.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"

#include <new>

namespace semi_win32 {

const com::InterfaceEntry *SemiDev::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IQorDev, com::interfaceOffset<SemiDev, IQorDev>()},
      {&IID_IDispatch, com::interfaceOffset<SemiDev, IQorDev>()},
      {&IID_IQorDev2, com::interfaceOffset<SemiDev, IQorDev2>()},
      {nullptr, 0}};
  return table;
}

// Only a service class that answers it offers no such interface lets the
// device be made without it, as every user of the service is made; the
// calls that need the service then fail with E_POINTER. Any other failure
// fails the construction.
HRESULT SemiDev::construct() {
  const HRESULT hr = libLease_.create(lib_.receive());
  return hr == E_NOINTERFACE ? S_OK : hr;
}

template <typename Body> HRESULT SemiDev::installed(Body &&body) {
  FpGuard mode;
  HRESULT hr;
  try {
    if (!circuit_)
      return E_POINTER;
    return body();
  } catch (const semi::HostError &error) {
    hr = error.code();
  } catch (const base::ComError &error) {
    hr = error.hr();
  } catch (const std::bad_alloc &) {
    hr = E_OUTOFMEMORY;
  } catch (...) {
    hr = E_UNEXPECTED;
  }
  base::setErrorInfo(hr, IID_IQorDev);
  return hr;
}

HRESULT STDMETHODCALLTYPE SemiDev::InstallDevice(BSTR DevName, IUnknown *Component,
                                                 IQorSimCkt *Circuit) {
  if (!DevName || !Component || !Circuit)
    return E_INVALIDARG;
  {
    FpGuard mode;
    try {
      circuit_ = std::make_unique<ComCircuit>(Circuit);
      component_ = std::make_unique<ComComponent>(Component, lib_.get());
    } catch (const std::bad_alloc &) {
      circuit_.reset();
      return E_OUTOFMEMORY;
    }
  }
  return installed([&] {
    device_->InstallDevice(base::Bstr::toAnsiText(DevName), component_.get(), circuit_.get());
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SemiDev::TopologyFix() {
  return installed([&] {
    device_->TopologyFix();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SemiDev::SpiceInfo(BSTR *pElement, BSTR *pModel) {
  if (!pElement || !pModel)
    return E_POINTER;
  *pElement = nullptr;
  *pModel = nullptr;
  return installed([&] {
    std::string element, model;
    device_->SpiceInfo(element, model);
    base::Bstr elementText(element), modelText(model);
    *pElement = elementText.detach();
    *pModel = modelText.detach();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SemiDev::SetUpDeviceDC() {
  return installed([&] {
    circuit_->beginSetUp();
    device_->SetUpDeviceDC();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SemiDev::LoadDevicePWL() {
  return installed([&] {
    device_->LoadDevicePWL();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SemiDev::LoadDeviceDC() {
  return installed([&] {
    device_->LoadDeviceDC();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SemiDev::LimitDeltaDC() {
  return installed([&] {
    device_->LimitDeltaDC();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SemiDev::UpdateParams() {
  return installed([&] { return device_->UpdateParams() ? S_OK : S_FALSE; });
}

HRESULT STDMETHODCALLTYPE SemiDev::UpdateResult() {
  return installed([&] { return device_->UpdateResult() ? S_OK : S_FALSE; });
}

namespace {

HRESULT create(REFIID riid, void **out, std::unique_ptr<semi::SimDevice> (*make)()) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  FpGuard mode;
  std::unique_ptr<semi::SimDevice> device;
  try {
    device = make();
  } catch (const std::bad_alloc &) {
    return E_OUTOFMEMORY;
  }
  auto *object = new (std::nothrow) com::Object<SemiDev>(std::move(device));
  if (!object)
    return E_OUTOFMEMORY;
  HRESULT hr = object->construct();
  if (SUCCEEDED(hr))
    hr = object->QueryInterface(riid, out);
  object->Release();
  return hr;
}

} // namespace

HRESULT createDiodeDev(REFIID riid, void **out) {
  return create(riid, out, [] { return std::unique_ptr<semi::SimDevice>(new semi::DiodeDevice); });
}

HRESULT createBjtNpnDev(REFIID riid, void **out) {
  return create(riid, out, [] {
    return std::unique_ptr<semi::SimDevice>(new semi::BjtDevice(semi::Polarity::Npn));
  });
}

HRESULT createBjtPnpDev(REFIID riid, void **out) {
  return create(riid, out, [] {
    return std::unique_ptr<semi::SimDevice>(new semi::BjtDevice(semi::Polarity::Pnp));
  });
}

} // namespace semi_win32
