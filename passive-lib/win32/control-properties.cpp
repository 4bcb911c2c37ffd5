// The control's property sheet (the ground's dialog) and its refresh after a
// solve. The sheet edits the parsed document in place; the text copy taken
// before it opens (and renewed after each Apply) is what an end other than
// OK restores.
#include "passive-lib/win32/component-control.h"

#include "passive-lib/uikit/win32/circuit-update.h"
#include "passive-lib/uikit/win32/component-sheet.h"
#include "passive-lib/uikit/win32/gnd-properties-dialog.h"
#include "passive-lib/uikit/win32/wait-cursor.h"
#include "passive-lib/win32/control-sheet-owner.h"
#include "passive-lib/win32/xml-access.h"

#include "platform/base/win32/com-error.h"

#include <commctrl.h>

#include <memory>

namespace passive {
template <typename Run> bool ComponentControl::runUndoable(Run &&run) {
  bool accepted = false;
  try {
    accepted = run();
  } catch (const base::ComError &) {
    restoreSnapshot(); // the sheet failed before the user accepted it
    throw;
  }
  if (!accepted)
    restoreSnapshot();
  return accepted;
}

void ComponentControl::snapshot() {
  Bstr text;
  base::check(lib_->XML2BSTR(base::checkPointer(document_.get(), IID_IXMLDocument), text.receive()),
              IID_IQorLib);
  dataStr1_ = Bstr::copyOf(text.get());
  undoCopy_ = std::move(text);
}

void ComponentControl::restoreSnapshot() {
  ComPtr<IXMLDocument> parsed;
  base::check(lib_->BSTR2XML(undoCopy_.get(), parsed.receive()), IID_IQorLib);
  document_ = parsed;
  dataStr1_ = Bstr::copyOf(undoCopy_.get());
}

bool ComponentControl::runSheet(const std::string &caption) {
  ControlSheetOwner owner(*this);
  std::unique_ptr<uikit::ComponentSheet> sheet;
  {
    uikit::WaitCursor building;
    if (!kind_.makeSheet)
      throw base::ComError(E_UNEXPECTED, IID_IQorOcx);
    sheet = kind_.makeSheet(caption, owner);
  }
  if (!runUndoable([&] { return sheet->run() == IDOK; }))
    return false;
  const bool params = sheet->parametersPage() && sheet->parametersPage()->changed();
  const bool results = sheet->resultsPage() && sheet->resultsPage()->changed();
  const bool format = sheet->formatPage() && sheet->formatPage()->changed();
  if (!params && !results && !format)
    return true;
  markDirty();
  if (params || format)
    UpdateBodyText();
  if (results || format)
    LayoutShape();
  // A failing re-solve ends the call with S_FALSE; the accepted edits stay.
  if (params)
    uikit::updateCircuitOf(owner);
  return true;
}

bool ComponentControl::runGroundDialog() {
  ControlSheetOwner owner(*this);
  ComPtr<IXMLElement> result = section("RESULT");
  base::checkPointer(result.get(), IID_IXMLElement);
  ComPtr<IXMLElement> item = childElement(result.get(), "ITEM");
  base::checkPointer(item.get(), IID_IXMLElement);
  uikit::GndPropertiesDialog dialog(&owner, nullptr);
  dialog.setElements(result.get(), item.get());
  if (!runUndoable([&] { return dialog.doModal() == IDOK; }))
    return false;
  // OK: the result's look may have changed, never the solution.
  markDirty();
  LayoutShape();
  return true;
}

HRESULT STDMETHODCALLTYPE ComponentControl::ShowProperties() {
  if (!shape_)
    return S_FALSE;
  return base::guardHostEntry([&]() -> HRESULT {
    shapeCircuit();
    snapshot();
    // The pages' list views, up-downs and tips, whatever the host set up.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // While it is open, a save writes the last confirmed text, never the
    // half-edited document.
    struct OpenSheet {
      bool &open;
      explicit OpenSheet(bool &flag) : open(flag) { open = true; }
      ~OpenSheet() { open = false; }
    } openSheet(sheetOpen_);
    if (kind_.hasParams)
      runSheet(deviceAttribute("NAME") + " Properties");
    else
      runGroundDialog();
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
