// The model-library reader on any text: a library loads or is refused with
// a message; every model it lists is chosen with a walk that ends, and a
// component built on it gets one item per PARAM.
#include "semi-lib/core/model-library.h"
#include "semi-lib/core/model-selection.h"
#include "semi-lib/core/semi-templates.h"

#include "testing/fuzz-harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string text = testing_support::textOf(data, size);
  semi::ModelLibrary library;
  xml::ParseError error;
  if (!library.load(text, error)) {
    FUZZ_CHECK(!error.message.empty());
    return 0;
  }
  const std::vector<std::string> types = library.modelTypes();
  semi::SemiComponent component = semi::buildComponent(semi::SemiKind::Diode, "1", "2", text);
  FUZZ_CHECK(component.libraryParsed);
  xml::Element &params = *component.document.root()->child("PARAMS");
  FUZZ_CHECK(params.children().size() == library.params().size());
  semi::ItemRows rows(params);
  for (const std::string &type : types) {
    semi::ModelChoice choice = semi::chooseModel(library, type);
    FUZZ_CHECK(choice.searched.size() <= types.size() + 1);
    semi::applyModelChoice(choice, rows);
    if (const xml::Element *typeItem = rows.find("TYPE"))
      FUZZ_CHECK(typeItem->getAttribute("TEXT") == type);
  }
  return 0;
}
