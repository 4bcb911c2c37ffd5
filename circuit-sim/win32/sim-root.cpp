// The simulator root: the registry of page circuits. The page and
// document deletion events and the menu macros come with the root's own
// part of the simulator; until then they report that they are absent.
#include "circuit-sim/win32/sim-root.h"
#include "circuit-sim/win32/host-calls.h"
#include "circuit-sim/win32/sim-ckt.h"

#include "platform/base/win32/com-error.h"

namespace qorsim {

const com::InterfaceEntry *SimRoot::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IQorSimRoot, com::interfaceOffset<SimRoot, IQorSimRoot>()},
      {&IID_IDispatch, com::interfaceOffset<SimRoot, IQorSimRoot>()},
      {nullptr, 0}};
  return table;
}

HRESULT STDMETHODCALLTYPE SimRoot::VisEventProc(short, IUnknown *, LONG, LONG, VARIANT, VARIANT) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE SimRoot::FindSim(IDrawPage *DrawingPage, IQorSimCkt **pQorSimCkt) {
  if (!pQorSimCkt)
    return E_POINTER;
  *pQorSimCkt = nullptr;
  if (!DrawingPage)
    return E_POINTER;
  return base::guardCom(IID_IQorSimRoot, [&]() -> HRESULT {
    ComPtr<IDrawShape> sheet;
    base::check(DrawingPage->get_PageSheet(sheet.receive()), IID_IDrawPage);
    const std::string key = host::uniqueId(base::checkPointer(sheet.get(), IID_IDrawPage), 1);
    auto found = circuits_.find(key);
    if (found == circuits_.end()) {
      ComPtr<IQorSimCkt> circuit;
      base::check(createSimCkt(IID_IQorSimCkt, circuit.receiveVoid()), IID_IQorSimCkt);
      base::check(circuit->SetupEvents(DrawingPage), IID_IQorSimCkt);
      found = circuits_.emplace(key, circuit).first;
    }
    found->second->AddRef();
    *pQorSimCkt = found->second.get();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SimRoot::ShowHelpAbout() { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE SimRoot::CreateNetlist(IDrawPage *ActivePage) {
  if (!ActivePage)
    return E_POINTER;
  return E_NOTIMPL;
}

HRESULT createSimRoot(REFIID riid, void **out) { return com::Object<SimRoot>::create(riid, out); }

} // namespace qorsim
