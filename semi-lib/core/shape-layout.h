// The result text block of a semiconductor control: the "SHOW" sub-shape
// inside the component shape, tied to the BODY shape and the component's
// second control handle, showing the result text on the RESULT's layer.
// The layout reads before it writes, so that a solve that changes nothing
// leaves the drawing unmodified.
#ifndef SEMI_LIB_CORE_SHAPE_LAYOUT_H
#define SEMI_LIB_CORE_SHAPE_LAYOUT_H

#include <string>
#include <vector>

namespace semi {

struct CellFormula {
  short section, row, cell;
  std::string formula;
};

// The cells of "SHOW" in the order of the one bulk write, the line pattern's
// "GUARD(0)" entry twice as the write has always carried it.
std::vector<CellFormula> showCellFormulas(const std::string &componentShapeName);

// The text-edit lock of "SHOW" and its layer membership.
const CellFormula TextLockCell = {1, 15, 11, ""};
const CellFormula LayerMemberCell = {1, 6, 0, ""};

// The layer membership formula of a layer index: the index in double quotes.
std::string layerMembershipFormula(int layerIndex);

// What LayoutShape works on; the Windows side reaches the host through it.
// A failing host call throws.
class LayoutTarget {
public:
  virtual ~LayoutTarget() = default;
  // Finds "SHOW" in the component shape, or draws and names it.
  virtual void ensureShow() = 0;
  virtual std::vector<std::string> readFormulas(const std::vector<CellFormula> &cells) = 0;
  // One bulk write that overrides GUARD formulas.
  virtual void writeFormulas(const std::vector<CellFormula> &cells) = 0;
  virtual std::string formula(const CellFormula &cell) = 0;
  virtual void setFormula(const CellFormula &cell, const std::string &formula) = 0;
  virtual std::string text() = 0;
  virtual void setText(const std::string &text) = 0;
  // The page's layer of that name (-1 when missing); adding one sets its
  // cell 2 to 4 and answers its index.
  virtual int findLayer(const std::string &name) = 0;
  virtual int addLayer(const std::string &name) = 0;
};

struct LayoutWrites {
  bool cells = false, text = false, layer = false;
};

// Brings "SHOW" to the wanted cells, text and layer, writing only what
// differs, and says what it wrote.
LayoutWrites layoutShow(LayoutTarget &target, const std::string &componentShapeName,
                        const std::string &resultText, const std::string &layerName);

} // namespace semi

#endif
