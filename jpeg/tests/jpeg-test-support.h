// Shared helpers of the compressor tests: deterministic test images,
// encoding into memory or a file, marker walking, and running the peers
// (djpeg, jpegtran, jpeginfo, identify) natively.
#ifndef JPEG_TESTS_JPEG_TEST_SUPPORT_H
#define JPEG_TESTS_JPEG_TEST_SUPPORT_H

#include "jpeg/core/jpeg-encoder.h"
#include "jpeg/core/jpeg-errors.h"
#include "jpeg/tools/pnm-image.h"
#include "testing/test-files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
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

// Encodes a bitmap into the stream; with a preview buffer (the image's size
// in the bitmap's layout) the rebuilt picture goes there.
inline void encodeInto(const pixtune::TBitmap &bitmap, pixtune::TStream &out,
                       const pixtune::CompressionParams &params, Bytes *preview = nullptr,
                       pixtune::ProgressSink *progress = nullptr) {
  pixtune::TJpegEncoder encoder(bitmap.Data(), bitmap.Bytes(), nullptr, 0, out,
                                preview ? preview->data() : nullptr, preview ? preview->size() : 0,
                                progress);
  encoder.Encode(params);
}

inline Encoded encodeBitmap(const pixtune::TBitmap &bitmap,
                            const pixtune::CompressionParams &params,
                            pixtune::ProgressSink *progress = nullptr) {
  Encoded result;
  result.preview.resize(pixtune::TBitmapView(bitmap).ImageBytes());
  pixtune::TMemoryStream memory;
  pixtune::TJpegEncoder encoder(bitmap.Data(), bitmap.Bytes(), nullptr, 0, memory,
                                result.preview.data(), result.preview.size(), progress);
  result.grey = encoder.IsGreyImage();
  encoder.Encode(params);
  result.file.assign(memory.Data(), memory.Data() + memory.Size());
  return result;
}

inline Encoded encode(const PnmImage &image, const pixtune::CompressionParams &params) {
  pixtune::TBitmap bitmap = pixtune_tools::bitmapFromPnm(image);
  Encoded result = encodeBitmap(bitmap, params);
  result.previewImage =
      pixtune_tools::pnmFromPixels(pixtune::TBitmapView(bitmap), result.preview.data());
  return result;
}

// Files in memory behind the streams' file calls: creating, flushing and
// replacing can be made to fail, and writes stop after writeBudget bytes in
// all, as on a full disk; openHandles counts the handles not yet closed.
class MemoryFiles final : public pixtune::FileApi {
public:
  std::map<std::string, Bytes> files;
  bool failCreate = false, failFlush = false, failReplace = false;
  std::int32_t writeBudget = -1; // bytes that can still be written; -1 unlimited
  int openHandles = 0;

  std::intptr_t create(const char *path) override {
    if (failCreate)
      return -1;
    files[path].clear();
    return handleFor(path);
  }
  std::intptr_t open(const char *path, int) override {
    return files.count(path) ? handleFor(path) : -1;
  }
  std::int32_t read(std::intptr_t, void *, std::int32_t) override { return 0; }
  std::int32_t write(std::intptr_t handle, const void *buffer, std::int32_t count) override {
    std::int32_t room = writeBudget < 0 ? count : std::min(count, writeBudget);
    if (writeBudget >= 0)
      writeBudget -= room;
    const auto *bytes = static_cast<const std::uint8_t *>(buffer);
    Bytes &file = files[names_[static_cast<std::size_t>(handle)]];
    file.insert(file.end(), bytes, bytes + room);
    return room;
  }
  std::int32_t seek(std::intptr_t, std::int32_t, int) override { return 0; }
  bool close(std::intptr_t) override {
    --openHandles;
    return true;
  }
  bool flush(std::intptr_t) override { return !failFlush; }
  bool replace(const char *source, const char *target) override {
    if (failReplace || !files.count(source))
      return false;
    files[target] = files[source];
    files.erase(source);
    return true;
  }
  bool remove(const char *path) override { return files.erase(path) == 1; }

private:
  std::intptr_t handleFor(const char *path) {
    ++openHandles;
    names_.push_back(path);
    return static_cast<std::intptr_t>(names_.size() - 1);
  }
  std::vector<std::string> names_;
};

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
  return testing_support::scratchFile(
      test ? std::string("jpeg-") + test->test_suite_name() + "." + test->name() : "jpeg", name);
}

inline void writeFile(const std::string &path, const Bytes &bytes) {
  testing_support::writeFile(path, std::string(bytes.begin(), bytes.end()));
}

inline Bytes readFile(const std::string &path) {
  std::string bytes = testing_support::readFile(path);
  return Bytes(bytes.begin(), bytes.end());
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
  errors = testing_support::readFile(errPath);
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
