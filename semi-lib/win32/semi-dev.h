// SemiDev: the COM face of one semiconductor device (DiodeDev, BjtNpnDev,
// BjtPnpDev). It holds the device core and serves IQorDev by handing each
// call to it over the COM host adapters. Every call runs in the device's
// floating-point mode and gives the caller's back; errors come back as the
// failing call's HRESULT, and UpdateParams and UpdateResult answer S_FALSE
// after one.
#ifndef SEMI_LIB_SEMI_DEV_H
#define SEMI_LIB_SEMI_DEV_H

#include "QorLib02.h"

#include "semi-lib/core/device-host.h"
#include "semi-lib/win32/com-host.h"
#include "semi-lib/win32/qor-lib-lease.h"

#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"

#include <memory>

namespace semi_win32 {

class SemiDev : public com::Dispatch<IQorDev>, public com::Dispatch<IQorDev2> {
public:
  explicit SemiDev(std::unique_ptr<semi::SimDevice> device) : device_(std::move(device)) {}
  static const com::InterfaceEntry *interfaces();
  // Creates the QorLib service the device converts its values with.
  HRESULT construct();

  HRESULT STDMETHODCALLTYPE InstallDevice(BSTR DevName, IUnknown *Component,
                                          IQorSimCkt *Circuit) override;
  HRESULT STDMETHODCALLTYPE TopologyFix() override;
  HRESULT STDMETHODCALLTYPE SpiceInfo(BSTR *pElement, BSTR *pModel) override;
  HRESULT STDMETHODCALLTYPE SetUpDeviceDC() override;
  HRESULT STDMETHODCALLTYPE LoadDevicePWL() override;
  HRESULT STDMETHODCALLTYPE LoadDeviceDC() override;
  HRESULT STDMETHODCALLTYPE LimitDeltaDC() override;
  HRESULT STDMETHODCALLTYPE UpdateParams() override;
  HRESULT STDMETHODCALLTYPE UpdateResult() override;

private:
  // Runs body in the device's floating-point mode; a host or COM error
  // returns its HRESULT. Before InstallDevice there is nothing to call:
  // E_POINTER.
  template <typename Body> HRESULT installed(Body &&body);

  std::unique_ptr<semi::SimDevice> device_;
  // Declared before lib_, so the service object goes before its lease.
  QorLibLease libLease_;
  ComPtr<IQorLib> lib_;
  std::unique_ptr<ComCircuit> circuit_;
  std::unique_ptr<ComComponent> component_;
};

// Creators for the module's class table.
HRESULT createDiodeDev(REFIID riid, void **out);
HRESULT createBjtNpnDev(REFIID riid, void **out);
HRESULT createBjtPnpDev(REFIID riid, void **out);

} // namespace semi_win32

#endif
