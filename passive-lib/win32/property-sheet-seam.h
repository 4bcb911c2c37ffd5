// What a component's property sheet (or the ground's dialog) receives from
// the control that opens it, and what it reports back. The control hands
// the sheet the live elements of its parsed component XML; the pages edit
// them in place. Apply inside the sheet calls back through SheetOwner.
//
// The sheets are found at run time: a program that hosts the library
// without people (the tests) may export "QorLib01PropertySheet" of type
// RunPropertySheet and answers for the user; otherwise the library's own
// sheets run, and while it has none the sheet counts as cancelled.
#ifndef PASSIVE_LIB_PROPERTY_SHEET_SEAM_H
#define PASSIVE_LIB_PROPERTY_SHEET_SEAM_H

#include "QorLib01.h"

#include "passive-lib/core/component-templates.h"

#include <cstddef>

namespace passive {

// The opening control, as the sheet's Apply needs it.
class SheetOwner {
public:
  virtual HRESULT STDMETHODCALLTYPE updateBodyText() = 0;
  virtual HRESULT STDMETHODCALLTYPE layoutShape() = 0;
  // Raises the requires-save state.
  virtual void STDMETHODCALLTYPE markDirty() = 0;
  // The part ID to the circuit, the device's UpdateParams, the circuit's
  // SolveDC, under the wait cursor.
  virtual HRESULT STDMETHODCALLTYPE applyParameters() = 0;
  // After an Apply: the document as applied becomes the copy that a later
  // Cancel restores.
  virtual HRESULT STDMETHODCALLTYPE renewSnapshot() = 0;

protected:
  ~SheetOwner() = default;
};

struct SheetSection {
  IXMLElement *section = nullptr; // null: the kind has no such section
  IXMLElement *const *items = nullptr;
  std::size_t itemCount = 0;
  const long *order = nullptr; // the ORDER indices
  std::size_t orderCount = 0;
};

struct SheetRequest {
  ComponentKind kind;
  const wchar_t *caption;        // NAME + " Properties"
  const wchar_t *messageCaption; // the Parameters page's message-box caption, or null
  IQorOcx2 *control;
  IXMLElement *root;
  SheetSection params, result;
  BSTR cachedPartId; // the control's cached part ID (may be null)
  SheetOwner *owner;
};

struct SheetOutcome {
  bool accepted = false; // closed with OK
  bool paramsChanged = false, resultsChanged = false, formatChanged = false;
};

using RunPropertySheet = HRESULT(__cdecl *)(const SheetRequest &request, SheetOutcome &outcome);

// The runner of the sheets for this process (see above); null when there
// is none.
RunPropertySheet propertySheetRunner();

} // namespace passive

#endif
