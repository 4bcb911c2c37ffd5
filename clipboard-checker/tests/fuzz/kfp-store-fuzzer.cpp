// The ".kfp" store reader on any bytes: it keeps only whole records, no
// larger than the input, and what it kept writes out and reads back alike.
#include "clipboard-checker/core/kfp-store.h"

#include "testing/fuzz-harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using lexitray::TkfRegFile;
  TkfRegFile store;
  store.LoadFromBytes(testing_support::textOf(data, size));
  std::size_t held = 0;
  for (const TkfRegFile::Record &record : store.Records()) {
    held += 101 + record.data.size();
    FUZZ_CHECK(record.name.size() <= 23 && record.key.size() <= 63);
  }
  FUZZ_CHECK(held <= size);
  const std::string saved = store.SaveToBytes();
  TkfRegFile again;
  again.LoadFromBytes(saved);
  FUZZ_CHECK(again.Records().size() == store.Records().size());
  FUZZ_CHECK(again.SaveToBytes() == saved);
  return 0;
}
