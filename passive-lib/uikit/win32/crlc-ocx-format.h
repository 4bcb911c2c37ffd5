// The "Format" page of the component sheets: the shown PARAMS and RESULT
// items as their label texts; the selected item's number format,
// precision, sign, name and unit display; moves in the display order; the
// results' "Simulation" layer. Loading an item into the controls writes
// nothing back.
#ifndef PASSIVE_LIB_UIKIT_CRLC_OCX_FORMAT_H
#define PASSIVE_LIB_UIKIT_CRLC_OCX_FORMAT_H

#include "passive-lib/uikit/core/format-page-model.h"
#include "passive-lib/uikit/win32/combo-box-qor.h"
#include "passive-lib/uikit/win32/component-page.h"
#include "passive-lib/uikit/win32/xml-page-section.h"

#include "platform/dialogs/win32/combo-box.h"
#include "platform/dialogs/win32/list-view.h"
#include "platform/dialogs/win32/up-down.h"

#include <memory>
#include <optional>
#include <string>

namespace uikit {

class CRLCOcxFormat : public ComponentPage {
public:
  CRLCOcxFormat();

  void attach(SheetOwner &owner) override;
  dialogs::ListView &list(passive::FormatSide side) {
    return side == passive::FormatSide::Params ? paramsList_ : resultsList_;
  }

protected:
  HelpIdTable helpIds() const override;
  BOOL OnInitDialog() override;
  bool OnSetActive() override;
  bool OnKillActive() override;
  bool onCommand(WORD id, WORD code, HWND control) override;
  bool onNotify(NMHDR *header, LRESULT &result) override;

private:
  void fillList(passive::FormatSide side);
  void load(passive::FormatSide side, int row);
  void change(passive::ItemSetting setting, int value);
  void move(int delta);
  bool checked(int id) const { return IsDlgButtonChecked(handle(), id) == BST_CHECKED; }

  dialogs::ListView resultsList_, paramsList_;
  dialogs::UpDown moveSpin_, precisionSpin_;
  CComboBoxQor formatCombo_;
  std::unique_ptr<XmlPageSection> params_, results_;
  std::unique_ptr<passive::FormatPageModel> model_;
  std::string shownPartId_;
  std::optional<std::string> openingIdText_; // the identifier item's TEXT when the sheet opened
  bool active_ = false;
  bool paramsSide_ = false, resultsSide_ = false;
};

} // namespace uikit

#endif
