// What the control writes into its shape: the label (part ID and parameter
// values) into "User.BodyText", and the results into the small text shape
// "SHOW" beside the body, on the results' layer. The layout compares
// before it writes, so a solve that changed nothing leaves the drawing
// untouched.
#include "passive-lib/win32/component-control.h"

#include "passive-lib/core/order-list.h"
#include "passive-lib/win32/xml-access.h"

#include "platform/base/win32/com-error.h"
#include "platform/base/win32/safe-array.h"
#include "platform/base/win32/variant.h"

#include <vector>

namespace passive {
namespace {

struct LayoutCell {
  short section, row, column;
  const char *formula; // a leading "!" is preceded by the component shape's name
};

// A 0.24-point square without a line pinned on the body's pin; its text
// starts at the control handle, grows with the text, turns with the
// component and takes the body's font, size and alignments. The handle's
// row ("X2"/"Y2" or "X1"/"Y1") is the kind's.
const LayoutCell layoutCells[] = {
    {1, 2, 2, "GUARD(0)"},
    {1, 1, 0, "BODY!PinX"},
    {1, 1, 1, "BODY!PinY"},
    {1, 1, 2, "0.24 pt."},
    {1, 1, 3, "0.24 pt."},
    {1, 1, 4, "Width*0.5"},
    {1, 1, 5, "Height*0.5"},
    {1, 12, 0, "!Controls.X#+LocPinX-PinX"},
    {1, 12, 1, "!Controls.Y#+LocPinY-PinY"},
    {1, 12, 2, "TEXTWIDTH(TheText)"},
    {1, 12, 3, "TEXTHEIGHT(TheText,TxtWidth)"},
    {1, 12, 4, "0"},
    {1, 12, 5, "TxtHeight*0.5"},
    {1, 12, 6, "!Angle*IF(BODY!User.Flip,1,-1)"},
    {1, 11, 2, "0 pt."},
    {1, 11, 3, "0 pt."},
    {1, 11, 0, "0 pt."},
    {1, 11, 1, "0 pt."},
    {1, 11, 4, "BODY!VerticalAlign"},
    {3, 0, 0, "BODY!Char.Font"},
    {3, 0, 7, "BODY!Char.Size"},
    {4, 0, 6, "BODY!Para.HorzAlign"},
};
const int LayoutCellCount = sizeof layoutCells / sizeof layoutCells[0];
const short OverwriteGuarded = 2;
const double ShowSize = 1.0 / 300.0;

std::string layoutFormula(const LayoutCell &cell, const std::string &shapeName,
                          const char *handle) {
  std::string formula = cell.formula;
  if (formula[0] == '!')
    formula = shapeName + formula;
  const std::size_t mark = formula.find('#');
  if (mark != std::string::npos)
    formula.replace(mark, 1, handle);
  return formula;
}

base::Variant textVariant(const std::string &text) {
  base::Variant value;
  V_VT(value.get()) = VT_BSTR;
  V_BSTR(value.get()) = Bstr(text).detach();
  return value;
}

// The cells in write order: the table, with the line pattern's entry a
// second time next to the first where the kind's write carries it.
std::vector<LayoutCell> layoutCellsOf(bool lineGuardTwice) {
  std::vector<LayoutCell> cells(layoutCells, layoutCells + LayoutCellCount);
  if (lineGuardTwice)
    cells.insert(cells.begin() + 1, layoutCells[0]);
  return cells;
}

SAFEARRAY *cellIndices(const std::vector<LayoutCell> &cells) {
  const LONG count = static_cast<LONG>(cells.size());
  SAFEARRAY *indices = SafeArrayCreateVector(VT_I2, 0, count * 3);
  if (!indices)
    throw base::ComError(E_OUTOFMEMORY);
  for (LONG i = 0; i < count; ++i) {
    const short values[3] = {cells[i].section, cells[i].row, cells[i].column};
    for (LONG k = 0; k < 3; ++k) {
      LONG at = i * 3 + k;
      SafeArrayPutElement(indices, &at, const_cast<short *>(&values[k]));
    }
  }
  return indices;
}

// Writes the formulas in one batch that also overwrites guarded cells, but
// only when one of them differs from what the cells hold now.
void writeLayoutCells(IDrawShape *show, const std::vector<LayoutCell> &cells,
                      const std::vector<std::string> &formulas) {
  base::SafeArray indices(cellIndices(cells));
  SAFEARRAY *indexArray = indices.get();
  SAFEARRAY *current = nullptr;
  base::check(show->GetFormulas(&indexArray, &current), IID_IDrawShape);
  base::SafeArray currentOwner(current);
  bool differs = true;
  {
    base::SafeArrayAccess<VARIANT> access(current);
    if (access.ok() && access.size() == formulas.size()) {
      differs = false;
      for (std::size_t i = formulas.size(); i-- > 0 && !differs;) {
        const VARIANT &value = access.data()[i];
        differs = V_VT(&value) != VT_BSTR || Bstr::toAnsiText(V_BSTR(&value)) != formulas[i];
      }
    }
  }
  if (!differs)
    return;
  const LONG count = static_cast<LONG>(formulas.size());
  base::SafeArray texts(SafeArrayCreateVector(VT_VARIANT, 0, count));
  if (!texts.get())
    throw base::ComError(E_OUTOFMEMORY);
  for (LONG i = 0; i < count; ++i)
    base::check(SafeArrayPutElement(texts.get(), &i, textVariant(formulas[i]).get()));
  SAFEARRAY *textArray = texts.get();
  base::check(show->SetFormulas(&indexArray, &textArray, OverwriteGuarded), IID_IDrawShape);
}

ComPtr<IDrawCell> cellAt(IDrawShape *shape, short section, short row, short column) {
  ComPtr<IDrawCell> cell;
  base::check(shape->get_CellsSRC(section, row, column, cell.receive()), IID_IDrawShape);
  return ComPtr<IDrawCell>(base::checkPointer(cell.get(), IID_IDrawShape));
}

void putFormula(IDrawCell *cell, const std::string &formula) {
  base::check(cell->put_Formula(Bstr(formula).get()), IID_IDrawCell);
}

std::string formulaOf(IDrawCell *cell) {
  Bstr formula;
  base::check(cell->get_Formula(formula.receive()), IID_IDrawCell);
  return formula.toAnsi();
}

// The membership formula of the named layer of the page, added (colour 4)
// when the page has none of that name.
std::string layerMembership(IDrawPage *page, const std::string &name) {
  ComPtr<IDrawLayers> layers;
  base::check(page->get_Layers(layers.receive()), IID_IDrawPage);
  base::checkPointer(layers.get(), IID_IDrawPage);
  short count = 0;
  base::check(layers->get_Count(&count), IID_IDrawLayers);
  ComPtr<IDrawLayer> layer;
  if (count > 0) {
    base::Variant key = textVariant(name);
    if (FAILED(layers->get_Item(*key.get(), layer.receive())))
      layer.reset();
  }
  if (!layer) {
    base::check(layers->Add(Bstr(name).get(), layer.receive()), IID_IDrawLayers);
    base::checkPointer(layer.get(), IID_IDrawLayers);
    ComPtr<IDrawCell> colour;
    base::check(layer->get_CellsC(2, colour.receive()), IID_IDrawLayer);
    putFormula(base::checkPointer(colour.get(), IID_IDrawLayer), "4");
  }
  short index = 0;
  base::check(layer->get_Index(&index), IID_IDrawLayer);
  return "\"" + std::to_string(index) + "\"";
}

} // namespace

bool ComponentControl::sectionText(const char *name, BSTR partId, std::string &text,
                                   std::string *layer) const {
  text.clear();
  ComPtr<IXMLElement> element = section(name);
  if (!element)
    return true;
  if (layer && !attributeText(element.get(), "LAYER", *layer))
    layer->clear();
  std::string order;
  if (!attributeText(element.get(), "ORDER", order))
    return true;
  const std::vector<ComPtr<IXMLElement>> items = childElements(element.get());
  for (const OrderStep &step : walkOrder(order)) {
    if (step.kind == OrderStep::LineFeed) {
      text += '\n';
      continue;
    }
    if (step.index < 0 || static_cast<std::size_t>(step.index) >= items.size())
      return false;
    Bstr formatted;
    base::check(lib_->FormatItem(items[step.index].get(), partId, formatted.receive()),
                IID_IQorLib);
    text += formatted.toAnsi();
  }
  return true;
}

HRESULT ComponentControl::UpdateBodyText() {
  if (!shape_ || !kind_.hasParams)
    return S_FALSE;
  return base::guardHostEntry([&]() -> HRESULT {
    std::string label;
    if (!sectionText("PARAMS", partId_.get(), label, nullptr))
      return S_FALSE;
    ComPtr<IDrawCell> cell;
    base::check(shape_->get_Cells(Bstr(std::string("User.BodyText")).get(), cell.receive()),
                IID_IDrawShape);
    base::check(base::checkPointer(cell.get(), IID_IDrawShape)
                    ->put_FormulaForce(Bstr(stringFormula(label)).get()),
                IID_IDrawCell);
    return S_OK;
  });
}

void ComponentControl::writeLayout() {
  std::string text, layer;
  Bstr noPartId(std::string{});
  if (!sectionText("RESULT", noPartId.get(), text, &layer))
    throw base::ComError(E_INVALIDARG, IID_IQorOcx);

  ComPtr<IDrawShapes> members;
  base::check(shape_->get_Shapes(members.receive()), IID_IDrawShape);
  ComPtr<IDrawShape> show;
  if (!members || FAILED(members->get_Item(*textVariant("SHOW").get(), show.receive())) || !show) {
    base::check(shape_->DrawRectangle(0, 0, ShowSize, ShowSize, show.receive()), IID_IDrawShape);
    base::checkPointer(show.get(), IID_IDrawShape);
    base::check(show->put_Name(Bstr(std::string("SHOW")).get()), IID_IDrawShape);
  }

  Bstr shapeName;
  base::check(shape_->get_Name(shapeName.receive()), IID_IDrawShape);
  const std::vector<LayoutCell> cells = layoutCellsOf(kind_.lineGuardTwice);
  std::vector<std::string> formulas;
  for (const LayoutCell &cell : cells)
    formulas.push_back(layoutFormula(cell, shapeName.toAnsi(), kind_.handle));
  writeLayoutCells(show.get(), cells, formulas);

  Bstr shown;
  base::check(show->get_Text(shown.receive()), IID_IDrawShape);
  if (shown.toAnsi() != text) {
    ComPtr<IDrawCell> lock = cellAt(show.get(), 1, 15, 11);
    putFormula(lock.get(), "0");
    base::check(show->put_Text(Bstr(text).get()), IID_IDrawShape);
    putFormula(lock.get(), "1");
  }

  if (layer.empty() && kind_.emptyLayerKeepsMembership)
    return;
  const std::string membership = layer.empty() ? "" : layerMembership(shapePage().get(), layer);
  ComPtr<IDrawCell> member = cellAt(show.get(), 1, 6, 0);
  if (formulaOf(member.get()) != membership)
    putFormula(member.get(), membership);
}

HRESULT ComponentControl::LayoutShape() {
  if (!shape_)
    return S_FALSE;
  return base::guardHostEntry([&]() -> HRESULT {
    writeLayout();
    return S_OK;
  });
}

} // namespace passive
