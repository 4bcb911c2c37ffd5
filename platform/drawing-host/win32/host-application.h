// The application object: documents, built-in menus, the active window.
#ifndef PLATFORM_DRAWING_HOST_HOST_APPLICATION_H
#define PLATFORM_DRAWING_HOST_HOST_APPLICATION_H

#include "platform/drawing-host/win32/host-codes.h"

#include <string>
#include <vector>

namespace drawhost {

class Application : public com::Dispatch<IDrawApplication> {
public:
  explicit Application(StandInHost *host) : host_(host) {}
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_WindowHandle32(LONG *pHandle) override;
  HRESULT STDMETHODCALLTYPE get_Documents(IDrawDocuments **ppDocuments) override;
  HRESULT STDMETHODCALLTYPE get_BuiltInMenus(IDrawUIObject **ppMenus) override;
  HRESULT STDMETHODCALLTYPE get_ActiveWindow(IDrawWindow **ppWindow) override;

  void detach() { host_ = nullptr; }

private:
  StandInHost *host_;
};

} // namespace drawhost

#endif
