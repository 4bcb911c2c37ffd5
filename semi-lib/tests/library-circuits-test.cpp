// The parts of the ngspice cross-check circuits are the shipped library
// models: what model selection gives for 1N4148, 2N3904 and 2N3906 is what
// those circuits solve with (each parameter as the device reads it: TEXT,
// else DEFAULT).
#include "semi-lib/core/model-selection.h"
#include "semi-lib/core/semi-templates.h"
#include "semi-lib/tests/check-circuits.h"
#include "semi-lib/tests/library-files.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using semi::SemiKind;

std::map<std::string, std::string> readValues(const std::vector<semi::ParamItem> &items) {
  std::map<std::string, std::string> values;
  for (const semi::ParamItem &item : items) {
    if (item.name != "ID")
      values[item.name] = item.hasText ? item.text : item.defaultText;
  }
  return values;
}

std::map<std::string, std::string> selected(SemiKind kind, const std::string &type) {
  const std::string text = semi_test::shippedLibrary(kind);
  semi::ModelLibrary library;
  xml::ParseError error;
  EXPECT_TRUE(library.load(text, error));
  semi::SemiComponent component = semi::buildComponent(kind, "1", "2", text);
  xml::Element &params = *component.document.root()->child("PARAMS");
  semi::ItemRows rows(params);
  semi::applyModelChoice(semi::chooseModel(library, type), rows);
  std::map<std::string, std::string> values;
  for (const xml::Element *item : params.children()) {
    std::string name = item->getAttribute("NAME").value_or("");
    if (name != "ID")
      values[name] =
          item->getAttribute("TEXT").value_or(item->getAttribute("DEFAULT").value_or(""));
  }
  return values;
}

TEST(LibraryCircuits, CrossCheckPartsAreTheShippedModels) {
  EXPECT_EQ(readValues(semi_test::npn2N3904()), selected(SemiKind::Npn, "2N3904"));
  EXPECT_EQ(readValues(semi_test::pnp2N3906()), selected(SemiKind::Pnp, "2N3906"));
  EXPECT_EQ(readValues(semi_test::diode1N4148()), selected(SemiKind::Diode, "1N4148"));
  EXPECT_EQ(readValues(semi_test::transistorParams()), selected(SemiKind::Npn, "DEFAULT"));
  EXPECT_EQ(readValues(semi_test::diodeParams()), selected(SemiKind::Diode, "DEFAULT"));
}

} // namespace
