#include "passive-lib/uikit/win32/gnd-properties-dialog.h"

#include "passive-lib/uikit/win32/element-attributes.h"
#include "passive-lib/uikit/win32/tip-reply.h"
#include "passive-lib/uikit/win32/uikit-resource.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"

#include <cstdlib>

namespace uikit {

const char *const GndPropertiesDialog::FormatNames[5] = {"General", "Scientific", "Engineering",
                                                         "Metric", "SPICE"};

namespace {
const int DetailControls[] = {IDC_GND_SHOW_NAME, IDC_GND_SHOW_UNITS,    IDC_GND_CHANGE_SIGN,
                              IDC_GND_LAYER,     IDC_GND_PREVIEW,       IDC_GND_FORMAT,
                              IDC_GND_PRECISION, IDC_GND_PRECISION_SPIN};

// A whole decimal number (leading blanks allowed), as the attribute holds it.
bool readsAsInteger(const std::string &text, long &value) {
  if (text.empty())
    return false;
  char *end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  while (end && (*end == ' ' || *end == '\t'))
    ++end;
  return end && *end == '\0' && end != text.c_str();
}
} // namespace

GndPropertiesDialog::GndPropertiesDialog(SheetOwner *owner, HWND parent)
    : TipDialog(IDD_GND_PROPERTIES, parent), owner_(owner) {
  HRESULT hr = CoCreateInstance(CLSID_QorLib, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                IID_IQorLib, lib_.receiveVoid());
  if (hr != E_NOINTERFACE)
    base::check(hr, IID_IQorLib);
}

void GndPropertiesDialog::setElements(IXMLElement *result, IXMLElement *item) {
  result_ = base::ComPtr<IXMLElement>(result);
  item_ = base::ComPtr<IXMLElement>(item);
}

void GndPropertiesDialog::check(int id, bool on) const {
  CheckDlgButton(handle(), id, on ? BST_CHECKED : BST_UNCHECKED);
}

bool GndPropertiesDialog::checked(int id) const {
  return IsDlgButtonChecked(handle(), id) == BST_CHECKED;
}

void GndPropertiesDialog::enableDetails(bool on) {
  for (int id : DetailControls)
    EnableWindow(item(id), on ? TRUE : FALSE);
}

void GndPropertiesDialog::updatePreview() {
  base::checkPointer(lib_.get(), IID_IQorLib);
  base::Bstr noPart;
  base::Bstr label;
  base::check(lib_->FormatItem(item_.get(), noPart.get(), label.receive()), IID_IQorLib);
  SetDlgItemTextA(handle(), IDC_GND_PREVIEW, label.toAnsi().c_str());
}

BOOL GndPropertiesDialog::OnInitDialog() {
  TipDialog::OnInitDialog();
  format_.subclass(item(IDC_GND_FORMAT));
  precision_.subclass(item(IDC_GND_PRECISION));
  spin_.subclass(item(IDC_GND_PRECISION_SPIN));
  for (const char *name : FormatNames)
    format_.addString(name);
  format_.select(2);
  precision_.limitText(2);
  spin_.setBase(10);
  spin_.setRange(0, 14);
  updatePreview();

  std::string order;
  long shown = -1;
  bool show =
      readAttribute(result_.get(), "ORDER", order) && readsAsInteger(order, shown) && shown == 0;
  check(IDC_GND_SHOW_RESULT, show);
  check(IDC_GND_SHOW_NAME, hasAttribute(item_.get(), "SHOWNAME"));
  check(IDC_GND_SHOW_UNITS, hasAttribute(item_.get(), "SHOWDIM"));
  std::string text;
  long number = 0;
  check(IDC_GND_CHANGE_SIGN,
        readAttribute(item_.get(), "CHS", text) && readsAsInteger(text, number) && number != 0);
  check(IDC_GND_LAYER, hasAttribute(result_.get(), "LAYER"));
  long format = 2;
  if (readAttribute(item_.get(), "FORMAT", text) && readsAsInteger(text, number))
    format = number;
  format_.select(static_cast<int>(format));
  if (readAttribute(item_.get(), "DIGITS", text) && readsAsInteger(text, number))
    spin_.setPosition(static_cast<int>(number));
  enableDetails(show);
  started_ = true;
  return TRUE;
}

bool GndPropertiesDialog::onCommand(WORD id, WORD code, HWND control) {
  if (!started_)
    return TipDialog::onCommand(id, code, control);
  switch (id) {
  case IDC_GND_SHOW_RESULT:
    if (code != BN_CLICKED)
      return false;
    writeAttribute(result_.get(), "ORDER", checked(id) ? "0" : "");
    enableDetails(checked(id));
    return true;
  case IDC_GND_SHOW_NAME:
  case IDC_GND_SHOW_UNITS:
    if (code != BN_CLICKED)
      return false;
    if (checked(id))
      writeAttribute(item_.get(), id == IDC_GND_SHOW_NAME ? "SHOWNAME" : "SHOWDIM", "");
    else
      removeAttribute(item_.get(), id == IDC_GND_SHOW_NAME ? "SHOWNAME" : "SHOWDIM");
    updatePreview();
    return true;
  case IDC_GND_CHANGE_SIGN:
    if (code != BN_CLICKED)
      return false;
    writeAttribute(item_.get(), "CHS", checked(id) ? "1" : "0");
    updatePreview();
    return true;
  case IDC_GND_LAYER:
    if (code != BN_CLICKED)
      return false;
    if (checked(id))
      writeAttribute(result_.get(), "LAYER", "Simulation");
    else
      removeAttribute(result_.get(), "LAYER");
    return true;
  case IDC_GND_FORMAT:
    if (code != CBN_SELENDOK)
      return false;
    if (format_.selection() >= 0) {
      writeAttribute(item_.get(), "FORMAT", std::to_string(format_.selection()));
      updatePreview();
    }
    return true;
  case IDC_GND_PRECISION: {
    if (code != EN_CHANGE)
      return false;
    BOOL failed = FALSE;
    int digits = static_cast<int>(spin_.send(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    if (!failed) { // a text outside 0..14 is not written
      writeAttribute(item_.get(), "DIGITS", std::to_string(digits));
      updatePreview();
    }
    return true;
  }
  default:
    return TipDialog::onCommand(id, code, control);
  }
}

bool GndPropertiesDialog::onNotify(NMHDR *header, LRESULT &result) {
  if (header->idFrom == IDC_GND_FORMAT && isTipTextRequest(header)) {
    LPARAM entry = tipRequestCode(header);
    if (entry >= 0 && entry < 5)
      setTipReply(header, FormatTips[entry]);
    result = 0;
    return true;
  }
  return TipDialog::onNotify(header, result);
}

} // namespace uikit
