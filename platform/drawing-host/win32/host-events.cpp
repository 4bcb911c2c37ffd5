// Event lists and subscriptions of the stand-in host, and the late-bound
// delivery of events to VisEventProc of the subscribed sinks.
#include "platform/drawing-host/win32/host-objects.h"
#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"

#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

#include <algorithm>

namespace drawhost {

const com::InterfaceEntry *Event::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawEvent, com::interfaceOffset<Event, IDrawEvent>()},
      {&IID_IDispatch, com::interfaceOffset<Event, IDrawEvent>()},
      {nullptr, 0}};
  return table;
}

HRESULT STDMETHODCALLTYPE Event::get_ID(LONG *pID) {
  if (!pID)
    return E_POINTER;
  *pID = id_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Event::get_Event(short *pCode) {
  if (!pCode)
    return E_POINTER;
  *pCode = code_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Event::get_TargetArgs(BSTR *pArgs) {
  if (!pArgs)
    return E_POINTER;
  *pArgs = nullptr;
  return base::guardCom(IID_IDrawEvent, [&] { return textOut(args_, pArgs); });
}

HRESULT STDMETHODCALLTYPE Event::Delete() {
  if (!list_)
    return DrawHostObjectDeleted;
  return base::guardCom(IID_IDrawEvent, [&]() -> HRESULT {
    list_->remove(this);
    return S_OK;
  });
}

const com::InterfaceEntry *EventList::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawEventList, com::interfaceOffset<EventList, IDrawEventList>()},
      {&IID_IDispatch, com::interfaceOffset<EventList, IDrawEventList>()},
      {nullptr, 0}};
  return table;
}

HRESULT STDMETHODCALLTYPE EventList::get_Count(LONG *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<LONG>(events_.size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE EventList::AddAdvise(short EventCode, IDispatch *Sink, BSTR TargetArgs,
                                               IDrawEvent **ppEvent) {
  if (!ppEvent)
    return E_POINTER;
  *ppEvent = nullptr;
  if (!Sink)
    return E_INVALIDARG;
  if (!host_)
    return DrawHostObjectDeleted;
  return base::guardCom(IID_IDrawEventList, [&]() -> HRESULT {
    std::string args = base::Bstr::toAnsiText(TargetArgs);
    long id = host_->nextSubscriptionId();
    ComPtr<Event> event =
        ComPtr<Event>::adopt(new com::Object<Event>(this, id, EventCode, Sink, args));
    events_.push_back(event);
    host_->note("AddAdvise " + owner_ + " " + hex(static_cast<unsigned short>(EventCode)) + " id " +
                std::to_string(id) + " \"" + args + "\"");
    return interfaceOut(event.get(), ppEvent);
  });
}

HRESULT STDMETHODCALLTYPE EventList::get_ItemFromID(LONG ID, IDrawEvent **ppEvent) {
  if (!ppEvent)
    return E_POINTER;
  *ppEvent = nullptr;
  for (const ComPtr<Event> &event : events_) {
    if (event->id() == ID)
      return interfaceOut(event.get(), ppEvent);
  }
  return DrawHostNoSuchItem;
}

void EventList::remove(Event *event) {
  auto it = std::find_if(events_.begin(), events_.end(),
                         [&](const ComPtr<Event> &e) { return e.get() == event; });
  if (it == events_.end())
    return;
  if (host_)
    host_->note("Delete " + owner_ + " id " + std::to_string(event->id()));
  event->detach();
  events_.erase(it);
}

void EventList::detach() {
  for (ComPtr<Event> &event : events_)
    event->detach();
  events_.clear();
  host_ = nullptr;
}

namespace {

HRESULT callVisEventProc(IDispatch *sink, short code, IUnknown *source, long id, long seq,
                         const VARIANT &subject) {
  DISPID dispid;
  LPOLESTR name = const_cast<LPOLESTR>(L"VisEventProc");
  HRESULT hr = sink->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &dispid);
  if (FAILED(hr))
    return hr;
  // Arguments go in reverse order: Extra, Subject, Seq, ID, Source, Event.
  VARIANT args[6];
  for (VARIANT &arg : args)
    VariantInit(&arg);
  VariantCopy(&args[1], const_cast<VARIANT *>(&subject));
  V_VT(&args[2]) = VT_I4;
  V_I4(&args[2]) = seq;
  V_VT(&args[3]) = VT_I4;
  V_I4(&args[3]) = id;
  V_VT(&args[4]) = VT_UNKNOWN;
  V_UNKNOWN(&args[4]) = source;
  if (source)
    source->AddRef();
  V_VT(&args[5]) = VT_I2;
  V_I2(&args[5]) = code;
  DISPPARAMS params = {args, nullptr, 6, 0};
  base::Variant result;
  EXCEPINFO exception = {};
  UINT argError = 0;
  hr = sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.get(),
                    &exception, &argError);
  if (hr == DISP_E_EXCEPTION)
    hr = exception.scode;
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  for (VARIANT &arg : args)
    VariantClear(&arg);
  return hr;
}

} // namespace

void EventList::fire(short code, IUnknown *source, const VARIANT &subject) {
  if (!host_)
    return;
  // A sink may subscribe or unsubscribe while it handles the event: work
  // from a copy and skip subscriptions deleted meanwhile.
  std::vector<ComPtr<Event>> targets;
  for (const ComPtr<Event> &event : events_) {
    if (event->code() == code)
      targets.push_back(event);
  }
  for (const ComPtr<Event> &event : targets) {
    if (event->deleted() || !host_)
      continue;
    long seq = host_->nextSequence();
    host_->note("event " + hex(static_cast<unsigned short>(code)) + " " + owner_ + " id " +
                std::to_string(event->id()));
    StandInHost *host = host_;
    HRESULT hr = callVisEventProc(event->sink(), code, source, event->id(), seq, subject);
    if (hr != S_OK)
      host->note("event id " + std::to_string(event->id()) + " answered " + hex(hr));
  }
}

} // namespace drawhost
