// Pixtune.dll's exports called as an adapter calls them: the arguments
// and bitmaps they refuse before doing any work, and the result
// convention of both.
#include "jpeg/win32/export-entry/export-params.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

namespace {

class ExportEntry : public ::testing::Test {
protected:
  void SetUp() override {
    module_ =
        LoadLibraryA(testing_support::hostPath(testing_support::envOr("TEST_BINARY_DIR", ".") +
                                               "/../win32/Pixtune.dll")
                         .c_str());
    ASSERT_NE(nullptr, module_);
    export_ = reinterpret_cast<::ExportEntry>(
        reinterpret_cast<void *>(GetProcAddress(module_, "EXPORT")));
    about_ =
        reinterpret_cast<AboutEntry>(reinterpret_cast<void *>(GetProcAddress(module_, "ABOUT")));
    ASSERT_TRUE(export_ && about_);
    window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                              nullptr, nullptr);
  }
  void TearDown() override {
    if (window_)
      DestroyWindow(window_);
    if (module_)
      FreeLibrary(module_);
  }

  // A bitmap header in a global block of blockBytes bytes, as the adapters
  // make it, claiming width x height.
  HGLOBAL bitmap(SIZE_T blockBytes, int width, int height, int bits, int colours) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, blockBytes);
    auto *header = static_cast<std::int32_t *>(GlobalLock(block));
    header[0] = 40;
    header[1] = width;
    header[2] = height;
    header[3] = 1 | bits << 16;
    header[5] = ((bits * width + 31) / 32 * 4) * height;
    header[8] = colours;
    return block;
  }

  HMODULE module_ = nullptr;
  ::ExportEntry export_ = nullptr;
  AboutEntry about_ = nullptr;
  HWND window_ = nullptr;
};

TEST_F(ExportEntry, MissingArgumentsGiveStatusOne) {
  int status = 99;
  EXPECT_FALSE(export_(nullptr, &status));
  EXPECT_EQ(1, status);
  ExportParams params = {};
  params.hwnd = window_;
  status = 99;
  EXPECT_FALSE(export_(&params, &status));
  EXPECT_EQ(1, status);
  char dib[64] = {};
  params.dib = dib;
  params.hwnd = nullptr;
  status = 99;
  EXPECT_FALSE(export_(&params, &status));
  EXPECT_EQ(1, status);
  EXPECT_FALSE(export_(nullptr, nullptr)); // no status to store
  status = 99;
  EXPECT_FALSE(about_(nullptr, &status));
  EXPECT_EQ(1, status);
}

TEST_F(ExportEntry, BitmapsThatDoNotFitTheirHeaderGiveStatusOne) {
  struct {
    SIZE_T blockBytes;
    int width, height, bits, colours;
  } cases[] = {
      {40 + 24, 3, 1000, 24, 0},    // rows far past the block
      {40 + 24, 3, 2, 16, 0},       // a depth the adapters never make
      {40 + 1024 + 8, 3, 2, 8, 16}, // a grey image with a short palette
      {40 + 24, 3, 2, 24, 256},     // a colour image with a palette
  };
  for (const auto &c : cases) {
    HGLOBAL block = bitmap(c.blockBytes, c.width, c.height, c.bits, c.colours);
    ExportParams params = {};
    params.dib = GlobalLock(block);
    params.hwnd = window_;
    int status = 99;
    EXPECT_FALSE(export_(&params, &status)) << c.height << " " << c.bits;
    EXPECT_EQ(1, status) << c.height << " " << c.bits;
    GlobalUnlock(block);
    GlobalUnlock(block);
    GlobalFree(block);
  }
}

} // namespace
