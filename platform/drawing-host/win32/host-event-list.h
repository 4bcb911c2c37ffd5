// The subscriptions of one page, document or shape.
#ifndef PLATFORM_DRAWING_HOST_HOST_EVENT_LIST_H
#define PLATFORM_DRAWING_HOST_HOST_EVENT_LIST_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-event.h"

#include <string>
#include <vector>

namespace drawhost {

// The subscriptions of one page, document or shape.
class EventList : public com::Dispatch<IDrawEventList> {
public:
  EventList(StandInHost *host, std::string owner) : host_(host), owner_(std::move(owner)) {}
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_Count(LONG *pCount) override;
  HRESULT STDMETHODCALLTYPE AddAdvise(short EventCode, IDispatch *Sink, BSTR TargetArgs,
                                      IDrawEvent **ppEvent) override;
  HRESULT STDMETHODCALLTYPE get_ItemFromID(LONG ID, IDrawEvent **ppEvent) override;

  // Calls VisEventProc on every live subscription to code, in the order of
  // subscription; subscriptions added or deleted meanwhile are honoured.
  void fire(short code, IUnknown *source, const VARIANT &subject);
  void remove(Event *event);
  // Deletes every subscription (the owner is gone).
  void detach();

private:
  StandInHost *host_;
  std::string owner_; // for the call record
  std::vector<ComPtr<Event>> events_;
};

} // namespace drawhost

#endif
