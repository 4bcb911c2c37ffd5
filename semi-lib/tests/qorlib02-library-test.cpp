// QorLib02.dll's model libraries: resources 201 to 203 of type "XML" hold
// the library texts byte for byte, and what the module carries parses and
// builds the fresh components exactly as the native reader does.
#include "semi-lib/core/model-library.h"
#include "semi-lib/core/model-selection.h"
#include "semi-lib/core/semi-templates.h"
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

TEST_F(QorLib02Resources, CarriedLibrariesParseAsTheNativeReaderParsesThem) {
  const char *goldens[] = {"diode-fresh.txt", "npn-fresh.txt", "pnp-fresh.txt"};
  for (SemiKind kind : semi::AllSemiKinds) {
    std::string text;
    ASSERT_TRUE(semi::loadModelLibrary(module_, kind, text));
    semi::ModelLibrary carried;
    xml::ParseError error;
    ASSERT_TRUE(carried.load(text, error)) << error.describe();
    semi::ModelLibrary native;
    ASSERT_TRUE(native.load(semi_test::shippedLibrary(kind), error));
    EXPECT_EQ(semi_test::renderTree(*carried.root()), semi_test::renderTree(*native.root()));

    semi::SemiComponent component = semi::buildComponent(kind, "1.00.419", "9 Dec 2026", text);
    EXPECT_EQ(semi_test::renderTree(*component.document.root()),
              testing_support::readFile(testing_support::sourcePath(
                  std::string("semi-lib/tests/golden/") + goldens[static_cast<int>(kind)])));
  }
}

TEST_F(QorLib02Resources, CarriedLibrariesChooseTheKnownModels) {
  struct Case {
    SemiKind kind;
    const char *type, *name, *value;
  } cases[] = {
      {SemiKind::Npn, "2N3904", "RB", "7.5"},        {SemiKind::Npn, "2N3904", "IS", "6.81E-15"},
      {SemiKind::Pnp, "2N3906", "RC", "2.49"},       {SemiKind::Diode, "1N914", "IS", "2.67E-9"},
      {SemiKind::Diode, "1N914A", "TYPE", "1N914A"},
  };
  for (const Case &c : cases) {
    std::string text;
    ASSERT_TRUE(semi::loadModelLibrary(module_, c.kind, text));
    semi::ModelLibrary library;
    xml::ParseError error;
    ASSERT_TRUE(library.load(text, error));
    semi::SemiComponent component = semi::buildComponent(c.kind, "1", "2", text);
    semi::ItemRows rows(*component.document.root()->child("PARAMS"));
    semi::applyModelChoice(semi::chooseModel(library, c.type), rows);
    EXPECT_EQ(rows.find(c.name)->getAttribute("TEXT"), c.value) << c.type << " " << c.name;
  }
}

TEST_F(QorLib02Resources, AResourceTheModuleLacksGivesNothing) {
  std::string text = "stale";
  EXPECT_FALSE(semi::loadModelLibrary(GetModuleHandleA(nullptr), SemiKind::Npn, text));
  EXPECT_TRUE(text.empty());
}

} // namespace
