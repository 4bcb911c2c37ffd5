// A page of a component's property sheet: a TipPropertyPage with the
// changed flag that the sheet reads after Apply and clears, and the moment
// at which it takes its elements from the opening control's document
// (before the sheet is shown).
#ifndef PASSIVE_LIB_UIKIT_COMPONENT_PAGE_H
#define PASSIVE_LIB_UIKIT_COMPONENT_PAGE_H

#include "passive-lib/uikit/win32/sheet-owner.h"
#include "passive-lib/uikit/win32/tip-property-page.h"

namespace uikit {

class ComponentPage : public TipPropertyPage {
public:
  explicit ComponentPage(UINT templateId) : TipPropertyPage(templateId, 0) {}

  // Takes the elements the page edits from the owner's document.
  virtual void attach(SheetOwner &owner) = 0;

  bool changed() const { return isModified; }
  void clearChanged() { isModified = false; }

protected:
  // A change of the page: the flag, and the sheet's Apply button.
  void markChanged() {
    isModified = true;
    setModified(true);
  }

  bool isModified = false;
};

} // namespace uikit

#endif
