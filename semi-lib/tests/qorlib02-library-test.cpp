// QorLib02.dll's model libraries: resources 201 to 203 of type "XML" hold
// the library texts byte for byte, so what the module carries parses, builds
// fresh components and chooses models as the sources do in the model tests.
#include "semi-lib/tests/library-files.h"
#include "semi-lib/win32/model-library-resource.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using semi::SemiKind;

class QorLib02Resources : public ::testing::Test {
protected:
  void SetUp() override {
    module_ = LoadLibraryExA(testing_support::hostPath(QORLIB02_DLL).c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr) << QORLIB02_DLL << " error " << GetLastError();
  }
  void TearDown() override {
    if (module_)
      FreeLibrary(module_);
  }
  HMODULE module_ = nullptr;
};

TEST_F(QorLib02Resources, LibrariesAreTheShippedTextsByteForByte) {
  for (SemiKind kind : semi::AllSemiKinds) {
    std::string text;
    ASSERT_TRUE(semi::loadModelLibrary(module_, kind, text)) << semi::libraryResourceId(kind);
    const std::string source = semi_test::shippedLibrary(kind);
    ASSERT_FALSE(source.empty());
    EXPECT_EQ(text, source) << semi::libraryResourceId(kind);
  }
}

TEST_F(QorLib02Resources, AResourceTheModuleLacksGivesNothing) {
  std::string text = "stale";
  EXPECT_FALSE(semi::loadModelLibrary(GetModuleHandleA(nullptr), SemiKind::Npn, text));
  EXPECT_TRUE(text.empty());
}

} // namespace
