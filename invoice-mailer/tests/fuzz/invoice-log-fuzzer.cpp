// A header log and its item file, damaged any way: listing, looking up and
// rendering every invoice ends in the documented errors or a text, never in
// a crash, a sanitizer report or an outsized allocation.
#include "invoice-mailer/tests/fuzz/log-exercise.h"
#include "testing/fuzz-harness.h"

// The input is the pair: headers (".ldl") then items (".ldi").
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const testing_support::FilePair files = testing_support::splitPair(data, size);
  billpost_test::exerciseLog(billpost_test::Bytes(files.first.begin(), files.first.end()),
                             billpost_test::Bytes(files.second.begin(), files.second.end()));
  return 0;
}
