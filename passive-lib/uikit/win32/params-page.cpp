#include "passive-lib/uikit/win32/params-page.h"

#include "passive-lib/uikit/win32/item-columns.h"
#include "passive-lib/uikit/win32/page-notifications.h"
#include "passive-lib/uikit/win32/pages-resource.h"
#include "passive-lib/win32/xml-access.h"

#include "platform/dialogs/win32/property-sheet-dialog.h"
#include "platform/dialogs/win32/user-prompts.h"

namespace uikit {
namespace {

// The help context numbers of the page's controls in the help file.
const DWORD AutoApplyHelp = 0x807000CC;
const DWORD RoundHelp = 0x807000CA;
const DWORD ListHelp = 0x807000C9;
const DWORD SpinHelp = 0x807000CB;

const DWORD PageHelpIds[] = {IDC_PARAMS_AUTO_APPLY,
                             AutoApplyHelp,
                             IDC_PARAMS_ROUND,
                             RoundHelp,
                             IDC_PARAMS_LIST,
                             ListHelp,
                             IDC_PARAMS_SPIN,
                             SpinHelp,
                             0,
                             0};

} // namespace

ParamsPage::ParamsPage(passive::ParamsFlavour flavour) : ParamsPage(flavour, PageHelpIds) {}

ParamsPage::ParamsPage(passive::ParamsFlavour flavour, HelpIdTable helpIds)
    : ComponentPage(IDD_PARAMS_PAGE), flavour_(flavour), helpIds_(helpIds) {}

void ParamsPage::attach(SheetOwner &owner) {
  base::ComPtr<IXMLElement> root = owner.rootElement();
  params_ = std::make_unique<XmlPageSection>(passive::childElement(root.get(), "PARAMS"));
  model_ =
      std::make_unique<passive::ParamsPageModel>(params_->section(), flavour_, owner.shownPartId());
  // The power rail's and the source's boxes are captioned "Power Supply";
  // the others carry the component's name.
  captionText = "Power Supply";
  if (flavour_ == passive::ParamsFlavour::Passive && root)
    passive::attributeText(root.get(), "NAME", captionText);
}

bool ParamsPage::AddTools() {
  toolTip_.addTool(item(IDC_PARAMS_SPIN), adjustTip_);
  return true;
}

BOOL ParamsPage::OnInitDialog() {
  spin_.subclass(item(IDC_PARAMS_SPIN));
  combo_.subclass(item(IDC_PARAMS_ROUND));
  list_.subclass(item(IDC_PARAMS_LIST));
  ComponentPage::OnInitDialog();
  int count = 0;
  const char *const *entries = passive::roundEntries(flavour_, count);
  for (int i = 0; i < count; ++i)
    combo_.addString(entries[i]);
  combo_.select(passive::defaultRoundIndex(flavour_));
  spin_.setRange(0, 2);
  spin_.setPosition(1);
  list_.setExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_TWOCLICKACTIVATE);
  list_.setBackground(RGB(255, 255, 255));
  RECT client;
  GetClientRect(list_.handle(), &client);
  list_.insertColumn(NameColumn, "Name", 60);
  list_.insertColumn(ValueColumn, "Value", client.right - 100);
  list_.insertColumn(UnitsColumn, "Units", 40);
  int selected = -1;
  if (model_) {
    list_.send(LVM_SETITEMCOUNT, static_cast<WPARAM>(model_->rowCount()));
    for (int row = 0; row < model_->rowCount(); ++row) {
      const passive::ItemRow text = model_->row(row);
      list_.insertItem(row, text.name);
      list_.setItemText(row, ValueColumn, text.value);
      list_.setItemText(row, UnitsColumn, text.unit);
    }
    for (int row = 0; row < model_->rowCount(); ++row)
      if (model_->shown(row))
        list_.setChecked(row, true);
    selected = model_->selectedAtStart();
    if (selected >= 0)
      list_.setItemState(selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  fitItemColumns(list_);
  if (selected >= 0) {
    list_.ensureVisible(selected);
    if (const std::optional<int> round = model_->round(selected))
      combo_.select(*round);
  }
  enableStepping(selected >= 0 && model_->numeric(selected));
  refreshAdjust();
  SetDlgItemTextA(handle(), IDC_PARAMS_GROUP, "Round value");
  return TRUE;
}

void ParamsPage::enableStepping(bool on) {
  EnableWindow(item(IDC_PARAMS_SPIN), on);
  EnableWindow(item(IDC_PARAMS_ROUND), on);
}

void ParamsPage::refreshAdjust() {
  if (!model_)
    return;
  const int row = list_.selectedRow();
  if (row >= 0)
    list_.ensureVisible(row);
  const passive::AdjustTip tip = model_->refreshAdjust(row, combo_.selection());
  if (tip.kind == passive::AdjustTip::TipsOff) {
    setTipsActive(false);
  } else if (tip.kind == passive::AdjustTip::Text) {
    setTipsActive(true);
    adjustTip_ = tip.text;
    toolTip_.UpdateTipText(item(IDC_PARAMS_SPIN), adjustTip_);
  }
}

void ParamsPage::afterChange() {
  refreshAdjust();
  markChanged();
  if (IsDlgButtonChecked(handle(), IDC_PARAMS_AUTO_APPLY) == BST_CHECKED)
    PostMessageA(sheetHandle(), WM_COMMAND, dialogs::ID_APPLY_NOW, 0);
}

bool ParamsPage::OnSetActive() {
  isActive = true;
  return ComponentPage::OnSetActive();
}

bool ParamsPage::OnKillActive() {
  isActive = false;
  return ComponentPage::OnKillActive();
}

bool ParamsPage::onCommand(WORD id, WORD code, HWND control) {
  if (id == IDC_PARAMS_ROUND && code == CBN_SELENDOK) {
    refreshAdjust();
    return true;
  }
  return ComponentPage::onCommand(id, code, control);
}

LRESULT ParamsPage::endEdit(const NMLVDISPINFOA &edit) {
  const int row = edit.item.iItem;
  const passive::EntryOutcome outcome = model_->endEdit(row, edit.item.pszText);
  if (outcome.kind == passive::EntryOutcome::Refused) {
    dialogs::UserPrompts::messageBox(handle(), outcome.message, captionText, MB_ICONEXCLAMATION);
    return -1;
  }
  if (outcome.kind == passive::EntryOutcome::Accepted) {
    list_.setItemText(row, ValueColumn, edit.item.pszText);
    afterChange();
  }
  enableStepping(model_->numeric(row));
  return 0;
}

bool ParamsPage::onNotify(NMHDR *header, LRESULT &result) {
  if (header->idFrom == IDC_PARAMS_SPIN && header->code == UDN_DELTAPOS) {
    result = 1; // the spin stays in the middle
    const int row = list_.selectedRow();
    if (!isActive || !model_ || row < 0 || !model_->numeric(row))
      return true;
    list_.ensureVisible(row);
    const int delta = reinterpret_cast<NMUPDOWN *>(header)->iDelta;
    const std::optional<std::string> text = model_->step(row, combo_.selection(), delta);
    if (text && list_.setItemText(row, ValueColumn, *text))
      afterChange();
    return true;
  }
  if (header->idFrom != IDC_PARAMS_LIST || !model_)
    return ComponentPage::onNotify(header, result);
  result = 0;
  switch (header->code) {
  case LVN_ENDLABELEDITA:
    result = endEdit(*reinterpret_cast<NMLVDISPINFOA *>(header));
    return true;
  case LVN_ITEMACTIVATE:
    // The value is typed in place; the spin and combo wait for its end.
    enableStepping(false);
    list_.EditSubLabel(reinterpret_cast<NMITEMACTIVATE *>(header)->iItem, ValueColumn, true);
    return true;
  case LVN_ITEMCHANGED: {
    const NMLISTVIEW &change = *reinterpret_cast<NMLISTVIEW *>(header);
    if (!isActive)
      return true;
    if (selectionLost(change))
      model_->selectionChanged(change.iItem, false);
    if (selectionGained(change)) {
      model_->selectionChanged(change.iItem, true);
      enableStepping(model_->numeric(change.iItem));
      if (const std::optional<int> round = model_->round(change.iItem))
        combo_.select(*round);
    }
    if (checkBoxChanged(change) && model_->checkChanged(change.iItem, nowChecked(change)))
      markChanged();
    return true;
  }
  default:
    break;
  }
  if (isTipTextRequest(header)) {
    const int row = tipRow(*header), column = tipColumn(*header);
    std::string text;
    if (column == 255)
      text = passive::checkBoxTip();
    else if (row >= 0 && row < model_->rowCount())
      text =
          passive::cellTip(*params_->section().items[static_cast<std::size_t>(row)]).value_or("");
    setTipReply(header, text);
    return true;
  }
  return ComponentPage::onNotify(header, result);
}

} // namespace uikit
