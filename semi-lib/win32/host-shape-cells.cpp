#include "semi-lib/win32/host-shape-cells.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/safe-array.h"
#include "platform/base/win32/variant.h"
#include "semi-lib/core/device-host.h"

namespace semi {
namespace {

// The host answers a name it does not know with this code.
const HRESULT NoSuchItem = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0204);

void check(HRESULT hr) {
  if (FAILED(hr))
    throw HostError(hr);
}

std::string formulaOf(IDrawCell *cell) {
  BSTR text = nullptr;
  check(cell->get_Formula(&text));
  return base::Bstr::adopt(text).toAnsi();
}

base::Variant textVariant(const std::string &text) {
  base::Variant value;
  V_VT(value.get()) = VT_BSTR;
  V_BSTR(value.get()) = base::Bstr(text).detach();
  return value;
}

// Three shorts per cell, as the bulk reads and writes take them.
base::SafeArray cellAddresses(const std::vector<CellFormula> &cells) {
  base::SafeArray array(SafeArrayCreateVector(VT_I2, 0, static_cast<ULONG>(3 * cells.size())));
  if (!array.get())
    throw HostError(E_OUTOFMEMORY);
  base::SafeArrayAccess<short> access(array.get());
  if (!access.ok())
    throw HostError(E_UNEXPECTED);
  for (size_t i = 0; i < cells.size(); ++i) {
    access.data()[3 * i] = cells[i].section;
    access.data()[3 * i + 1] = cells[i].row;
    access.data()[3 * i + 2] = cells[i].cell;
  }
  return array;
}

} // namespace

std::string HostMarkCells::formula(const std::string &cell) {
  base::ComPtr<IDrawCell> found;
  check(shape_->get_Cells(base::Bstr(cell).get(), found.receive()));
  return formulaOf(found.get());
}

void HostMarkCells::setFormula(const std::string &cell, const std::string &formula) {
  base::ComPtr<IDrawCell> found;
  check(shape_->get_Cells(base::Bstr(cell).get(), found.receive()));
  check(found->put_Formula(base::Bstr(formula).get()));
}

void HostLayoutTarget::ensureShow() {
  base::ComPtr<IDrawShapes> members;
  check(component_->get_Shapes(members.receive()));
  base::Variant name = textVariant("SHOW");
  HRESULT hr = members->get_Item(*name.get(), show_.receive());
  if (SUCCEEDED(hr) && show_)
    return;
  if (hr != NoSuchItem && FAILED(hr))
    throw HostError(hr);
  // 1/300 inch each way: the block is sized by its text.
  check(component_->DrawRectangle(0, 0, 1.0 / 300, 1.0 / 300, show_.receive()));
  check(show_->put_Name(base::Bstr("SHOW").get()));
}

std::vector<std::string> HostLayoutTarget::readFormulas(const std::vector<CellFormula> &cells) {
  base::SafeArray addresses = cellAddresses(cells);
  SAFEARRAY *addressPointer = addresses.get();
  base::SafeArray formulas;
  check(show_->GetFormulas(&addressPointer, formulas.receive()));
  std::vector<std::string> result;
  base::SafeArrayAccess<VARIANT> access(formulas.get());
  if (!access.ok())
    throw HostError(E_UNEXPECTED);
  for (ULONG i = 0; i < access.size(); ++i) {
    const VARIANT &value = access.data()[i];
    result.push_back(V_VT(&value) == VT_BSTR ? base::Bstr::toAnsiText(V_BSTR(&value)) : "");
  }
  return result;
}

void HostLayoutTarget::writeFormulas(const std::vector<CellFormula> &cells) {
  base::SafeArray addresses = cellAddresses(cells);
  base::SafeArray formulas(SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(cells.size())));
  if (!formulas.get())
    throw HostError(E_OUTOFMEMORY);
  {
    base::SafeArrayAccess<VARIANT> access(formulas.get());
    if (!access.ok())
      throw HostError(E_UNEXPECTED);
    for (size_t i = 0; i < cells.size(); ++i) {
      V_VT(&access.data()[i]) = VT_BSTR;
      V_BSTR(&access.data()[i]) = base::Bstr(cells[i].formula).detach();
    }
  }
  SAFEARRAY *addressPointer = addresses.get();
  SAFEARRAY *formulaPointer = formulas.get();
  // Flag 2: the write goes through GUARD formulas too.
  check(show_->SetFormulas(&addressPointer, &formulaPointer, 2));
}

base::ComPtr<IDrawCell> HostLayoutTarget::cellOf(const CellFormula &cell) {
  base::ComPtr<IDrawCell> found;
  check(show_->get_CellsSRC(cell.section, cell.row, cell.cell, found.receive()));
  return found;
}

std::string HostLayoutTarget::formula(const CellFormula &cell) {
  return formulaOf(cellOf(cell).get());
}

void HostLayoutTarget::setFormula(const CellFormula &cell, const std::string &formula) {
  check(cellOf(cell)->put_Formula(base::Bstr(formula).get()));
}

std::string HostLayoutTarget::text() {
  BSTR text = nullptr;
  check(show_->get_Text(&text));
  return base::Bstr::adopt(text).toAnsi();
}

void HostLayoutTarget::setText(const std::string &text) {
  check(show_->put_Text(base::Bstr(text).get()));
}

base::ComPtr<IDrawLayers> HostLayoutTarget::layers() {
  base::ComPtr<IDrawPage> page;
  check(component_->get_ContainingPage(page.receive()));
  base::ComPtr<IDrawLayers> found;
  check(page->get_Layers(found.receive()));
  return found;
}

int HostLayoutTarget::findLayer(const std::string &name) {
  base::ComPtr<IDrawLayers> all = layers();
  short count = 0;
  check(all->get_Count(&count));
  if (count == 0)
    return -1;
  base::ComPtr<IDrawLayer> layer;
  HRESULT hr = all->get_Item(*textVariant(name).get(), layer.receive());
  if (hr == NoSuchItem || (SUCCEEDED(hr) && !layer))
    return -1;
  check(hr);
  short index = 0;
  check(layer->get_Index(&index));
  return index;
}

int HostLayoutTarget::addLayer(const std::string &name) {
  base::ComPtr<IDrawLayer> layer;
  check(layers()->Add(base::Bstr(name).get(), layer.receive()));
  base::ComPtr<IDrawCell> cell;
  check(layer->get_CellsC(2, cell.receive()));
  check(cell->put_Formula(base::Bstr("4").get()));
  short index = 0;
  check(layer->get_Index(&index));
  return index;
}

} // namespace semi
