// SimRoot, the simulator root: one object per process that finds the
// circuit of a drawing page and answers the host's menu macros.
#ifndef CIRCUIT_SIM_SIM_ROOT_H
#define CIRCUIT_SIM_SIM_ROOT_H

#include "QorSim.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/com/win32/dispatch.h"
#include "platform/com/win32/object.h"

#include <map>
#include <string>

namespace qorsim {

class SimRoot : public com::Dispatch<IQorSimRoot> {
public:
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE VisEventProc(short Event, IUnknown *Source, LONG ID, LONG Seq,
                                         VARIANT Subject, VARIANT Extra) override;
  HRESULT STDMETHODCALLTYPE FindSim(IDrawPage *DrawingPage, IQorSimCkt **pQorSimCkt) override;
  HRESULT STDMETHODCALLTYPE ShowHelpAbout() override;
  HRESULT STDMETHODCALLTYPE CreateNetlist(IDrawPage *ActivePage) override;

private:
  base::ComPtr<IQorSimCkt> findSim(IDrawPage *page);
  // The page key an event's subscription carries.
  std::string keyOfEvent(short event, IUnknown *source, LONG id);

  // Page key (the unique identifier of the page's sheet) -> its circuit.
  std::map<std::string, base::ComPtr<IQorSimCkt>> circuits_;
  // Only the first circuit of the process shows the splash window.
  bool splashPending_ = true;
};

HRESULT createSimRoot(REFIID riid, void **out);

} // namespace qorsim

#endif
