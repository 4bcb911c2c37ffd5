// The readers of a plug-in's resources and of descriptor item text on any
// bytes: a resource is refused with a message or read within its bounds, and
// an item text that reads formats to a text that reads as the same item.
#include "platform/plugin-host/core/descriptor-items.h"
#include "platform/plugin-host/core/plugin-resources.h"

#include "testing/fuzz-harness.h"

using namespace plugin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  PropertyList list;
  std::string error;
  if (ParsePropertyList(data, size, list, error))
    FUZZ_CHECK(list.keys.size() * 16 <= size);
  else
    FUZZ_CHECK(!error.empty());

  ScriptingDictionary dictionary;
  if (ParseScriptingDictionary(data, size, dictionary, error))
    FUZZ_CHECK(dictionary.parameters.size() * 12 <= size);

  DescriptorItem item;
  if (ParseDescriptorItem(testing_support::textOf(data, size), item)) {
    DescriptorItem again;
    FUZZ_CHECK(ParseDescriptorItem(FormatDescriptorItem(item), again));
    FUZZ_CHECK(FormatDescriptorItem(again) == FormatDescriptorItem(item));
  }
  return 0;
}
