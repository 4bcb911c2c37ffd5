// Binding: the host's request for the control information is the moment
// the control finds its shape (through its site's moniker), takes the
// shape's unique identifier and registers with the page's circuit. The
// request itself is always answered E_NOTIMPL; nothing of the binding
// escapes it.
#include "passive-lib/win32/component-control.h"

#include "passive-lib/core/moniker-name.h"

#include "platform/base/win32/com-error.h"
#include "platform/base/win32/variant.h"

namespace passive {
namespace {

base::Variant nameKey(const std::string &name) {
  base::Variant key;
  V_VT(key.get()) = VT_BSTR;
  V_BSTR(key.get()) = Bstr(name).detach();
  return key;
}

} // namespace

// The simulator root is one object per process, so the control keeps the
// one it was given: each creation reads the class's registration, which
// for a page of a thousand components costs more than the solve.
ComPtr<IQorSimCkt> ComponentControl::pageCircuit(IDrawPage *page) const {
  if (!simRoot_) {
    base::check(CoCreateInstance(CLSID_SimRoot, nullptr,
                                 CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                 IID_IQorSimRoot, simRoot_.receiveVoid()));
  }
  ComPtr<IQorSimCkt> circuit;
  base::check(simRoot_->FindSim(page, circuit.receive()), IID_IQorSimRoot);
  base::checkPointer(circuit.get(), IID_IQorSimRoot);
  return circuit;
}

ComPtr<IDrawPage> ComponentControl::shapePage() const {
  base::checkPointer(shape_.get(), IID_IQorOcx);
  ComPtr<IDrawPage> page;
  base::check(shape_->get_ContainingPage(page.receive()), IID_IDrawShape);
  base::checkPointer(page.get(), IID_IDrawShape);
  return page;
}

ComPtr<IQorSimCkt> ComponentControl::shapeCircuit() const { return pageCircuit(shapePage().get()); }

void ComponentControl::bind() {
  IOleClientSite *site = state_.site.get();
  base::checkPointer(lib_.get(), IID_IQorLib);
  Bstr monikerName;
  base::check(lib_->ClientSiteMonikerName(site, OLEWHICHMK_OBJFULL, monikerName.receive()),
              IID_IQorLib);
  MonikerNames names;
  if (!cutMonikerName(monikerName.toAnsi(), names))
    throw base::ComError(E_INVALIDARG, IID_IQorOcx);

  ComPtr<IOleContainer> container;
  base::check(site->GetContainer(container.receive()), IID_IOleClientSite);
  ComPtr<IDrawPage> containerPage = base::checkPointer(container.get(), IID_IOleClientSite)
                                        ? container.query<IDrawPage>()
                                        : nullptr;
  base::checkPointer(containerPage.get(), IID_IOleContainer);
  ComPtr<IDrawDocument> containerDocument;
  base::check(containerPage->get_Document(containerDocument.receive()), IID_IDrawPage);
  ComPtr<IDrawApplication> application;
  base::check(base::checkPointer(containerDocument.get(), IID_IDrawPage)
                  ->get_Application(application.receive()),
              IID_IDrawDocument);
  ComPtr<IDrawDocuments> documents;
  base::check(
      base::checkPointer(application.get(), IID_IDrawDocument)->get_Documents(documents.receive()),
      IID_IDrawApplication);
  ComPtr<IDrawDocument> document;
  base::check(base::checkPointer(documents.get(), IID_IDrawApplication)
                  ->get_Item(*nameKey(names.document).get(), document.receive()),
              IID_IDrawDocuments);
  ComPtr<IDrawPages> pages;
  base::check(base::checkPointer(document.get(), IID_IDrawDocuments)->get_Pages(pages.receive()),
              IID_IDrawDocument);
  ComPtr<IDrawPage> page;
  base::check(base::checkPointer(pages.get(), IID_IDrawDocument)
                  ->get_Item(*nameKey(names.page).get(), page.receive()),
              IID_IDrawPages);
  ComPtr<IDrawShapes> shapes;
  base::check(base::checkPointer(page.get(), IID_IDrawPages)->get_Shapes(shapes.receive()),
              IID_IDrawPage);
  ComPtr<IDrawShape> shape;
  base::check(base::checkPointer(shapes.get(), IID_IDrawPage)
                  ->get_Item(*nameKey(names.shape).get(), shape.receive()),
              IID_IDrawShapes);
  shape_ = ComPtr<IDrawShape>(base::checkPointer(shape.get(), IID_IDrawShapes));

  Bstr uniqueId;
  base::check(shape_->get_UniqueID(1, uniqueId.receive()), IID_IDrawShape);
  const bool changed =
      !compGuid_.get() || uniqueId.length() != compGuid_.length() ||
      std::wmemcmp(uniqueId.get() ? uniqueId.get() : L"", compGuid_.get() ? compGuid_.get() : L"",
                   uniqueId.length()) != 0;
  const VARIANT_BOOL update = changed ? VARIANT_TRUE : VARIANT_FALSE;
  if (changed)
    compGuid_ = std::move(uniqueId);
  if (kind_.hasParams) {
    Bstr partId;
    if (SUCCEEDED(get_PartID(partId.receive())))
      partId_ = std::move(partId);
  }
  ComPtr<IQorSimCkt> circuit = pageCircuit(page.get());
  base::check(
      circuit->OcxMapInsert(compGuid_.get(), shape_.get(), static_cast<IQorOcx *>(this), update),
      IID_IQorSimCkt);
  put_DirtyFlag(update);
}

HRESULT STDMETHODCALLTYPE ComponentControl::GetControlInfo(CONTROLINFO *) {
  if (!state_.site)
    return E_NOTIMPL;
  base::guardHostEntry([&]() -> HRESULT {
    bind();
    return S_OK;
  });
  return E_NOTIMPL;
}

} // namespace passive
