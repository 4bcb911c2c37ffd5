// One subscription of an event list: its code, its sink and its arguments.
#ifndef PLATFORM_DRAWING_HOST_HOST_EVENT_H
#define PLATFORM_DRAWING_HOST_HOST_EVENT_H

#include "platform/drawing-host/win32/host-codes.h"

#include <string>
#include <vector>

namespace drawhost {

class Event : public com::Dispatch<IDrawEvent> {
public:
  Event(EventList *list, long id, short code, IDispatch *sink, std::string args)
      : list_(list), id_(id), code_(code), sink_(sink), args_(std::move(args)) {}
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_ID(LONG *pID) override;
  HRESULT STDMETHODCALLTYPE get_Event(short *pCode) override;
  HRESULT STDMETHODCALLTYPE get_TargetArgs(BSTR *pArgs) override;
  HRESULT STDMETHODCALLTYPE Delete() override;

  long id() const { return id_; }
  short code() const { return code_; }
  bool deleted() const { return !list_; }
  IDispatch *sink() const { return sink_.get(); }
  void detach() { list_ = nullptr; }

private:
  EventList *list_;
  long id_;
  short code_;
  ComPtr<IDispatch> sink_;
  std::string args_;
};

} // namespace drawhost

#endif
