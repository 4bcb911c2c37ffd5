// The netlist's model-line wrap on any model text: it ends, breaks only at
// spaces, leaves a line longer than 72 characters only where it has no space
// to break at, and loses nothing.
#include "circuit-sim/core/netlist-text.h"

#include "testing/fuzz-harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string text = testing_support::textOf(data, size);
  const std::string wrapped = qorsim::wrapModelText(text);
  FUZZ_CHECK(text.empty() == wrapped.empty());
  if (text.empty() || text.find('\n') != std::string::npos)
    return 0;
  FUZZ_CHECK(wrapped.back() == '\n');

  std::string joined;
  std::size_t start = 0;
  for (bool first = true; start < wrapped.size(); first = false) {
    const std::size_t end = wrapped.find('\n', start);
    std::string line = wrapped.substr(start, end - start);
    start = end + 1;
    const std::size_t firstUsable = first ? 0 : 2;
    if (line.size() > qorsim::ModelLineWidth) {
      const std::size_t space = line.rfind(' ', qorsim::ModelLineWidth);
      FUZZ_CHECK(space == std::string::npos || space < firstUsable);
    }
    if (!first) {
      FUZZ_CHECK(line.compare(0, 2, "+ ") == 0);
      joined += " " + line.substr(2);
    } else {
      joined = line;
    }
  }
  FUZZ_CHECK(joined == text);
  qorsim::titleFromDocumentName(text);
  return 0;
}
