// The simulator root: the registry of page circuits, which follows the
// deletion of pages and documents, and the entry point of the menu macros.
#include "circuit-sim/win32/sim-root.h"
#include "circuit-sim/win32/host-calls.h"
#include "circuit-sim/win32/about-box.h"
#include "circuit-sim/win32/sim-ckt.h"

#include "platform/base/win32/com-error.h"
#include "platform/com/win32/module.h"

#include <float.h>

namespace qorsim {

namespace {

const short EventPageDeleted = 0x4010;
const short EventDocumentDeleted = 0x4002;
const short BitPageDeleted = 0x10;
const short BitDocumentDeleted = 0x02;

ComPtr<IDrawEvent> subscribeWithKey(IDrawEventList *list, short code, IDispatch *sink,
                                    const std::string &key) {
  ComPtr<IDrawEvent> event;
  base::Bstr args(key);
  base::check(base::checkPointer(list, IID_IDrawEventList)
                  ->AddAdvise(code, sink, args.get(), event.receive()),
              IID_IDrawEventList);
  return event;
}

std::string argumentsOf(IDrawEventList *list, LONG id) {
  ComPtr<IDrawEvent> event;
  base::check(base::checkPointer(list, IID_IDrawEventList)->get_ItemFromID(id, event.receive()),
              IID_IDrawEventList);
  base::Bstr args;
  base::check(base::checkPointer(event.get(), IID_IDrawEventList)->get_TargetArgs(args.receive()),
              IID_IDrawEvent);
  return args.toAnsi();
}

} // namespace

const com::InterfaceEntry *SimRoot::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IQorSimRoot, com::interfaceOffset<SimRoot, IQorSimRoot>()},
      {&IID_IDispatch, com::interfaceOffset<SimRoot, IQorSimRoot>()},
      {nullptr, 0}};
  return table;
}

std::string SimRoot::keyOfEvent(short event, IUnknown *source, LONG id) {
  if (!source)
    return std::string();
  if (event & BitPageDeleted) {
    ComPtr<IDrawPage> page;
    source->QueryInterface(IID_IDrawPage, page.receiveVoid());
    ComPtr<IDrawEventList> events;
    base::check(base::checkPointer(page.get(), IID_IDrawPage)->get_EventList(events.receive()),
                IID_IDrawPage);
    return argumentsOf(events.get(), id);
  }
  if (event & BitDocumentDeleted) {
    ComPtr<IDrawDocument> document;
    source->QueryInterface(IID_IDrawDocument, document.receiveVoid());
    ComPtr<IDrawEventList> events;
    base::check(
        base::checkPointer(document.get(), IID_IDrawDocument)->get_EventList(events.receive()),
        IID_IDrawDocument);
    return argumentsOf(events.get(), id);
  }
  return std::string();
}

HRESULT STDMETHODCALLTYPE SimRoot::VisEventProc(short Event, IUnknown *Source, LONG ID, LONG,
                                                VARIANT, VARIANT) {
  _clearfp();
  _fpreset();
  return base::guardHostEntry([&]() -> HRESULT {
    auto found = circuits_.find(keyOfEvent(Event, Source, ID));
    if (found == circuits_.end())
      return S_OK;
    ComPtr<IQorSimCkt> circuit = found->second;
    circuits_.erase(found);
    base::check(circuit->Quit(), IID_IQorSimCkt);
    return S_OK;
  });
}

ComPtr<IQorSimCkt> SimRoot::findSim(IDrawPage *page) {
  ComPtr<IDrawShape> sheet;
  base::check(page->get_PageSheet(sheet.receive()), IID_IDrawPage);
  const std::string key = host::uniqueId(base::checkPointer(sheet.get(), IID_IDrawPage), 1);
  auto found = circuits_.find(key);
  if (found != circuits_.end()) {
    // A circuit quit by its user keeps neither page nor events; a page that
    // comes back with its key (a new document numbers its pages again)
    // gets a new circuit, so its first solve builds from the page.
    if (!static_cast<SimCkt *>(found->second.get())->hasQuit())
      return found->second;
    circuits_.erase(found);
  }
  ComPtr<IQorSimCkt> circuit;
  base::check(createSimCkt(IID_IQorSimCkt, circuit.receiveVoid()), IID_IQorSimCkt);
  base::check(circuit->SetupEvents(page), IID_IQorSimCkt);
  if (splashPending_) {
    splashPending_ = false;
    circuit->SplashScreen(); // a splash that cannot show is no failure
  }
  ComPtr<IDrawEventList> pageEvents;
  base::check(page->get_EventList(pageEvents.receive()), IID_IDrawPage);
  ComPtr<IDrawDocument> document;
  base::check(page->get_Document(document.receive()), IID_IDrawPage);
  ComPtr<IDrawEventList> documentEvents;
  base::check(
      base::checkPointer(document.get(), IID_IDrawPage)->get_EventList(documentEvents.receive()),
      IID_IDrawDocument);
  subscribeWithKey(pageEvents.get(), EventPageDeleted, this, key);
  subscribeWithKey(documentEvents.get(), EventDocumentDeleted, this, key);
  circuits_.emplace(key, circuit);
  return circuit;
}

HRESULT STDMETHODCALLTYPE SimRoot::FindSim(IDrawPage *DrawingPage, IQorSimCkt **pQorSimCkt) {
  if (!pQorSimCkt)
    return E_POINTER;
  *pQorSimCkt = nullptr;
  if (!DrawingPage)
    return E_POINTER;
  return base::guardCom(IID_IQorSimRoot, [&]() -> HRESULT {
    ComPtr<IQorSimCkt> circuit = findSim(DrawingPage);
    *pQorSimCkt = circuit.detach();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SimRoot::ShowHelpAbout() {
  return base::guardHostEntry([&]() -> HRESULT {
    return showAboutBox(com::moduleInstance(), GetActiveWindow()) == -1 ? E_FAIL : S_OK;
  });
}

HRESULT STDMETHODCALLTYPE SimRoot::CreateNetlist(IDrawPage *ActivePage) {
  if (!ActivePage)
    return E_POINTER;
  return base::guardCom(IID_IQorSimRoot, [&]() -> HRESULT {
    ComPtr<IQorSimCkt> circuit = findSim(ActivePage);
    return circuit->CreateNetlist();
  });
}

HRESULT createSimRoot(REFIID riid, void **out) { return com::Object<SimRoot>::create(riid, out); }

} // namespace qorsim
