// A cell of a shape, addressed by universal name or by section, row and column.
#ifndef PLATFORM_DRAWING_HOST_HOST_CELL_H
#define PLATFORM_DRAWING_HOST_HOST_CELL_H

#include "platform/drawing-host/win32/host-codes.h"

#include <string>
#include <vector>

namespace drawhost {

class Cell : public com::Dispatch<IDrawCell> {
public:
  Cell(Shape *shape, short section, short row, short column, std::string name)
      : shape_(shape), section_(section), row_(row), column_(column), name_(std::move(name)) {}
  static const com::InterfaceEntry *interfaces();

  HRESULT STDMETHODCALLTYPE get_Formula(BSTR *pFormula) override;
  HRESULT STDMETHODCALLTYPE put_Formula(BSTR Formula) override;
  HRESULT STDMETHODCALLTYPE put_FormulaForce(BSTR Formula) override;
  HRESULT STDMETHODCALLTYPE get_ResultIU(double *pValue) override;
  HRESULT STDMETHODCALLTYPE get_RowName(BSTR *pName) override;
  HRESULT STDMETHODCALLTYPE get_Shape(IDrawShape **ppShape) override;

  short section() const { return section_; }
  short row() const { return row_; }
  short column() const { return column_; }
  const std::string &name() const { return name_; }
  const std::string &formula() const { return formula_; }
  bool guarded() const;
  // Writes the formula, records the call and fires the shape's cell event.
  HRESULT write(const std::string &formula, bool force, const char *how);
  void setQuietly(const std::string &formula) { formula_ = formula; }
  void detach() { shape_ = nullptr; }

private:
  Shape *shape_;
  short section_, row_, column_;
  std::string name_; // universal name, e.g. "PinX", "User.QOR", "Connections.A.X"
  std::string formula_;
};

} // namespace drawhost

#endif
