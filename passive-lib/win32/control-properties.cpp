// The control's property sheet and its refresh after a solve. The sheet
// edits the parsed document in place; the text copy taken before it opens
// (and renewed after each Apply) is what a cancel restores.
#include "passive-lib/win32/component-control.h"

#include "passive-lib/core/order-list.h"
#include "passive-lib/win32/xml-access.h"

#include "platform/base/win32/com-error.h"

#include <vector>

namespace passive {
namespace {

struct SectionData {
  ComPtr<IXMLElement> element;
  std::vector<ComPtr<IXMLElement>> owners;
  std::vector<IXMLElement *> items;
  std::vector<long> order;

  void fill(IXMLElement *section) {
    element = ComPtr<IXMLElement>(section);
    if (!section)
      return;
    owners = childElements(section);
    for (const ComPtr<IXMLElement> &item : owners)
      items.push_back(item.get());
    std::string text;
    if (attributeText(section, "ORDER", text))
      order = orderIndices(text);
  }
  SheetSection view() const {
    SheetSection section;
    section.section = element.get();
    section.items = items.data();
    section.itemCount = items.size();
    section.order = order.data();
    section.orderCount = order.size();
    return section;
  }
};

// The wait cursor for the time of a re-solve, the previous one restored.
class WaitCursor {
public:
  WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor &) = delete;
  WaitCursor &operator=(const WaitCursor &) = delete;

private:
  HCURSOR previous_;
};

std::wstring wideOf(const std::string &text) {
  Bstr wide(text);
  return std::wstring(wide.get() ? wide.get() : L"", wide.length());
}

} // namespace

RunPropertySheet propertySheetRunner() {
  // A host without people answers for the user; the library's own sheets
  // join here.
  return reinterpret_cast<RunPropertySheet>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA(nullptr), "QorLib01PropertySheet")));
}

void ComponentControl::snapshot() {
  Bstr text;
  base::check(lib_->XML2BSTR(base::checkPointer(document_.get(), IID_IXMLDocument), text.receive()),
              IID_IQorLib);
  dataStr1_ = std::move(text);
}

void ComponentControl::restoreSnapshot() {
  ComPtr<IXMLDocument> parsed;
  base::check(lib_->BSTR2XML(dataStr1_.get(), parsed.receive()), IID_IQorLib);
  document_ = parsed;
}

HRESULT STDMETHODCALLTYPE ComponentControl::renewSnapshot() {
  return base::guardHostEntry([&]() -> HRESULT {
    snapshot();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE ComponentControl::applyParameters() {
  return base::guardHostEntry([&]() -> HRESULT {
    ComPtr<IQorSimCkt> circuit = shapeCircuit();
    ComPtr<IQorDev> device;
    if (FAILED(circuit->GetDev(shape_.get(), device.receive())) || !device)
      return S_FALSE;
    WaitCursor wait;
    Bstr partId;
    base::check(get_PartID(partId.receive()), IID_IQorOcx);
    base::check(circuit->put_OcxMapPartID(compGuid_.get(), partId.get()), IID_IQorSimCkt);
    base::check(device->UpdateParams(), IID_IQorDev);
    base::check(circuit->SolveDC(), IID_IQorSimCkt);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE ComponentControl::ShowProperties() {
  return base::guardHostEntry([&]() -> HRESULT {
    shapeCircuit();
    snapshot();
    const std::wstring caption = wideOf(deviceAttribute("NAME") + " Properties");
    const bool pageCaption =
        kind_.kind != ComponentKind::PowerRail && kind_.kind != ComponentKind::DcSource;
    const std::wstring messageCaption = wideOf(deviceAttribute("NAME"));
    ComPtr<IXMLElement> rootElement = root();
    SectionData params, result;
    params.fill(section("PARAMS").get());
    result.fill(section("RESULT").get());

    SheetRequest request = {};
    request.kind = kind_.kind;
    request.caption = caption.c_str();
    request.messageCaption = kind_.hasParams && pageCaption ? messageCaption.c_str() : nullptr;
    request.control = static_cast<IQorOcx2 *>(this);
    request.root = rootElement.get();
    request.params = params.view();
    request.result = result.view();
    request.cachedPartId = partId_.get();
    request.owner = this;
    SheetOutcome outcome;
    RunPropertySheet run = propertySheetRunner();
    const HRESULT hr = run ? run(request, outcome) : E_NOTIMPL;
    if (FAILED(hr) || !outcome.accepted) {
      restoreSnapshot();
      return FAILED(hr) ? S_FALSE : S_OK;
    }
    if (!kind_.hasParams) {
      // The ground's dialog changes only how its result shows.
      markDirty();
      layoutShape();
      return S_OK;
    }
    if (!outcome.paramsChanged && !outcome.resultsChanged && !outcome.formatChanged)
      return S_OK;
    markDirty();
    if (outcome.paramsChanged || outcome.formatChanged)
      updateBodyText();
    if (outcome.resultsChanged || outcome.formatChanged)
      layoutShape();
    if (outcome.paramsChanged)
      return applyParameters();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE ComponentControl::OnAdvise(QorAdviseMask) {
  if (!shape_)
    return S_FALSE;
  return base::guardHostEntry([&]() -> HRESULT {
    ComPtr<IQorSimCkt> circuit = shapeCircuit();
    ComPtr<IQorDev> device;
    base::check(circuit->GetDev(shape_.get(), device.receive()), IID_IQorSimCkt);
    base::check(base::checkPointer(device.get(), IID_IQorSimCkt)->UpdateResult(), IID_IQorDev);
    writeLayout();
    return S_OK;
  });
}

} // namespace passive
