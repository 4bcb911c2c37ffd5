// TSearchForm: the search dialog that sets the invoice filter: two keys
// joined by "OR", "AND" or "NOT", or "*ALL*" for no filter.
#ifndef INVOICE_MAILER_WIN32_SEARCH_FORM_H
#define INVOICE_MAILER_WIN32_SEARCH_FORM_H

#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"

#include <string>

namespace billpost {

class TSearchForm : public components::TForm {
public:
  explicit TSearchForm(components::TComponent *owner);

  // Shows the keys and join word and runs the dialog. filterOn becomes true
  // when OK was pressed with a join word other than "*ALL*"; only then are
  // the keys and the join word taken back.
  void SearchParms(std::string &key1, std::string &key2, bool &filterOn, std::string &joinWord);

private:
  void joinChosen();
  void key1Changed();

  components::TLabel *lblShow;
  components::TEdit *editKey1;
  components::TRadioGroup *rgrpJoin;
  components::TEdit *editKey2;
  components::TButton *btnOK;
  components::TButton *btnCancel;
};

} // namespace billpost

#endif
