#include "passive-lib/uikit/win32/crlc-ocx-result.h"

#include "passive-lib/uikit/win32/item-columns.h"
#include "passive-lib/uikit/win32/page-notifications.h"
#include "passive-lib/uikit/win32/pages-resource.h"
#include "passive-lib/win32/xml-access.h"

namespace uikit {

CRLCOcxResult::CRLCOcxResult() : ComponentPage(IDD_RESULTS_PAGE) {}

void CRLCOcxResult::attach(SheetOwner &owner) {
  base::ComPtr<IXMLElement> root = owner.rootElement();
  results_ = std::make_unique<XmlPageSection>(passive::childElement(root.get(), "RESULT"));
  model_ = std::make_unique<passive::ResultPageModel>(results_->section());
}

BOOL CRLCOcxResult::OnInitDialog() {
  ComponentPage::OnInitDialog();
  list_.subclass(item(IDC_RESULTS_LIST));
  list_.setExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_TWOCLICKACTIVATE);
  list_.setBackground(RGB(255, 255, 255));
  RECT client;
  GetClientRect(list_.handle(), &client);
  list_.insertColumn(NameColumn, "Name", 60);
  list_.insertColumn(ValueColumn, "Value", client.right - 100, LVCFMT_RIGHT);
  list_.insertColumn(UnitsColumn, "Units", 40, LVCFMT_CENTER);
  if (model_)
    list_.send(LVM_SETITEMCOUNT, static_cast<WPARAM>(model_->rowCount()));
  return TRUE;
}

void CRLCOcxResult::fill() {
  list_.deleteAllItems();
  if (!model_)
    return;
  for (int row = 0; row < model_->rowCount(); ++row) {
    const passive::ItemRow text = model_->row(row);
    list_.insertItem(row, text.name);
    list_.setItemText(row, ValueColumn, text.value);
    list_.setItemText(row, UnitsColumn, text.unit);
    if (model_->shown(row))
      list_.setChecked(row, true);
  }
  fitItemColumns(list_);
}

bool CRLCOcxResult::OnSetActive() {
  fill();
  active_ = true;
  return ComponentPage::OnSetActive();
}

bool CRLCOcxResult::OnKillActive() {
  active_ = false;
  return ComponentPage::OnKillActive();
}

bool CRLCOcxResult::onNotify(NMHDR *header, LRESULT &result) {
  if (header->idFrom != IDC_RESULTS_LIST)
    return ComponentPage::onNotify(header, result);
  if (header->code == LVN_ITEMCHANGING) {
    const NMLISTVIEW &change = *reinterpret_cast<NMLISTVIEW *>(header);
    result = (change.uChanged & LVIF_STATE) && (change.uNewState & (LVIS_SELECTED | LVIS_FOCUSED))
                 ? TRUE
                 : FALSE;
    return true;
  }
  if (header->code == LVN_ITEMCHANGED) {
    const NMLISTVIEW &change = *reinterpret_cast<NMLISTVIEW *>(header);
    if (active_ && model_ && checkBoxChanged(change) &&
        model_->checkChanged(change.iItem, nowChecked(change)))
      markChanged();
    result = 0;
    return true;
  }
  if (isTipTextRequest(header) && model_) {
    setTipReply(header, model_->tip(tipRow(*header), tipColumn(*header)));
    result = 0;
    return true;
  }
  return ComponentPage::onNotify(header, result);
}

} // namespace uikit
