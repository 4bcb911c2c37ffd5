// WireDev: QorSim's own device, one per connector glued to a component. An
// ideal zero-volt branch between the nets of its two ends whose current is
// an unknown of its own; an end glued to no pin becomes a net of its own.
#ifndef CIRCUIT_SIM_WIRE_DEV_H
#define CIRCUIT_SIM_WIRE_DEV_H

#include "QorSim.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"
#include "platform/com/win32/support-error-info.h"

#include <string>

namespace qorsim {

class WireDev : public com::Dispatch<IQorWireDev>,
                public com::Dispatch<IQorDev>,
                public com::SupportErrorInfo<&IID_IQorWireDev, &IID_IQorDev> {
public:
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_NetInfo(short VisFromParts, LONG *pNetIndex) override;
  HRESULT STDMETHODCALLTYPE put_NetInfo(short VisFromParts, LONG newVal) override;

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
  long registerNet(const std::string &suffix, QorVariableTypes type);
  double solution(long index);
  void addRhs(long index, double amount);
  void addAbsSum(long index, double amount);
  void stamp();

  std::string name_;
  base::ComPtr<IDrawShape> shape_;
  long begin_ = -1, end_ = -1, branch_ = -1;
  base::ComPtr<IQorSimCkt> circuit_;
  base::ComPtr<IQorSimDC> vectors_;
  // (branch, begin), (begin, branch), (branch, end), (end, branch); the
  // matrix owns them.
  IQorSparseEntry *entries_[4] = {};
};

HRESULT createWireDev(REFIID riid, void **out);

} // namespace qorsim

#endif
