// Output and thumbnail names of an export.
#include "jpeg/core/export-names.h"

#include <gtest/gtest.h>

using namespace pixtune;

namespace {

TEST(ExportNames, SplitExtensionAtTheLastFullStop) {
  struct {
    const char *name, *stem, *extension;
  } cases[] = {{"photo.jpg", "photo", "jpg"}, {"a.b.c", "a.b", "c"},   {"noext", "noext", ""},
               {".hidden", "", "hidden"},     {"trail.", "trail", ""}, {"", "", ""}};
  for (const auto &c : cases) {
    std::string stem = "x", extension = "y";
    SplitExtension(c.name, stem, extension);
    EXPECT_EQ(c.stem, stem) << c.name;
    EXPECT_EQ(c.extension, extension) << c.name;
  }
}

TEST(ExportNames, SplitFullPathKeepsTheSeparator) {
  std::string folder, file;
  SplitFullPath("C:\\pics\\photo.jpg", folder, file);
  EXPECT_EQ("C:\\pics\\", folder);
  EXPECT_EQ("photo.jpg", file);
  SplitFullPath("Z:/tmp/out/", folder, file);
  EXPECT_EQ("Z:/tmp/out/", folder);
  EXPECT_EQ("", file);
}

TEST(ExportNames, DefaultNameFromTheDocument) {
  EXPECT_EQ("photo.jpg", DefaultJpegName("photo.tif"));
  EXPECT_EQ("photo.jpg", DefaultJpegName("C:\\work\\photo.tif"));
  EXPECT_EQ("Untitled.jpg", DefaultJpegName(nullptr));
  EXPECT_EQ("Untitled.jpg", DefaultJpegName(""));
  EXPECT_EQ("Untitled.jpg", DefaultJpegName("C:\\work\\.tif"));
  EXPECT_EQ("\xE9t\xE9.jpg", DefaultJpegName("\xE9t\xE9.psd")); // ANSI bytes pass unchanged
}

TEST(ExportNames, ScriptedPathAddsTheDocumentToAFolder) {
  EXPECT_EQ("C:\\out\\photo.jpg", ScriptedOutputPath("C:\\out\\", "photo.tif"));
  EXPECT_EQ("C:\\out\\given.jpg", ScriptedOutputPath("C:\\out\\given.jpg", "photo.tif"));
  EXPECT_EQ("Untitled.jpg", ScriptedOutputPath("", nullptr));
}

TEST(ExportNames, ThumbnailBesideTheImage) {
  EXPECT_EQ("C:\\out\\th_photo.jpg", ThumbnailPath("C:\\out\\photo.jpg", "th_", true));
  EXPECT_EQ("C:\\out\\phototh_.jpg", ThumbnailPath("C:\\out\\photo.jpg", "th_", false));
  EXPECT_EQ("C:\\out\\small-photo.jpg", ThumbnailPath("C:\\out\\photo.jpg", "small-", true));
}

TEST(ExportNames, AnEmptyExpansionNeverNamesTheImage) {
  for (bool prefix : {true, false}) {
    std::string thumb = ThumbnailPath("C:\\out\\photo.jpg", "", prefix);
    EXPECT_NE("C:\\out\\photo.jpg", thumb);
    EXPECT_EQ(prefix ? "C:\\out\\th_photo.jpg" : "C:\\out\\phototh_.jpg", thumb);
  }
}

} // namespace
