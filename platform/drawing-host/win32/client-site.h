// The site the stand-in host gives a control object it inserts into a
// shape: the object's moniker names the document, page and shape the way
// the host's monikers do ("<folder>\<document>\Drawing\<page>/~<shape>\<object>"),
// and the container leads to the page.
#ifndef PLATFORM_DRAWING_HOST_CLIENT_SITE_H
#define PLATFORM_DRAWING_HOST_CLIENT_SITE_H

#include "platform/drawing-host/win32/host-objects.h"

#include <ole2.h>
#include <oleidl.h>

#include <string>

namespace drawhost {

class ClientSite : public IOleClientSite {
public:
  // shape is the component shape that holds the inserted object.
  ClientSite(Page *page, std::string displayName);
  virtual ~ClientSite() = default;
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE SaveObject() override;
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker,
                                       IMoniker **ppmk) override;
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer **ppContainer) override;
  HRESULT STDMETHODCALLTYPE ShowObject() override;
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL fShow) override;
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

private:
  ComPtr<Page> page_;
  std::string displayName_;
};

// The container of inserted objects. Asked for the page interface it hands
// out the page itself, as the host's container does.
class Container : public IOleContainer {
public:
  explicit Container(Page *page) : page_(page) {}
  virtual ~Container() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx *, LPOLESTR, ULONG *, IMoniker **) override;
  HRESULT STDMETHODCALLTYPE EnumObjects(DWORD, IEnumUnknown **) override;
  HRESULT STDMETHODCALLTYPE LockContainer(BOOL) override;

private:
  LONG refs_ = 1;
  ComPtr<Page> page_;
};

} // namespace drawhost

#endif
