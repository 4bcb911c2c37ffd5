// Shared helpers of the compressor tests: deterministic test images,
// encoding into memory or a file, marker walking, and running the peers
// (djpeg, jpegtran, jpeginfo, identify) natively.
#ifndef JPEG_TESTS_JPEG_TEST_SUPPORT_H
#define JPEG_TESTS_JPEG_TEST_SUPPORT_H

#include "jpeg/core/jpeg-encoder.h"
#include "jpeg/core/jpeg-errors.h"
#include "jpeg/tools/pnm-image.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace jpeg_test {

using pixtune_tools::PnmImage;
using Bytes = std::vector<std::uint8_t>;

// A photo-like test picture: smooth gradients, a few hard edges and some
// fine noise, different per seed; grey or RGB.
inline PnmImage makeImage(int width, int height, bool grey, unsigned seed = 1) {
  PnmImage image;
  image.width = width;
  image.height = height;
  image.channels = grey ? 1 : 3;
  image.pixels.resize(static_cast<std::size_t>(width) * height * image.channels);
  unsigned state = seed * 2654435761u + 12345u;
  auto noise = [&state]() {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 16) % 17) - 8;
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < image.channels; ++c) {
        double fx = x / 23.0 + c * 1.7 + seed, fy = y / 31.0 - c * 0.9;
        double v = 128 + 70 * std::sin(fx) * std::cos(fy) + 40 * std::sin((x + 2 * y) / 57.0 + c);
        if ((x / 40 + y / 30 + c) % 5 == 0)
          v = 255 - v; // hard edges
        v += noise();
        image.pixels[(static_cast<std::size_t>(y) * width + x) * image.channels + c] =
            static_cast<std::uint8_t>(std::max(0.0, std::min(255.0, v)));
      }
    }
  }
  return image;
}

// Fails the Nth request and every one after it (never when failFrom is 0).
class FailingAllocator final : public pixtune::BlockAllocator {
public:
  explicit FailingAllocator(int failFrom) : failFrom_(failFrom) {}
  void *allocate(std::size_t bytes) override {
    return shouldFail() ? nullptr : pixtune::defaultAllocator().allocate(bytes);
  }
  void *reallocate(void *block, std::size_t bytes) override {
    return shouldFail() ? nullptr : pixtune::defaultAllocator().reallocate(block, bytes);
  }
  void release(void *block) override { pixtune::defaultAllocator().release(block); }
  int requests = 0;

private:
  bool shouldFail() { return ++requests >= failFrom_ && failFrom_ > 0; }
  int failFrom_;
};

// The code of the TError an action throws, 0 when it throws none.
inline int errorCode(const std::function<void()> &action) {
  try {
    action();
  } catch (const pixtune::TError &error) {
    return error.Code();
  }
  return 0;
}

// Result of one encode into memory.
struct Encoded {
  Bytes file;
  Bytes preview;         // in the bitmap's layout
  PnmImage previewImage; // the same as a PNM image
  bool grey = false;
};

inline Encoded encode(const PnmImage &image, pixtune::CompressionParams params) {
  pixtune::TBitmap bitmap = pixtune_tools::bitmapFromPnm(image);
  pixtune::TBitmapView view(bitmap);
  Encoded result;
  result.preview.resize(view.ImageBytes());
  pixtune::TMemoryStream memory;
  pixtune::TJpegEncoder encoder(bitmap.Data(), bitmap.Bytes(), nullptr, 0, memory,
                                result.preview.data(), result.preview.size(), nullptr);
  encoder.Encode(params);
  result.file.assign(memory.Data(), memory.Data() + memory.Size());
  result.previewImage = pixtune_tools::pnmFromPixels(view, result.preview.data());
  result.grey = encoder.IsGreyImage();
  return result;
}

inline pixtune::CompressionParams params(int luminance, int chrominance, bool progressive = false,
                                         int sharpen = 0) {
  pixtune::CompressionParams p;
  p.luminance = static_cast<std::uint8_t>(luminance);
  p.chrominance = static_cast<std::uint8_t>(chrominance);
  p.progressive = progressive ? 1 : 0;
  p.sharpen = static_cast<std::int16_t>(sharpen);
  return p;
}

// One marker segment of a JPEG file (entropy-coded data is skipped).
struct Segment {
  int marker;
  Bytes body; // without the length field
};

inline std::vector<Segment> segments(const Bytes &file) {
  std::vector<Segment> out;
  std::size_t i = 0;
  while (i + 1 < file.size()) {
    if (file[i] != 0xFF || file[i + 1] == 0x00 || (file[i + 1] >= 0xD0 && file[i + 1] <= 0xD7)) {
      ++i;
      continue;
    }
    int marker = file[i + 1];
    i += 2;
    if (marker == 0xD8 || marker == 0xD9) {
      out.push_back({marker, {}});
      continue;
    }
    if (i + 2 > file.size())
      break;
    std::size_t length = static_cast<std::size_t>(file[i] << 8 | file[i + 1]);
    if (length < 2 || i + length > file.size())
      break;
    out.push_back({marker, Bytes(file.begin() + static_cast<std::ptrdiff_t>(i + 2),
                                 file.begin() + static_cast<std::ptrdiff_t>(i + length))});
    i += length;
  }
  return out;
}

inline int countMarkers(const std::vector<Segment> &list, int marker) {
  int n = 0;
  for (const Segment &s : list)
    n += s.marker == marker;
  return n;
}

// A file in the running test's own scratch folder: ctest runs the cases in
// parallel, so no two cases may share a file name.
inline std::string scratchFile(const std::string &name) {
  const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string dir = testing_support::scratchPath("jpeg");
  if (test)
    dir += std::string("/") + test->test_suite_name() + "." + test->name();
  std::error_code ignored;
  std::filesystem::create_directories(dir, ignored);
  return dir + "/" + name;
}

inline void writeFile(const std::string &path, const Bytes &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline Bytes readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string readText(const std::string &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline bool havePeer(const char *program) {
#ifdef _WIN32
  (void)program;
  return false; // the peers are Linux programs: these checks run natively
#else
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
#endif
}

// Runs a shell command; its stdout goes to outPath (when given) and its
// stderr is returned in errors. Returns the exit status.
inline int runPeer(const std::string &command, const std::string &outPath, std::string &errors) {
  std::string errPath = scratchFile("peer-stderr.txt");
  std::string full =
      command + (outPath.empty() ? "" : " > '" + outPath + "'") + " 2> '" + errPath + "'";
  int status = std::system(full.c_str());
  errors = readText(errPath);
  return status;
}

struct Difference {
  int maximum = 0;
  double mean = 0;
};

inline Difference compareImages(const PnmImage &a, const PnmImage &b) {
  Difference d;
  if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) {
    d.maximum = 256;
    return d;
  }
  double sum = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    int diff = std::abs(a.pixels[i] - b.pixels[i]);
    d.maximum = std::max(d.maximum, diff);
    sum += diff;
  }
  d.mean = sum / static_cast<double>(a.pixels.size());
  return d;
}

inline double psnr(const PnmImage &a, const PnmImage &b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    double diff = a.pixels[i] - b.pixels[i];
    sum += diff * diff;
  }
  if (sum == 0)
    return 99;
  return 10 * std::log10(255.0 * 255.0 * static_cast<double>(a.pixels.size()) / sum);
}

} // namespace jpeg_test

#endif
