#include "passive-lib/uikit/win32/crlc-ocx-format.h"

#include "passive-lib/uikit/win32/page-notifications.h"
#include "passive-lib/uikit/win32/pages-resource.h"
#include "passive-lib/uikit/win32/tip-reply.h"
#include "passive-lib/win32/xml-access.h"

namespace uikit {
namespace {

using passive::FormatSide;
using passive::ItemSetting;

const char *const FormatEntries[] = {"General", "Scientific", "Engineering", "Metric", "SPICE"};

const DWORD HelpIds[] = {IDC_FORMAT_CHANGE_SIGN,
                         0x807400D7,
                         IDC_FORMAT_SHOW_NAME,
                         0x807400D8,
                         IDC_FORMAT_SHOW_UNITS,
                         0x807400D9,
                         IDC_FORMAT_LAYER,
                         0x807400D6,
                         IDC_FORMAT_FORMAT,
                         0x807400D2,
                         IDC_FORMAT_PRECISION,
                         0x807400D0,
                         IDC_FORMAT_PARAMS_LIST,
                         0x807400D3,
                         IDC_FORMAT_RESULTS_LIST,
                         0x807400D4,
                         IDC_FORMAT_MOVE,
                         0x807400D5,
                         0,
                         0};

const int ItemControls[] = {IDC_FORMAT_CHANGE_SIGN,    IDC_FORMAT_SHOW_NAME,
                            IDC_FORMAT_SHOW_UNITS,     IDC_FORMAT_PRECISION,
                            IDC_FORMAT_PRECISION_SPIN, IDC_FORMAT_FORMAT};

} // namespace

CRLCOcxFormat::CRLCOcxFormat() : ComponentPage(IDD_FORMAT_PAGE) {}

HelpIdTable CRLCOcxFormat::helpIds() const { return HelpIds; }

void CRLCOcxFormat::attach(SheetOwner &owner) {
  base::ComPtr<IXMLElement> root = owner.rootElement();
  params_ = std::make_unique<XmlPageSection>(passive::childElement(root.get(), "PARAMS"));
  results_ = std::make_unique<XmlPageSection>(passive::childElement(root.get(), "RESULT"));
  model_ = std::make_unique<passive::FormatPageModel>(params_->section(), results_->section(),
                                                      owner.shownPartId());
  shownPartId_ = owner.shownPartId();
  openingIdText_ = passive::identifierText(params_->section());
}

BOOL CRLCOcxFormat::OnInitDialog() {
  ComponentPage::OnInitDialog();
  paramsList_.subclass(item(IDC_FORMAT_PARAMS_LIST));
  resultsList_.subclass(item(IDC_FORMAT_RESULTS_LIST));
  moveSpin_.subclass(item(IDC_FORMAT_MOVE));
  precisionSpin_.subclass(item(IDC_FORMAT_PRECISION_SPIN));
  formatCombo_.subclass(item(IDC_FORMAT_FORMAT));
  moveSpin_.setRange(0, 2);
  moveSpin_.setPosition(1);
  for (const char *entry : FormatEntries)
    formatCombo_.addString(entry);
  formatCombo_.select(2);
  SendDlgItemMessageA(handle(), IDC_FORMAT_PRECISION, EM_LIMITTEXT, 2, 0);
  precisionSpin_.setBase(10);
  precisionSpin_.setRange(0, 14);
  const char *headings[] = {"Parameters", "Results"};
  int index = 0;
  for (dialogs::ListView *list : {&paramsList_, &resultsList_}) {
    list->setExtendedStyle(LVS_EX_FULLROWSELECT);
    list->setBackground(RGB(255, 255, 255));
    RECT client;
    GetClientRect(list->handle(), &client);
    list->insertColumn(0, headings[index++], client.right);
  }
  paramsSide_ = resultsSide_ = false;
  return TRUE;
}

void CRLCOcxFormat::fillList(FormatSide side) {
  dialogs::ListView &view = list(side);
  view.deleteAllItems();
  if (!model_)
    return;
  view.send(LVM_SETITEMCOUNT, static_cast<WPARAM>(model_->rowCount(side)));
  for (int row = 0; row < model_->rowCount(side); ++row)
    view.insertItem(row, model_->rowText(side, row));
  RECT client;
  GetClientRect(view.handle(), &client);
  view.setColumnWidth(0, client.right);
}

bool CRLCOcxFormat::OnSetActive() {
  // An identifier typed on the Parameters page shows here before OK.
  if (model_ && params_) {
    const std::optional<std::string> typed = passive::identifierText(params_->section());
    model_->setPartId(typed && typed != openingIdText_ ? *typed : shownPartId_);
  }
  fillList(FormatSide::Params);
  fillList(FormatSide::Results);
  CheckDlgButton(handle(), IDC_FORMAT_LAYER, model_ && model_->layerOn() ? BST_CHECKED : 0);
  for (int id : ItemControls)
    EnableWindow(item(id), FALSE);
  for (int id : {IDC_FORMAT_CHANGE_SIGN, IDC_FORMAT_SHOW_NAME, IDC_FORMAT_SHOW_UNITS})
    CheckDlgButton(handle(), id, BST_UNCHECKED);
  formatCombo_.select(2);
  precisionSpin_.setPosition(3);
  active_ = true;
  return ComponentPage::OnSetActive();
}

bool CRLCOcxFormat::OnKillActive() {
  active_ = false;
  return ComponentPage::OnKillActive();
}

void CRLCOcxFormat::load(FormatSide side, int row) {
  const std::optional<passive::ItemSettings> settings = model_->load(side, row);
  if (!settings)
    return;
  active_ = false;
  for (int id : {IDC_FORMAT_PRECISION, IDC_FORMAT_PRECISION_SPIN, IDC_FORMAT_FORMAT})
    EnableWindow(item(id), settings->numeric);
  if (settings->numeric && settings->format)
    formatCombo_.select(*settings->format);
  if (settings->numeric && settings->digits)
    precisionSpin_.setPosition(*settings->digits);
  EnableWindow(item(IDC_FORMAT_CHANGE_SIGN), settings->changeSignEnabled);
  CheckDlgButton(handle(), IDC_FORMAT_CHANGE_SIGN, settings->changeSignChecked);
  EnableWindow(item(IDC_FORMAT_SHOW_NAME), TRUE);
  CheckDlgButton(handle(), IDC_FORMAT_SHOW_NAME, settings->showNameChecked);
  EnableWindow(item(IDC_FORMAT_SHOW_UNITS), settings->showUnitsEnabled);
  CheckDlgButton(handle(), IDC_FORMAT_SHOW_UNITS, settings->showUnitsChecked);
  active_ = true;
}

void CRLCOcxFormat::change(ItemSetting setting, int value) {
  if (!model_ || (!paramsSide_ && !resultsSide_))
    return;
  const FormatSide side = paramsSide_ ? FormatSide::Params : FormatSide::Results;
  const int row = list(side).selectedRow();
  const std::optional<std::string> text = model_->change(side, row, setting, value);
  if (!text)
    return;
  list(side).setItemText(row, 0, *text);
  markChanged();
}

void CRLCOcxFormat::move(int delta) {
  if (!model_ || (!paramsSide_ && !resultsSide_))
    return;
  const FormatSide side = paramsSide_ ? FormatSide::Params : FormatSide::Results;
  const dialogs::ListView &view = list(side);
  const int row = view.selectedRow();
  const std::optional<int> target = model_->move(side, row, delta);
  if (!target)
    return;
  view.setItemText(row, 0, model_->rowText(side, row));
  view.setItemText(*target, 0, model_->rowText(side, *target));
  view.setItemState(row, 0, LVIS_SELECTED | LVIS_FOCUSED);
  view.setItemState(*target, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  view.ensureVisible(*target);
  markChanged();
}

bool CRLCOcxFormat::onCommand(WORD id, WORD code, HWND control) {
  if (code == BN_CLICKED) {
    switch (id) {
    case IDC_FORMAT_CHANGE_SIGN:
      change(ItemSetting::ChangeSign, checked(id));
      return true;
    case IDC_FORMAT_SHOW_NAME:
      change(ItemSetting::ShowName, checked(id));
      return true;
    case IDC_FORMAT_SHOW_UNITS:
      change(ItemSetting::ShowUnits, checked(id));
      return true;
    case IDC_FORMAT_LAYER:
      if (active_ && model_) {
        model_->setLayer(checked(id));
        markChanged();
      }
      return true;
    }
  }
  if (id == IDC_FORMAT_FORMAT && code == CBN_SELENDOK) {
    if (active_)
      change(ItemSetting::Format, formatCombo_.selection());
    return true;
  }
  if (id == IDC_FORMAT_PRECISION && code == EN_CHANGE) {
    if (active_ && precisionSpin_.handle())
      change(ItemSetting::Digits, precisionSpin_.position());
    return true;
  }
  return ComponentPage::onCommand(id, code, control);
}

bool CRLCOcxFormat::onNotify(NMHDR *header, LRESULT &result) {
  const bool paramsList = header->idFrom == IDC_FORMAT_PARAMS_LIST;
  if ((paramsList || header->idFrom == IDC_FORMAT_RESULTS_LIST) &&
      header->code == LVN_ITEMCHANGED) {
    const NMLISTVIEW &change = *reinterpret_cast<NMLISTVIEW *>(header);
    if (active_ && model_ && selectionGained(change)) {
      const dialogs::ListView &other = paramsList ? resultsList_ : paramsList_;
      for (int row = 0; row < other.itemCount(); ++row)
        other.setItemState(row, 0, LVIS_SELECTED);
      paramsSide_ = paramsList;
      resultsSide_ = !paramsList;
      load(paramsList ? FormatSide::Params : FormatSide::Results, change.iItem);
    }
    result = 0;
    return true;
  }
  if (header->idFrom == IDC_FORMAT_MOVE && header->code == UDN_DELTAPOS) {
    move(reinterpret_cast<NMUPDOWN *>(header)->iDelta);
    result = 1;
    return true;
  }
  if (header->idFrom == IDC_FORMAT_FORMAT && isTipTextRequest(header)) {
    const LPARAM entry = tipRequestCode(header);
    if (entry >= 0 && entry < 5)
      setTipReply(header, FormatTips[entry]);
    result = 0;
    return true;
  }
  return ComponentPage::onNotify(header, result);
}

} // namespace uikit
