// Shapes, cells and connections of the stand-in host.
//
// Cells are addressed by universal name or by section, row and column:
// section 1 row 1 holds PinX, PinY, Width, Height, LocPinX and LocPinY
// (columns 0 to 5); section 1 row 2 columns 2 and 3 the line pattern and
// weight; section 7 the connection points, one row per point (row 0 first,
// glued as part 100 + row) with columns X, Y, A, B, C, D; section 242 the
// user cells ("User.<row>", column 0). A formula that starts with "GUARD("
// guards its cell: a plain write fails, a forced write or a batch write
// with flag 2 replaces it.
#include "platform/drawing-host/win32/client-site.h"
#include "platform/drawing-host/win32/host-objects.h"
#include "platform/drawing-host/win32/host-text.h"
#include "platform/drawing-host/win32/stand-in-host.h"

#include "platform/base/win32/com-error.h"
#include "platform/base/win32/safe-array.h"
#include "platform/base/win32/variant.h"

#include <cstdlib>
#include <cstring>

namespace drawhost {
namespace {

const short SectionObject = 1, SectionConnections = 7, SectionUser = 242;

struct FixedCell {
  const char *name;
  short section, row, column;
};
const FixedCell fixedCells[] = {
    {"PinX", 1, 1, 0},    {"PinY", 1, 1, 1},    {"Width", 1, 1, 2},       {"Height", 1, 1, 3},
    {"LocPinX", 1, 1, 4}, {"LocPinY", 1, 1, 5}, {"LinePattern", 1, 2, 2}, {"LineWeight", 1, 2, 3},
};
const char *const connectionColumns[] = {"X", "Y", "A", "B", "C", "D"};

bool startsWithGuard(const std::string &formula) {
  return formula.size() >= 6 && strncasecmp(formula.c_str(), "GUARD(", 6) == 0;
}

// The value of a constant formula in internal units (inches), the only kind
// the stand-in evaluates; false for anything else.
bool evaluate(std::string formula, double &value) {
  if (startsWithGuard(formula) && formula.back() == ')')
    formula = formula.substr(6, formula.size() - 7);
  if (formula == "TRUE" || formula == "FALSE") {
    value = formula == "TRUE" ? 1 : 0;
    return true;
  }
  const char *start = formula.c_str();
  char *end = nullptr;
  double number = std::strtod(start, &end);
  if (end == start)
    return false;
  while (*end == ' ')
    ++end;
  struct {
    const char *unit;
    double perInch;
  } units[] = {{"", 1}, {"in.", 1}, {"in", 1}, {"pt.", 72}, {"pt", 72}, {"mm", 25.4}, {"cm", 2.54}};
  for (const auto &u : units) {
    if (std::strcmp(end, u.unit) == 0) {
      value = number / u.perInch;
      return true;
    }
  }
  return false;
}

} // namespace

// ---- Cell -------------------------------------------------------------

const com::InterfaceEntry *Cell::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawCell, com::interfaceOffset<Cell, IDrawCell>()},
      {&IID_IDispatch, com::interfaceOffset<Cell, IDrawCell>()},
      {nullptr, 0}};
  return table;
}

bool Cell::guarded() const { return startsWithGuard(formula_); }

HRESULT Cell::write(const std::string &formula, bool force, const char *how) {
  if (!shape_)
    return DrawHostObjectDeleted;
  if (guarded() && !force) {
    shape_->host()->note(std::string(how) + " " + shape_->name() + "!" + name_ +
                         " refused: guarded");
    return DrawHostCellGuarded;
  }
  formula_ = formula;
  shape_->host()->note(std::string(how) + " " + shape_->name() + "!" + name_ + " = " + formula);
  base::Variant subject;
  V_VT(subject.get()) = VT_UNKNOWN;
  V_UNKNOWN(subject.get()) = static_cast<IDrawCell *>(this);
  AddRef();
  shape_->events()->fire(EventCellChanged, static_cast<IDrawCell *>(this), *subject.get());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Cell::get_Formula(BSTR *pFormula) {
  if (!pFormula)
    return E_POINTER;
  *pFormula = nullptr;
  if (!shape_)
    return DrawHostObjectDeleted;
  return base::guardCom(IID_IDrawCell, [&] { return textOut(formula_, pFormula); });
}

HRESULT STDMETHODCALLTYPE Cell::put_Formula(BSTR Formula) {
  return base::guardCom(IID_IDrawCell,
                        [&] { return write(base::Bstr::toAnsiText(Formula), false, "Formula"); });
}

HRESULT STDMETHODCALLTYPE Cell::put_FormulaForce(BSTR Formula) {
  return base::guardCom(
      IID_IDrawCell, [&] { return write(base::Bstr::toAnsiText(Formula), true, "FormulaForce"); });
}

HRESULT STDMETHODCALLTYPE Cell::get_ResultIU(double *pValue) {
  if (!pValue)
    return E_POINTER;
  *pValue = 0;
  if (!shape_)
    return DrawHostObjectDeleted;
  double value;
  if (!evaluate(formula_, value))
    return DrawHostNoResult;
  *pValue = value;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Cell::get_RowName(BSTR *pName) {
  if (!pName)
    return E_POINTER;
  *pName = nullptr;
  if (!shape_)
    return DrawHostObjectDeleted;
  return base::guardCom(IID_IDrawCell, [&]() -> HRESULT {
    // "Connections.A.X" and "User.QOR" are named by their middle part.
    std::string row;
    size_t dot = name_.find('.');
    if (dot != std::string::npos)
      row = name_.substr(dot + 1, name_.find('.', dot + 1) - dot - 1);
    return textOut(row, pName);
  });
}

HRESULT STDMETHODCALLTYPE Cell::get_Shape(IDrawShape **ppShape) {
  if (!ppShape)
    return E_POINTER;
  *ppShape = nullptr;
  if (!shape_)
    return DrawHostObjectDeleted;
  return interfaceOut(static_cast<IDrawShape *>(shape_), ppShape);
}

// ---- Connect, Connects --------------------------------------------------

Connect::Connect(Shape *from, short fromPart, Shape *to, short toPart)
    : from_(from), fromPart_(fromPart), to_(to), toPart_(toPart) {}

const com::InterfaceEntry *Connect::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawConnect, com::interfaceOffset<Connect, IDrawConnect>()},
      {&IID_IDispatch, com::interfaceOffset<Connect, IDrawConnect>()},
      {nullptr, 0}};
  return table;
}

HRESULT STDMETHODCALLTYPE Connect::get_FromSheet(IDrawShape **ppShape) {
  if (!ppShape)
    return E_POINTER;
  return interfaceOut(static_cast<IDrawShape *>(from_.get()), ppShape);
}
HRESULT STDMETHODCALLTYPE Connect::get_FromPart(short *pPart) {
  if (!pPart)
    return E_POINTER;
  *pPart = fromPart_;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE Connect::get_ToSheet(IDrawShape **ppShape) {
  if (!ppShape)
    return E_POINTER;
  return interfaceOut(static_cast<IDrawShape *>(to_.get()), ppShape);
}
HRESULT STDMETHODCALLTYPE Connect::get_ToPart(short *pPart) {
  if (!pPart)
    return E_POINTER;
  *pPart = toPart_;
  return S_OK;
}

const com::InterfaceEntry *Connects::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawConnects, com::interfaceOffset<Connects, IDrawConnects>()},
      {&IID_IDispatch, com::interfaceOffset<Connects, IDrawConnects>()},
      {nullptr, 0}};
  return table;
}
HRESULT STDMETHODCALLTYPE Connects::get_Count(short *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<short>(items_.size());
  return S_OK;
}
HRESULT STDMETHODCALLTYPE Connects::get_Item(short Index, IDrawConnect **ppConnect) {
  if (!ppConnect)
    return E_POINTER;
  *ppConnect = nullptr;
  if (Index < 1 || static_cast<size_t>(Index) > items_.size())
    return E_INVALIDARG;
  return interfaceOut(static_cast<IDrawConnect *>(items_[Index - 1].get()), ppConnect);
}

// ---- ShapeList, Selection ------------------------------------------------

namespace {

// Item by 1-based index (any integer VARIANT) or by name.
HRESULT pickShape(const std::vector<ComPtr<Shape>> &items, const VARIANT &which, IDrawShape **out) {
  base::Variant index;
  if (V_VT(&which) == VT_BSTR) {
    std::string name = base::Bstr::toAnsiText(V_BSTR(&which));
    for (const ComPtr<Shape> &shape : items) {
      if (shape->name() == name)
        return interfaceOut(static_cast<IDrawShape *>(shape.get()), out);
    }
    return DrawHostNoSuchItem;
  }
  HRESULT hr = VariantChangeType(index.get(), const_cast<VARIANT *>(&which), 0, VT_I4);
  if (FAILED(hr))
    return E_INVALIDARG;
  LONG i = V_I4(index.get());
  if (i < 1 || static_cast<size_t>(i) > items.size())
    return E_INVALIDARG;
  return interfaceOut(static_cast<IDrawShape *>(items[i - 1].get()), out);
}

} // namespace

const com::InterfaceEntry *ShapeList::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawShapes, com::interfaceOffset<ShapeList, IDrawShapes>()},
      {&IID_IDispatch, com::interfaceOffset<ShapeList, IDrawShapes>()},
      {nullptr, 0}};
  return table;
}
HRESULT STDMETHODCALLTYPE ShapeList::get_Count(short *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<short>(items_.size());
  return S_OK;
}
HRESULT STDMETHODCALLTYPE ShapeList::get_Item(VARIANT IndexOrName, IDrawShape **ppShape) {
  if (!ppShape)
    return E_POINTER;
  *ppShape = nullptr;
  return base::guardCom(IID_IDrawShapes, [&] { return pickShape(items_, IndexOrName, ppShape); });
}

Selection::Selection(std::vector<ComPtr<Shape>> items, Page *page)
    : items_(std::move(items)), page_(page) {}
const com::InterfaceEntry *Selection::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawSelection, com::interfaceOffset<Selection, IDrawSelection>()},
      {&IID_IDispatch, com::interfaceOffset<Selection, IDrawSelection>()},
      {nullptr, 0}};
  return table;
}
HRESULT STDMETHODCALLTYPE Selection::get_Count(LONG *pCount) {
  if (!pCount)
    return E_POINTER;
  *pCount = static_cast<LONG>(items_.size());
  return S_OK;
}
HRESULT STDMETHODCALLTYPE Selection::get_Item(LONG Index, IDrawShape **ppShape) {
  if (!ppShape)
    return E_POINTER;
  *ppShape = nullptr;
  if (Index < 1 || static_cast<size_t>(Index) > items_.size())
    return E_INVALIDARG;
  return interfaceOut(static_cast<IDrawShape *>(items_[Index - 1].get()), ppShape);
}
HRESULT STDMETHODCALLTYPE Selection::get_ContainingPage(IDrawPage **ppPage) {
  if (!ppPage)
    return E_POINTER;
  return interfaceOut(static_cast<IDrawPage *>(page_.get()), ppPage);
}

// ---- Shape ---------------------------------------------------------------

Shape::Shape(StandInHost *host, Page *page, Shape *group, short type, std::string name)
    : host_(host), page_(page), group_(group), type_(type), name_(std::move(name)),
      events_(ComPtr<EventList>::adopt(new com::Object<EventList>(host, "shape " + name_))) {}

const com::InterfaceEntry *Shape::interfaces() {
  static const com::InterfaceEntry table[] = {
      {&IID_IDrawShape, com::interfaceOffset<Shape, IDrawShape>()},
      {&IID_IDispatch, com::interfaceOffset<Shape, IDrawShape>()},
      {nullptr, 0}};
  return table;
}

std::string Shape::uniqueId(bool create) {
  if (uniqueId_.empty() && create && host_)
    uniqueId_ = host_->nextUniqueId();
  return uniqueId_;
}

Cell *Shape::cellAt(short section, short row, short column, bool create) {
  for (const ComPtr<Cell> &cell : cells_) {
    if (cell->section() == section && cell->row() == row && cell->column() == column)
      return cell.get();
  }
  std::string name;
  for (const FixedCell &fixed : fixedCells) {
    if (fixed.section == section && fixed.row == row && fixed.column == column)
      name = fixed.name;
  }
  if (section == SectionConnections) {
    if (row < 0 || static_cast<size_t>(row) >= connectionRows_.size() || column < 0 || column > 5)
      return nullptr;
    name = "Connections." + connectionRows_[row] + "." + connectionColumns[column];
  } else if (section == SectionUser) {
    if (row < 0 || static_cast<size_t>(row) >= userRows_.size() || column != 0)
      return nullptr;
    name = "User." + userRows_[row];
  } else if (name.empty()) {
    // Other cells exist as soon as someone writes them.
    if (!create)
      return nullptr;
    name = "Sheet." + std::to_string(section) + "." + std::to_string(row) + "." +
           std::to_string(column);
  }
  cells_.push_back(ComPtr<Cell>::adopt(new com::Object<Cell>(this, section, row, column, name)));
  return cells_.back().get();
}

Cell *Shape::cell(const std::string &name, bool create) {
  for (const ComPtr<Cell> &cell : cells_) {
    if (cell->name() == name)
      return cell.get();
  }
  for (const FixedCell &fixed : fixedCells) {
    if (name == fixed.name)
      return cellAt(fixed.section, fixed.row, fixed.column, true);
  }
  if (name.compare(0, 5, "User.") == 0 && name.size() > 5) {
    std::string row = name.substr(5);
    for (size_t r = 0; r < userRows_.size(); ++r) {
      if (userRows_[r] == row)
        return cellAt(SectionUser, static_cast<short>(r), 0, false);
    }
    if (!create)
      return nullptr;
    userRows_.push_back(row);
    return cellAt(SectionUser, static_cast<short>(userRows_.size() - 1), 0, false);
  }
  if (name.compare(0, 12, "Connections.") == 0) {
    size_t dot = name.find('.', 12);
    if (dot == std::string::npos)
      return nullptr;
    std::string row = name.substr(12, dot - 12), column = name.substr(dot + 1);
    for (size_t r = 0; r < connectionRows_.size(); ++r) {
      for (short c = 0; c < 6; ++c) {
        if (connectionRows_[r] == row && column == connectionColumns[c])
          return cellAt(SectionConnections, static_cast<short>(r), c, false);
      }
    }
  }
  return nullptr;
}

short Shape::addConnectionPoint(const std::string &rowName) {
  connectionRows_.push_back(rowName);
  return static_cast<short>(connectionRows_.size() - 1);
}

Shape *Shape::addMember(short type, const std::string &name) {
  members_.push_back(ComPtr<Shape>::adopt(new com::Object<Shape>(host_, page_, this, type, name)));
  if (type_ != 2)
    type_ = 2; // a shape with members is a group
  return members_.back().get();
}

void Shape::detach() {
  for (ComPtr<Shape> &member : members_)
    member->detach();
  for (ComPtr<Cell> &cell : cells_)
    cell->detach();
  events_->detach();
  if (ComPtr<IOleObject> ole = object_.query<IOleObject>())
    ole->SetClientSite(nullptr);
  object_.reset();
  host_ = nullptr;
  page_ = nullptr;
  group_ = nullptr;
}

#define SHAPE_ALIVE()                                                                              \
  do {                                                                                             \
    if (!host_)                                                                                    \
      return DrawHostObjectDeleted;                                                                \
  } while (0)

HRESULT STDMETHODCALLTYPE Shape::get_Type(short *pType) {
  if (!pType)
    return E_POINTER;
  *pType = 0;
  SHAPE_ALIVE();
  *pType = type_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Shape::get_Shapes(IDrawShapes **ppShapes) {
  if (!ppShapes)
    return E_POINTER;
  *ppShapes = nullptr;
  SHAPE_ALIVE();
  return com::Object<ShapeList>::create(IID_IDrawShapes, reinterpret_cast<void **>(ppShapes),
                                        members_);
}

HRESULT STDMETHODCALLTYPE Shape::get_UniqueID(short Flags, BSTR *pID) {
  if (!pID)
    return E_POINTER;
  *pID = nullptr;
  SHAPE_ALIVE();
  if (Flags != 0 && Flags != 1)
    return E_INVALIDARG;
  return base::guardCom(IID_IDrawShape, [&] { return textOut(uniqueId(Flags == 1), pID); });
}

HRESULT STDMETHODCALLTYPE Shape::get_OneD(short *pOneD) {
  if (!pOneD)
    return E_POINTER;
  *pOneD = 0;
  SHAPE_ALIVE();
  // The host's automation answers booleans as -1 and 0.
  *pOneD = oneD_ ? -1 : 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Shape::get_Text(BSTR *pText) {
  if (!pText)
    return E_POINTER;
  *pText = nullptr;
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&] { return textOut(text_, pText); });
}

HRESULT STDMETHODCALLTYPE Shape::put_Text(BSTR Text) {
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    text_ = base::Bstr::toAnsiText(Text);
    host_->note("Text " + name_ + " = " + text_);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE Shape::get_Name(BSTR *pName) {
  if (!pName)
    return E_POINTER;
  *pName = nullptr;
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&] { return textOut(name_, pName); });
}

HRESULT STDMETHODCALLTYPE Shape::put_Name(BSTR Name) {
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    std::string name = base::Bstr::toAnsiText(Name);
    host_->note("Name " + name_ + " = " + name);
    name_ = name;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE Shape::get_ContainingPage(IDrawPage **ppPage) {
  if (!ppPage)
    return E_POINTER;
  *ppPage = nullptr;
  SHAPE_ALIVE();
  return interfaceOut(static_cast<IDrawPage *>(page_), ppPage);
}

HRESULT STDMETHODCALLTYPE Shape::get_FromConnects(IDrawConnects **ppConnects) {
  if (!ppConnects)
    return E_POINTER;
  *ppConnects = nullptr;
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    return com::Object<Connects>::create(IID_IDrawConnects, reinterpret_cast<void **>(ppConnects),
                                         page_->connectsTo(this));
  });
}

HRESULT STDMETHODCALLTYPE Shape::get_Connects(IDrawConnects **ppConnects) {
  if (!ppConnects)
    return E_POINTER;
  *ppConnects = nullptr;
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    return com::Object<Connects>::create(IID_IDrawConnects, reinterpret_cast<void **>(ppConnects),
                                         page_->connectsFrom(this));
  });
}

HRESULT STDMETHODCALLTYPE Shape::get_Cells(BSTR UniversalName, IDrawCell **ppCell) {
  if (!ppCell)
    return E_POINTER;
  *ppCell = nullptr;
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    Cell *found = cell(base::Bstr::toAnsiText(UniversalName), false);
    if (!found)
      return DrawHostNoSuchItem;
    return interfaceOut(static_cast<IDrawCell *>(found), ppCell);
  });
}

HRESULT STDMETHODCALLTYPE Shape::get_CellExists(BSTR UniversalName, short, short *pExists) {
  if (!pExists)
    return E_POINTER;
  *pExists = 0;
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    *pExists = cell(base::Bstr::toAnsiText(UniversalName), false) ? -1 : 0;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE Shape::get_CellsSRC(short Section, short Row, short Column,
                                              IDrawCell **ppCell) {
  if (!ppCell)
    return E_POINTER;
  *ppCell = nullptr;
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    Cell *found = cellAt(Section, Row, Column, true);
    if (!found)
      return DrawHostNoSuchItem;
    return interfaceOut(static_cast<IDrawCell *>(found), ppCell);
  });
}

namespace {

// The cells a batch names: three shorts (section, row, column) per cell.
std::vector<Cell *> batchCells(Shape &shape, SAFEARRAY *srcs) {
  if (!srcs || SafeArrayGetDim(srcs) != 1)
    throw base::ComError(E_INVALIDARG);
  VARTYPE type;
  if (FAILED(SafeArrayGetVartype(srcs, &type)) || type != VT_I2)
    throw base::ComError(E_INVALIDARG);
  base::SafeArrayAccess<short> access(srcs);
  if (!access.ok() || access.size() % 3 != 0)
    throw base::ComError(E_INVALIDARG);
  std::vector<Cell *> cells;
  for (ULONG i = 0; i < access.size(); i += 3) {
    Cell *cell = shape.cellAt(access.data()[i], access.data()[i + 1], access.data()[i + 2], true);
    if (!cell)
      throw base::ComError(DrawHostNoSuchItem);
    cells.push_back(cell);
  }
  return cells;
}

} // namespace

HRESULT STDMETHODCALLTYPE Shape::GetFormulas(SAFEARRAY **SRCs, SAFEARRAY **Formulas) {
  if (!SRCs || !Formulas)
    return E_POINTER;
  *Formulas = nullptr;
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    std::vector<Cell *> cells = batchCells(*this, *SRCs);
    base::SafeArray result(SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(cells.size())));
    if (!result.get())
      return E_OUTOFMEMORY;
    {
      base::SafeArrayAccess<VARIANT> access(result.get());
      if (!access.ok())
        return E_UNEXPECTED;
      for (size_t i = 0; i < cells.size(); ++i) {
        V_VT(&access.data()[i]) = VT_BSTR;
        V_BSTR(&access.data()[i]) = base::Bstr(cells[i]->formula()).detach();
      }
    }
    *Formulas = result.detach();
    return S_OK;
  });
}

// A batch is checked whole before anything is written: without flag 2 a
// guarded cell fails the batch and leaves every cell as it was.
HRESULT STDMETHODCALLTYPE Shape::SetFormulas(SAFEARRAY **SRCs, SAFEARRAY **Formulas, short Flags) {
  if (!SRCs || !Formulas)
    return E_POINTER;
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    std::vector<Cell *> cells = batchCells(*this, *SRCs);
    SAFEARRAY *formulas = *Formulas;
    VARTYPE type;
    if (!formulas || SafeArrayGetDim(formulas) != 1 ||
        FAILED(SafeArrayGetVartype(formulas, &type)) || type != VT_VARIANT)
      return E_INVALIDARG;
    std::vector<std::string> texts;
    {
      base::SafeArrayAccess<VARIANT> access(formulas);
      if (!access.ok() || access.size() != cells.size())
        return E_INVALIDARG;
      for (ULONG i = 0; i < access.size(); ++i) {
        base::Variant text;
        if (FAILED(VariantChangeType(text.get(), &access.data()[i], 0, VT_BSTR)))
          return E_INVALIDARG;
        texts.push_back(base::Bstr::toAnsiText(V_BSTR(text.get())));
      }
    }
    bool overwriteGuarded = (Flags & 2) != 0;
    for (Cell *cell : cells) {
      if (cell->guarded() && !overwriteGuarded) {
        host_->note("SetFormulas " + name_ + " refused: " + cell->name() + " guarded");
        return DrawHostCellGuarded;
      }
    }
    host_->note("SetFormulas " + name_ + " flags " + std::to_string(Flags) + " cells " +
                std::to_string(cells.size()));
    for (size_t i = 0; i < cells.size(); ++i)
      base::check(cells[i]->write(texts[i], true, "  batch"));
    return S_OK;
  });
}

// Creates the object from its class identifier (or programmatic
// identifier) text, puts it into a new member shape, gives it a client site
// and asks it for its control information, which is when the host's
// controls bind to their shapes.
HRESULT STDMETHODCALLTYPE Shape::InsertObject(BSTR ClassID, short Flags, IDrawShape **ppShape) {
  if (!ppShape)
    return E_POINTER;
  *ppShape = nullptr;
  if (!ClassID)
    return E_INVALIDARG;
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    CLSID clsid;
    if (FAILED(CLSIDFromString(ClassID, &clsid)))
      base::check(CLSIDFromProgID(ClassID, &clsid));
    host_->note("InsertObject " + base::Bstr::toAnsiText(ClassID) + " flags " + hex(Flags) +
                " into " + name_);
    Shape *inserted = insertControl(clsid, nullptr, nullptr);
    return interfaceOut(static_cast<IDrawShape *>(inserted), ppShape);
  });
}

// The host's moniker of an object in a component shape:
// "<document's full name>\Drawing\<page>/~<shape>\<object's sheet>".
std::string Shape::objectMoniker(const Shape &holder) const {
  base::Bstr fullName;
  base::check(page_->document()->get_FullName(fullName.receive()));
  return fullName.toAnsi() + "\\Drawing\\" + page_->name() + "/~" + name_ + "\\" + holder.name();
}

// Creates the object, gives it its site, loads what was saved (a stream or
// a storage's "Contents", when given) and activates it: controls bind when
// asked for their control information, whose answer is not used.
void Shape::activateObject(Shape *holder, const CLSID &clsid, IStream *stream, IStorage *storage) {
  ComPtr<IUnknown> object;
  base::check(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.receiveVoid()));
  holder->object_ = object;
  if (ComPtr<IOleObject> ole = object.query<IOleObject>()) {
    auto site =
        ComPtr<IOleClientSite>::adopt(new com::Object<ClientSite>(page_, objectMoniker(*holder)));
    base::check(ole->SetClientSite(site.get()));
  }
  if (stream) {
    ComPtr<IPersistStreamInit> persist = object.query<IPersistStreamInit>();
    base::check(base::checkPointer(persist.get())->Load(stream));
  } else if (storage) {
    ComPtr<IPersistStorage> persist = object.query<IPersistStorage>();
    base::check(base::checkPointer(persist.get())->Load(storage));
  }
  if (ComPtr<IOleControl> control = object.query<IOleControl>()) {
    CONTROLINFO info = {};
    info.cb = sizeof info;
    control->GetControlInfo(&info);
  }
}

Shape *Shape::insertControl(const CLSID &clsid, IStream *stream, IStorage *storage) {
  // The host's type code of an embedded foreign object.
  Shape *inserted = addMember(4, "Sheet." + std::to_string(members_.size() + 1));
  activateObject(inserted, clsid, stream, storage);
  page_->announceShapes({inserted});
  return inserted;
}

HRESULT Shape::insertSavedObject(const CLSID &clsid, IStream *saved) {
  if (!host_)
    return DrawHostObjectDeleted;
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    host_->note("Paste object into " + name_);
    insertControl(clsid, saved, nullptr);
    return S_OK;
  });
}

HRESULT Shape::reloadObject(bool storage) {
  if (!host_ || !object_ || !group_)
    return E_UNEXPECTED;
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    ComPtr<IPersist> persist = object_.query<IPersist>();
    CLSID clsid;
    base::check(base::checkPointer(persist.get())->GetClassID(&clsid));
    ComPtr<IStream> stream;
    ComPtr<ILockBytes> bytes;
    ComPtr<IStorage> saved;
    LARGE_INTEGER zero = {};
    if (storage) {
      base::check(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.receive()));
      base::check(StgCreateDocfileOnILockBytes(
          bytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, saved.receive()));
      ComPtr<IPersistStorage> save = object_.query<IPersistStorage>();
      base::check(base::checkPointer(save.get())->Save(saved.get(), FALSE));
      base::check(save->SaveCompleted(nullptr));
      base::check(saved->Commit(STGC_DEFAULT));
    } else {
      base::check(CreateStreamOnHGlobal(nullptr, TRUE, stream.receive()));
      ComPtr<IPersistStreamInit> save = object_.query<IPersistStreamInit>();
      base::check(base::checkPointer(save.get())->Save(stream.get(), TRUE));
      base::check(stream->Seek(zero, STREAM_SEEK_SET, nullptr));
    }
    // The old object goes as it would with the closed drawing.
    if (ComPtr<IOleObject> ole = object_.query<IOleObject>()) {
      ole->Close(OLECLOSE_NOSAVE);
      ole->SetClientSite(nullptr);
    }
    object_.reset();
    host_->note(std::string("Reload object ") + name_ +
                (storage ? " from storage" : " from stream"));
    group_->activateObject(this, clsid, stream.get(), saved.get());
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE Shape::DrawRectangle(double x1, double y1, double x2, double y2,
                                               IDrawShape **ppShape) {
  if (!ppShape)
    return E_POINTER;
  *ppShape = nullptr;
  SHAPE_ALIVE();
  return base::guardCom(IID_IDrawShape, [&]() -> HRESULT {
    Shape *rectangle = addMember(3, "Sheet." + std::to_string(members_.size() + 1));
    rectangle->cell("PinX", true)->setQuietly(std::to_string((x1 + x2) / 2));
    rectangle->cell("PinY", true)->setQuietly(std::to_string((y1 + y2) / 2));
    rectangle->cell("Width", true)->setQuietly(std::to_string(x2 > x1 ? x2 - x1 : x1 - x2));
    rectangle->cell("Height", true)->setQuietly(std::to_string(y2 > y1 ? y2 - y1 : y1 - y2));
    host_->note("DrawRectangle in " + name_);
    page_->announceShapes({rectangle});
    return interfaceOut(static_cast<IDrawShape *>(rectangle), ppShape);
  });
}

HRESULT STDMETHODCALLTYPE Shape::get_EventList(IDrawEventList **ppEventList) {
  if (!ppEventList)
    return E_POINTER;
  *ppEventList = nullptr;
  SHAPE_ALIVE();
  return interfaceOut(static_cast<IDrawEventList *>(events_.get()), ppEventList);
}

HRESULT STDMETHODCALLTYPE Shape::get_Object(IUnknown **ppObject) {
  if (!ppObject)
    return E_POINTER;
  *ppObject = nullptr;
  SHAPE_ALIVE();
  return interfaceOut(object_.get(), ppObject);
}

} // namespace drawhost
