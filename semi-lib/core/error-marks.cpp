#include "semi-lib/core/error-marks.h"

#include <vector>

namespace semi {
namespace {
const char ErrorCell[] = "User.Error";
}

std::string connectionCell(const std::string &pin) { return "Connections." + pin + ".A"; }

bool putErrorMark(SemiKind kind, const std::string &mark, MarkCells &cells) {
  const std::vector<std::string> pins = pinLetters(kind);
  if (mark.empty()) {
    cells.setFormula(ErrorCell, "FALSE");
    for (const std::string &pin : pins)
      cells.setFormula(connectionCell(pin), "FALSE");
    return true;
  }
  if (mark == "*") {
    cells.setFormula(ErrorCell, "TRUE");
    return true;
  }
  for (const std::string &pin : pins) {
    if (mark == pin) {
      cells.setFormula(connectionCell(pin), "TRUE");
      return true;
    }
  }
  return false;
}

std::string getErrorMark(SemiKind kind, MarkCells &cells) {
  std::string marks;
  if (cells.formula(ErrorCell) != "FALSE")
    marks = "*";
  for (const std::string &pin : pinLetters(kind)) {
    if (cells.formula(connectionCell(pin)) == "FALSE")
      continue;
    if (!marks.empty())
      marks += ',';
    marks += pin;
  }
  return marks;
}

} // namespace semi
