#include "semi-lib/sheets/semi-ocx-params.h"

#include "passive-lib/uikit/win32/item-columns.h"
#include "passive-lib/uikit/win32/pages-resource.h"
#include "passive-lib/uikit/win32/wait-cursor.h"
#include "passive-lib/win32/xml-access.h"
#include "semi-lib/core/model-selection.h"

#include "platform/dialogs/win32/user-prompts.h"

#include <algorithm>

namespace semi {
namespace {

const DWORD HelpIds[] = {IDC_PARAMS_AUTO_APPLY,
                         0x807200CC,
                         IDC_PARAMS_ROUND,
                         0x807200CA,
                         IDC_PARAMS_LIST,
                         0x807200C9,
                         IDC_PARAMS_SPIN,
                         0x807200CB,
                         0,
                         0};

using uikit::ValueColumn;

// A model choice applied to the page: rows found by their name column,
// values into the value column and the row's element.
class PageRows : public ParameterRows {
public:
  PageRows(uikit::CListCtrlEx &list, passive::PageSection &section)
      : list_(list), section_(section) {}

  bool resetRow(const std::string &name, const std::string &value) override {
    passive::PageElement *item = show(name, value);
    if (!item)
      return false;
    item->setAttribute("DEFAULT", value);
    item->setAttribute("TEXT", value);
    item->removeAttribute("IEEE");
    return true;
  }
  bool setRow(const std::string &name, const std::string &value) override {
    passive::PageElement *item = show(name, value);
    if (!item)
      return false;
    item->setAttribute("TEXT", value);
    return true;
  }

private:
  // Puts value into the value column of the row named name; its element,
  // or null when no row has that name.
  passive::PageElement *show(const std::string &name, const std::string &value) {
    const int rows = std::min(list_.itemCount(), static_cast<int>(section_.items.size()));
    for (int row = 0; row < rows; ++row) {
      if (list_.itemText(row, 0) == name) {
        list_.setItemText(row, ValueColumn, value);
        return section_.items[static_cast<std::size_t>(row)];
      }
    }
    return nullptr;
  }

  uikit::CListCtrlEx &list_;
  passive::PageSection &section_;
};

} // namespace

CSemiOcxParams::CSemiOcxParams(const std::string &libraryText)
    : ParamsPage(passive::ParamsFlavour::Source, HelpIds) {
  xml::ParseError error;
  library_.load(libraryText, error); // a failed load leaves the library empty
}

void CSemiOcxParams::attach(uikit::SheetOwner &owner) {
  ParamsPage::attach(owner);
  std::string name;
  base::ComPtr<IXMLElement> root = owner.rootElement();
  if (root)
    passive::attributeText(root.get(), "NAME", name);
  setCaption(name);
}

int CSemiOcxParams::rowNamed(const std::string &name) {
  for (int row = 0, rows = list().itemCount(); row < rows; ++row) {
    if (list().itemText(row, 0) == name)
      return row;
  }
  return -1;
}

passive::PageElement *CSemiOcxParams::element(int row) const {
  passive::PageSection *items = section();
  if (!items || row < 0 || static_cast<std::size_t>(row) >= items->items.size())
    return nullptr;
  return items->items[static_cast<std::size_t>(row)];
}

std::string CSemiOcxParams::typeText() {
  const int row = rowNamed("TYPE");
  const passive::PageElement *type = element(row);
  return type ? type->get("TEXT").value_or("") : "";
}

std::string CSemiOcxParams::typeDefault() {
  const int row = rowNamed("TYPE");
  const passive::PageElement *type = element(row);
  return type ? type->get("DEFAULT").value_or("") : "";
}

bool CSemiOcxParams::confirm(Question question) {
  if (question == Question::None)
    return true;
  return dialogs::UserPrompts::messageBox(handle(), questionText(question), caption(),
                                          MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

void CSemiOcxParams::makeCustom() {
  const int row = rowNamed("TYPE");
  passive::PageElement *type = element(row);
  if (!type)
    return;
  list().setItemText(row, ValueColumn, CustomType);
  type->setAttribute("TEXT", CustomType);
}

void CSemiOcxParams::activate(int row) {
  const passive::PageElement *item = element(row);
  if (!item)
    return;
  const RowRange range = rowRange(item->get("RANGE").value_or(""));
  if (!confirm(activationQuestion(range, typeText(), typeDefault())))
    return;
  if (range == RowRange::Type) {
    enableStepping(false);
    uikit::CInPlaceComboBox *combo = list().ComboSubLabel(row, ValueColumn);
    if (!combo)
      return;
    const std::vector<std::string> types = library_.modelTypes();
    for (const std::string &type : types)
      combo->addString(type);
    const int selected = modelListSelection(types, typeText(), typeDefault());
    if (selected >= 0)
      combo->select(selected);
    return;
  }
  if (range != RowRange::Id)
    makeCustom();
  enableStepping(false);
  list().EditSubLabel(row, ValueColumn, true);
}

void CSemiOcxParams::step(int delta) {
  const int row = list().selectedRow();
  if (!active() || !model() || row < 0 || !model()->numeric(row))
    return;
  list().ensureVisible(row);
  if (!confirm(stepQuestion(typeText(), typeDefault())))
    return;
  makeCustom();
  const std::optional<std::string> text = model()->step(row, roundCombo().selection(), delta);
  if (text && list().setItemText(row, ValueColumn, *text))
    afterChange();
}

LRESULT CSemiOcxParams::endEdit(const NMLVDISPINFOA &edit) {
  const int row = edit.item.iItem;
  passive::PageElement *item = element(row);
  if (!item)
    return 0;
  if (!edit.item.pszText) { // cancelled
    enableStepping(model()->numeric(list().selectedRow()));
    return 0;
  }
  const RowRange range = rowRange(item->get("RANGE").value_or(""));
  const std::string text = edit.item.pszText;
  if (range == RowRange::Type) {
    selectModel(text);
  } else {
    const EntryVerdict verdict = checkEntry(range, text);
    if (verdict != EntryVerdict::Accepted) {
      dialogs::UserPrompts::messageBox(handle(), entryMessage(verdict), caption(),
                                       MB_ICONEXCLAMATION);
      return -1;
    }
    list().setItemText(row, ValueColumn, text);
    item->setAttribute("TEXT", text);
    item->removeAttribute("IEEE");
  }
  afterChange();
  enableStepping(model() && model()->numeric(list().selectedRow()));
  return 0;
}

void CSemiOcxParams::selectModel(const std::string &type) {
  passive::PageSection *items = section();
  if (!items)
    return;
  uikit::WaitCursor wait;
  PageRows rows(list(), *items);
  applyModelChoice(chooseModel(library_, type), rows);
}

bool CSemiOcxParams::onNotify(NMHDR *header, LRESULT &result) {
  if (header->idFrom == IDC_PARAMS_SPIN && header->code == UDN_DELTAPOS) {
    result = 1; // the spin stays in the middle
    step(reinterpret_cast<NMUPDOWN *>(header)->iDelta);
    return true;
  }
  if (header->idFrom == IDC_PARAMS_LIST && model()) {
    if (header->code == LVN_ENDLABELEDITA) {
      result = endEdit(*reinterpret_cast<NMLVDISPINFOA *>(header));
      return true;
    }
    if (header->code == LVN_ITEMACTIVATE) {
      result = 0;
      activate(reinterpret_cast<NMITEMACTIVATE *>(header)->iItem);
      return true;
    }
  }
  return ParamsPage::onNotify(header, result);
}

} // namespace semi
