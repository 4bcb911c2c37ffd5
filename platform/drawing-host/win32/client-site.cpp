// Client site and container of objects inserted by the stand-in host.
#include "platform/drawing-host/win32/client-site.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"

namespace drawhost {

ClientSite::ClientSite(Page *page, std::string displayName)
    : page_(page), displayName_(std::move(displayName)) {}

const com::InterfaceEntry *ClientSite::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IOleClientSite, com::interfaceOffset<ClientSite, IOleClientSite>()}, {nullptr, 0}};
  return table;
}

HRESULT STDMETHODCALLTYPE ClientSite::SaveObject() { return S_OK; }

// The full object moniker: a file moniker of the document composed with an
// item moniker for the rest, so that its display name is the whole text.
HRESULT STDMETHODCALLTYPE ClientSite::GetMoniker(DWORD, DWORD dwWhichMoniker, IMoniker **ppmk) {
  if (!ppmk)
    return E_POINTER;
  *ppmk = nullptr;
  if (dwWhichMoniker != OLEWHICHMK_OBJFULL)
    return E_NOTIMPL;
  return base::guardCom(IID_IOleClientSite, [&]() -> HRESULT {
    size_t split = displayName_.find("\\Drawing\\");
    if (split == std::string::npos)
      return E_UNEXPECTED;
    base::Bstr file(displayName_.substr(0, split));
    base::Bstr item(displayName_.substr(split + 1));
    ComPtr<IMoniker> fileMoniker, itemMoniker;
    base::check(CreateFileMoniker(file.get(), fileMoniker.receive()));
    base::check(CreateItemMoniker(L"\\", item.get(), itemMoniker.receive()));
    return CreateGenericComposite(fileMoniker.get(), itemMoniker.get(), ppmk);
  });
}

HRESULT STDMETHODCALLTYPE ClientSite::GetContainer(IOleContainer **ppContainer) {
  if (!ppContainer)
    return E_POINTER;
  *ppContainer = new (std::nothrow) Container(page_.get());
  return *ppContainer ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE ClientSite::ShowObject() { return S_OK; }
HRESULT STDMETHODCALLTYPE ClientSite::OnShowWindow(BOOL) { return S_OK; }
HRESULT STDMETHODCALLTYPE ClientSite::RequestNewObjectLayout() { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE Container::QueryInterface(REFIID riid, void **out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleContainer) ||
      IsEqualIID(riid, IID_IParseDisplayName)) {
    *out = static_cast<IOleContainer *>(this);
    AddRef();
    return S_OK;
  }
  if (IsEqualIID(riid, IID_IDrawPage) || IsEqualIID(riid, IID_IDispatch))
    return page_->QueryInterface(riid, out);
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE Container::AddRef() { return InterlockedIncrement(&refs_); }

ULONG STDMETHODCALLTYPE Container::Release() {
  LONG refs = InterlockedDecrement(&refs_);
  if (refs == 0)
    delete this;
  return refs;
}

HRESULT STDMETHODCALLTYPE Container::ParseDisplayName(IBindCtx *, LPOLESTR, ULONG *,
                                                      IMoniker **out) {
  if (out)
    *out = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Container::EnumObjects(DWORD, IEnumUnknown **out) {
  if (out)
    *out = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Container::LockContainer(BOOL) { return S_OK; }

} // namespace drawhost
