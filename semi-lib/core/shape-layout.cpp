#include "semi-lib/core/shape-layout.h"

namespace semi {

std::vector<CellFormula> showCellFormulas(const std::string &componentShapeName) {
  const std::string &shape = componentShapeName;
  return {
      {1, 2, 2, "GUARD(0)"},
      {1, 2, 2, "GUARD(0)"},
      {1, 1, 0, "BODY!PinX"},
      {1, 1, 1, "BODY!PinY"},
      {1, 1, 2, "0.24 pt."},
      {1, 1, 3, "0.24 pt."},
      {1, 1, 4, "Width*0.5"},
      {1, 1, 5, "Height*0.5"},
      {1, 12, 0, shape + "!Controls.X2+LocPinX-PinX"},
      {1, 12, 1, shape + "!Controls.Y2+LocPinY-PinY"},
      {1, 12, 2, "TEXTWIDTH(TheText)"},
      {1, 12, 3, "TEXTHEIGHT(TheText,TxtWidth)"},
      {1, 12, 4, "0"},
      {1, 12, 5, "TxtHeight*0.5"},
      {1, 12, 6, shape + "!Angle*IF(BODY!User.Flip,1,-1)"},
      {1, 11, 2, "0 pt."},
      {1, 11, 3, "0 pt."},
      {1, 11, 0, "0 pt."},
      {1, 11, 1, "0 pt."},
      {1, 11, 4, "BODY!VerticalAlign"},
      {3, 0, 0, "BODY!Char.Font"},
      {3, 0, 7, "BODY!Char.Size"},
      {4, 0, 6, "BODY!Para.HorzAlign"},
  };
}

std::string layerMembershipFormula(int layerIndex) {
  return "\"" + std::to_string(layerIndex) + "\"";
}

LayoutWrites layoutShow(LayoutTarget &target, const std::string &componentShapeName,
                        const std::string &resultText, const std::string &layerName) {
  LayoutWrites writes;
  target.ensureShow();

  const std::vector<CellFormula> wanted = showCellFormulas(componentShapeName);
  const std::vector<std::string> current = target.readFormulas(wanted);
  for (size_t i = 0; i < wanted.size() && !writes.cells; ++i)
    writes.cells = i >= current.size() || current[i] != wanted[i].formula;
  if (writes.cells)
    target.writeFormulas(wanted);

  if (target.text() != resultText) {
    target.setFormula(TextLockCell, "0");
    target.setText(resultText);
    target.setFormula(TextLockCell, "1");
    writes.text = true;
  }

  if (!layerName.empty()) {
    int index = target.findLayer(layerName);
    if (index < 0)
      index = target.addLayer(layerName);
    const std::string membership = layerMembershipFormula(index);
    if (target.formula(LayerMemberCell) != membership) {
      target.setFormula(LayerMemberCell, membership);
      writes.layer = true;
    }
  }
  return writes;
}

} // namespace semi
