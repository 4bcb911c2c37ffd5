// The control property stream on any bytes: it loads or fails with a
// status, and what loads writes back into bytes that load to the same texts.
#include "platform/com/core/control-stream.h"

#include "testing/fuzz-harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  com::MemorySource source(data, size);
  com::ControlProperties read;
  if (com::readControlProperties(source, 3, read) != com::StreamStatus::Ok)
    return 0;
  const std::string again = com::writeControlProperties(read);
  com::MemorySource second(reinterpret_cast<const std::uint8_t *>(again.data()), again.size());
  com::ControlProperties reread;
  FUZZ_CHECK(com::readControlProperties(second, 3, reread) == com::StreamStatus::Ok);
  FUZZ_CHECK(reread.texts.size() == 3);
  for (int i = 0; i < 3; ++i) {
    FUZZ_CHECK(reread.texts[i].null == read.texts[i].null);
    FUZZ_CHECK(reread.texts[i].units == read.texts[i].units);
  }
  return 0;
}
