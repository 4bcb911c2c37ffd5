// The "Parameters" page of the diode and transistor sheets: the source
// page's list, spin and "Auto-Apply", with the component's model library.
// The TYPE row opens the library's model list in place and a chosen model
// resets every SPICE parameter to the library and then to the model's
// values (COPY references followed); editing or stepping a SPICE parameter
// first asks once and turns the type into "CUSTOM"; a custom type asks
// before the model list opens. Entries are checked by RANGE ("ID", "POS",
// "NONNEG"). Message boxes are captioned with the component's name.
#ifndef SEMI_LIB_SHEETS_SEMI_OCX_PARAMS_H
#define SEMI_LIB_SHEETS_SEMI_OCX_PARAMS_H

#include "passive-lib/uikit/win32/params-page.h"
#include "semi-lib/core/model-library.h"
#include "semi-lib/core/type-rule.h"

#include <string>

namespace semi {

class CSemiOcxParams : public uikit::ParamsPage {
public:
  // The library text as the component carries it; one that does not parse
  // gives an empty model list.
  explicit CSemiOcxParams(const std::string &libraryText);

  const ModelLibrary &library() const { return library_; }

protected:
  void attach(uikit::SheetOwner &owner) override;
  bool onNotify(NMHDR *header, LRESULT &result) override;

private:
  // The list row whose name column reads name; -1 when none.
  int rowNamed(const std::string &name);
  passive::PageElement *element(int row) const;
  std::string typeText();
  std::string typeDefault();
  // Asks the question (none: true); true when answered OK.
  bool confirm(Question question);
  void makeCustom();
  void activate(int row);
  void step(int delta);
  LRESULT endEdit(const NMLVDISPINFOA &edit);
  void selectModel(const std::string &type);

  ModelLibrary library_;
};

} // namespace semi

#endif
