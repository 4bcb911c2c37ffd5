#include "passive-lib/uikit/win32/component-sheet.h"

#include "passive-lib/uikit/win32/circuit-update.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"
#include "platform/dialogs/win32/user-prompts.h"

namespace uikit {

namespace {

bool changed(const ComponentPage *page) { return page && page->changed(); }

// The attribute as text; empty when absent. A COM failure throws.
std::string attributeOf(IXMLElement *element, const wchar_t *name) {
  base::Bstr attribute = base::Bstr::adopt(SysAllocString(name));
  VARIANT value;
  VariantInit(&value);
  HRESULT hr = element->getAttribute(attribute.get(), &value);
  base::check(hr, IID_IXMLElement);
  std::string text;
  if (hr == S_OK) {
    if (V_VT(&value) != VT_BSTR)
      base::check(VariantChangeType(&value, &value, 0, VT_BSTR), IID_IXMLElement);
    text = base::Bstr::toAnsiText(V_BSTR(&value));
  }
  VariantClear(&value);
  return text;
}

} // namespace

ComponentSheet::ComponentSheet(std::string caption, SheetOwner &owner, HWND parent, UINT startPage,
                               PageKind parametersKind)
    : ComponentSheet(std::move(caption), owner, parent, startPage,
                     makeComponentPage(parametersKind), makeComponentPage(PageKind::Results),
                     makeComponentPage(PageKind::Format)) {}

ComponentSheet::ComponentSheet(std::string caption, SheetOwner &owner, HWND parent, UINT startPage,
                               std::unique_ptr<ComponentPage> parameters,
                               std::unique_ptr<ComponentPage> results,
                               std::unique_ptr<ComponentPage> format)
    : CRLCOcxSheet(std::move(caption), parent, startPage), owner_(owner),
      parameters_(std::move(parameters)), results_(std::move(results)), format_(std::move(format)) {
  for (ComponentPage *page : {parameters_.get(), results_.get(), format_.get()})
    if (page)
      AddPage(page);
}

INT_PTR ComponentSheet::run() {
  for (ComponentPage *page : {parameters_.get(), results_.get(), format_.get()})
    if (page)
      page->attach(owner_);
  return doModal();
}

bool ComponentSheet::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  if (message == WM_COMMAND && LOWORD(wParam) == dialogs::ID_APPLY_NOW) {
    OnApplyNow(wParam, lParam);
    result = 0;
    return true;
  }
  if (message == WM_SYSCOMMAND && OnSysCommand(wParam)) {
    result = 0;
    return true;
  }
  return CRLCOcxSheet::onMessage(message, wParam, lParam, result);
}

void ComponentSheet::OnApplyNow(WPARAM wParam, LPARAM lParam) {
  defaultProc(WM_COMMAND, wParam, lParam); // every page applies its edits
  bool parameters = changed(parameters_.get());
  bool results = changed(results_.get());
  bool format = changed(format_.get());
  owner_.putDirtyFlag(true);
  if (parameters || format)
    owner_.UpdateBodyText();
  if (results || format)
    owner_.LayoutShape();
  if (parameters)
    updateCircuitOf(owner_);
  for (ComponentPage *page : {parameters_.get(), results_.get(), format_.get()})
    if (page) {
      page->clearChanged();
      page->setModified(false);
    }
  send(PSM_CANCELTOCLOSE);
  owner_.keepAppliedState();
}

bool ComponentSheet::OnSysCommand(WPARAM command) {
  if ((command & 0xFFF0) != VersionCommand)
    return false;
  std::string version, created;
  try {
    base::ComPtr<IXMLElement> root = owner_.rootElement();
    base::checkPointer(root.get(), IID_IXMLElement);
    version = attributeOf(root.get(), L"VERSION");
    created = attributeOf(root.get(), L"CREATED");
  } catch (const base::ComError &) {
    return true; // nothing to show
  }
  dialogs::UserPrompts::messageBox(handle(),
                                   "Component version " + version + "\nCreated " + created,
                                   "Version Information", MB_ICONINFORMATION);
  return true;
}

} // namespace uikit
