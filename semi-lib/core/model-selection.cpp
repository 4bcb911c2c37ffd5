#include "semi-lib/core/model-selection.h"

#include <unordered_set>

namespace semi {

ModelChoice chooseModel(const ModelLibrary &library, const std::string &type) {
  ModelChoice choice;
  choice.type = type;
  for (const xml::Element *param : library.params()) {
    std::string name = param->getAttribute("NAME").value_or("");
    if (name == "ID")
      continue;
    choice.defaults.push_back(
        {name, name == "TYPE" ? type : param->getAttribute("DEFAULT").value_or("")});
  }

  // Each COPY restarts the search with its target; a name searched before
  // ends the walk, so a cycle cannot hold it.
  std::string searched = type;
  std::unordered_set<std::string> seen;
  for (;;) {
    choice.searched.push_back(searched);
    seen.insert(searched);
    const xml::Element *model = library.findModel(searched);
    if (!model) {
      choice.lookup = ModelLookup::NotFound;
      return choice;
    }
    std::optional<std::string> copy = model->getAttribute("COPY");
    if (!copy) {
      for (NamedValue attribute : attributesOf(*model)) {
        if (attribute.name == "TYPE")
          attribute.value = type;
        choice.values.push_back(attribute);
      }
      choice.lookup = ModelLookup::Found;
      return choice;
    }
    if (seen.count(*copy)) {
      choice.lookup = ModelLookup::CopyCycle;
      return choice;
    }
    searched = *copy;
  }
}

std::vector<std::string> applyModelChoice(const ModelChoice &choice, ParameterRows &rows) {
  for (const NamedValue &reset : choice.defaults)
    rows.resetRow(reset.name, reset.value);
  std::vector<std::string> skipped;
  for (const NamedValue &value : choice.values) {
    if (!rows.setRow(value.name, value.value))
      skipped.push_back(value.name);
  }
  return skipped;
}

xml::Element *ItemRows::find(const std::string &name) const {
  for (xml::Element *item : params_.children()) {
    if (item->getAttribute("NAME") == name)
      return item;
  }
  return nullptr;
}

bool ItemRows::resetRow(const std::string &name, const std::string &value) {
  xml::Element *item = find(name);
  if (!item)
    return false;
  item->setAttribute("DEFAULT", value);
  item->setAttribute("TEXT", value);
  item->removeAttribute("IEEE");
  return true;
}

bool ItemRows::setRow(const std::string &name, const std::string &value) {
  xml::Element *item = find(name);
  if (!item)
    return false;
  item->setAttribute("TEXT", value);
  return true;
}

} // namespace semi
