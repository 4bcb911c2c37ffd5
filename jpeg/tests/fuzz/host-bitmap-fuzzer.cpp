// Bitmaps from the host, damaged any way: the export's header check accepts
// only what binds as an image inside the block, and the encoder ends with an
// error or a whole file, never reading past the block.
#include "jpeg/core/host-bitmap-check.h"
#include "jpeg/core/host-bitmap.h"
#include "jpeg/core/jpeg-encoder.h"
#include "jpeg/core/jpeg-errors.h"
#include "jpeg/core/streams.h"

#include "testing/fuzz-harness.h"

#include <vector>

using namespace pixtune;

// Bytes 0 and 1 are the compression settings, the rest is the bitmap.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 2)
    return 0;
  CompressionParams params;
  params.luminance = data[0];
  params.chrominance = static_cast<std::uint8_t>(data[0] ^ data[1]);
  params.progressive = data[1] & 1;
  params.sharpen = static_cast<std::int16_t>((data[1] >> 1) % 101);
  std::vector<std::uint8_t> dib(data + 2, data + size);

  std::size_t bytes = 0;
  if (dib.size() >= 40 && CheckHostBitmap(dib.data(), dib.size(), bytes)) {
    FUZZ_CHECK(bytes <= dib.size());
    std::vector<std::uint8_t> exact(dib.begin(), dib.begin() + static_cast<std::ptrdiff_t>(bytes));
    try {
      TBitmapView view(exact.data(), exact.size());
    } catch (const TError &) {
      FUZZ_CHECK(!"an accepted header does not bind as an image");
    }
  }

  try {
    TBitmapView probe(dib.data(), dib.size());
    if (probe.ImageBytes() > (1u << 20))
      return 0; // a large picture only costs time here
    std::vector<std::uint8_t> preview(probe.ImageBytes());
    TMemoryStream memory;
    TJpegEncoder encoder(dib.data(), dib.size(), nullptr, 0, memory, preview.data(), preview.size(),
                         nullptr);
    encoder.Encode(params);
    FUZZ_CHECK(memory.Size() > 100);
  } catch (const TError &) {
  }
  return 0;
}
