// The ".dct" reader on any bytes: a file loads or is refused with a read
// error, and lookups in what loaded stay inside its buffers.
#include "spelling/core/dictionary.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/stream.h"
#include "testing/fuzz-harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  components::TMemoryStream stream;
  if (size > 0)
    stream.WriteBuffer(data, size);
  spelling::TDictionary dictionary("fuzz.dct");
  try {
    dictionary.loadFrom(stream);
  } catch (const components::EReadError &) {
    return 0;
  }
  for (const char *word : {"cat", "car", "a", "I", "dog", "cow", "can't", "ca", "zz", "rat", "tar",
                           "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"})
    dictionary.Contains(word);
  for (const auto &sub : dictionary.SubDictionaries())
    sub->Contains(std::string(255, 'a'));
  return 0;
}
