// Choosing a model for a semiconductor component: the parameters first go
// back to the library defaults, then take the values of the chosen MODEL,
// following COPY references to the MODEL that holds them. The choice is
// worked out on the library alone and then applied to whatever holds the
// parameter rows (the parameters page's list, or the PARAMS items).
#ifndef SEMI_LIB_CORE_MODEL_SELECTION_H
#define SEMI_LIB_CORE_MODEL_SELECTION_H

#include "semi-lib/core/model-library.h"

#include <string>
#include <vector>

namespace semi {

enum class ModelLookup {
  Found,     // a MODEL with values was reached
  NotFound,  // the type, or a COPY target, names no MODEL
  CopyCycle, // the COPY references came back to a name already searched
};

struct ModelChoice {
  std::string type; // the type entered; TYPE rows always take it
  // Every PARAM but "ID", in library order, with its DEFAULT (the TYPE
  // PARAM with the type entered).
  std::vector<NamedValue> defaults;
  // The attributes of the MODEL reached, in the order written (a repeated
  // one twice, so the later wins), TYPE with the type entered. Empty unless
  // lookup is Found.
  std::vector<NamedValue> values;
  ModelLookup lookup = ModelLookup::NotFound;
  // The names searched, the type entered first; for a cycle the repeated
  // name is not listed twice.
  std::vector<std::string> searched;
};

ModelChoice chooseModel(const ModelLibrary &library, const std::string &type);

// The parameter rows a choice is applied to, found by parameter name.
class ParameterRows {
public:
  virtual ~ParameterRows() = default;
  // Sets the row's value, its DEFAULT and TEXT, and drops its IEEE value.
  // False when no row has that name.
  virtual bool resetRow(const std::string &name, const std::string &value) = 0;
  // Sets the row's value and TEXT. False when no row has that name.
  virtual bool setRow(const std::string &name, const std::string &value) = 0;
};

// Applies the defaults, then the values; names without a row are skipped.
// Returns the names skipped among the values.
std::vector<std::string> applyModelChoice(const ModelChoice &choice, ParameterRows &rows);

// The rows as the ITEM children of a PARAMS element, found by NAME.
class ItemRows : public ParameterRows {
public:
  explicit ItemRows(xml::Element &params) : params_(params) {}
  bool resetRow(const std::string &name, const std::string &value) override;
  bool setRow(const std::string &name, const std::string &value) override;
  xml::Element *find(const std::string &name) const;

private:
  xml::Element &params_;
};

} // namespace semi

#endif
