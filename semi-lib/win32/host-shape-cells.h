// The semiconductor controls' rules for their shape (error marks, the
// result text block) carried out on the drawing host through its
// automation interfaces. A failing host call throws semi::HostError with
// its result code; the control's methods turn that into S_FALSE.
#ifndef SEMI_LIB_WIN32_HOST_SHAPE_CELLS_H
#define SEMI_LIB_WIN32_HOST_SHAPE_CELLS_H

#include "drawing-host.h"

#include "platform/base/win32/com-ptr.h"
#include "semi-lib/core/error-marks.h"
#include "semi-lib/core/shape-layout.h"

namespace semi {

// The mark cells of the component shape, by name.
class HostMarkCells : public MarkCells {
public:
  explicit HostMarkCells(IDrawShape *shape) : shape_(shape) {}
  std::string formula(const std::string &cell) override;
  void setFormula(const std::string &cell, const std::string &formula) override;

private:
  IDrawShape *shape_;
};

// The "SHOW" sub-shape of the component shape and the page's layers.
class HostLayoutTarget : public LayoutTarget {
public:
  explicit HostLayoutTarget(IDrawShape *component) : component_(component) {}
  void ensureShow() override;
  std::vector<std::string> readFormulas(const std::vector<CellFormula> &cells) override;
  void writeFormulas(const std::vector<CellFormula> &cells) override;
  std::string formula(const CellFormula &cell) override;
  void setFormula(const CellFormula &cell, const std::string &formula) override;
  std::string text() override;
  void setText(const std::string &text) override;
  int findLayer(const std::string &name) override;
  int addLayer(const std::string &name) override;

private:
  base::ComPtr<IDrawCell> cellOf(const CellFormula &cell);
  base::ComPtr<IDrawLayers> layers();
  IDrawShape *component_;
  base::ComPtr<IDrawShape> show_;
};

} // namespace semi

#endif
