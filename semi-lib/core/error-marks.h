// The error marks of a semiconductor shape: "User.Error" for the component
// (mark "*") and one connection cell per pin (the pin letter), each holding
// the formula "TRUE" or "FALSE".
#ifndef SEMI_LIB_CORE_ERROR_MARKS_H
#define SEMI_LIB_CORE_ERROR_MARKS_H

#include "semi-lib/core/semi-kind.h"

#include <string>

namespace semi {

// The shape's mark cells, read and written by name. A failing host call
// throws.
class MarkCells {
public:
  virtual ~MarkCells() = default;
  virtual std::string formula(const std::string &cell) = 0;
  virtual void setFormula(const std::string &cell, const std::string &formula) = 0;
};

// "Connections.<pin>.A".
std::string connectionCell(const std::string &pin);

// Sets one mark: the empty text clears them all ("User.Error" first, then
// the pins in order), "*" marks the component, a pin letter its pin. Any
// other mark writes nothing and answers false.
bool putErrorMark(SemiKind kind, const std::string &mark, MarkCells &cells);

// The marks set: "*" when "User.Error" is not "FALSE", then each marked
// pin's letter, separated by commas ("*,B"); empty when none is.
std::string getErrorMark(SemiKind kind, MarkCells &cells);

} // namespace semi

#endif
