// The simulator root. The circuit registry, the page and document event
// handling and the menu macros arrive with the circuit class; until then
// the root checks its arguments and reports the work as not implemented.
#include "circuit-sim/win32/sim-root.h"

namespace qorsim {

const com::InterfaceEntry *SimRoot::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IQorSimRoot, com::interfaceOffset<SimRoot, IQorSimRoot>()},
      {&IID_IDispatch, com::interfaceOffset<SimRoot, IQorSimRoot>()},
      {nullptr, 0}};
  return table;
}

HRESULT STDMETHODCALLTYPE SimRoot::VisEventProc(short, IUnknown *, LONG, LONG, VARIANT,
                                                VARIANT) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE SimRoot::FindSim(IDrawPage *DrawingPage, IQorSimCkt **pQorSimCkt) {
  if (!pQorSimCkt)
    return E_POINTER;
  *pQorSimCkt = nullptr;
  if (!DrawingPage)
    return E_POINTER;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE SimRoot::ShowHelpAbout() { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE SimRoot::CreateNetlist(IDrawPage *ActivePage) {
  if (!ActivePage)
    return E_POINTER;
  return E_NOTIMPL;
}

HRESULT createSimRoot(REFIID riid, void **out) { return com::Object<SimRoot>::create(riid, out); }

} // namespace qorsim
