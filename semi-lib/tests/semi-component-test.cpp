// The component side of the semiconductor controls without a host: fresh
// component XML against hand-written golden files and the rules of the
// parameters page.
#include "semi-lib/core/model-selection.h"
#include "semi-lib/core/model-library.h"
#include "semi-lib/core/semi-templates.h"
#include "semi-lib/core/type-rule.h"
#include "semi-lib/tests/library-files.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using semi::SemiKind;

semi::SemiComponent fresh(SemiKind kind) {
  return semi::buildComponent(kind, "1.00.419", "9 Dec 2026", semi_test::shippedLibrary(kind));
}

TEST(SemiTemplates, FreshComponentsMatchTheirGoldenFiles) {
  struct Case {
    SemiKind kind;
    const char *golden;
    size_t params, results;
  } cases[] = {
      {SemiKind::Npn, "npn-fresh.txt", 28, 23},
      {SemiKind::Pnp, "pnp-fresh.txt", 28, 23},
      {SemiKind::Diode, "diode-fresh.txt", 11, 8},
  };
  for (const Case &c : cases) {
    semi::SemiComponent component = fresh(c.kind);
    ASSERT_TRUE(component.libraryParsed);
    const xml::Element &root = *component.document.root();
    EXPECT_EQ(semi_test::renderTree(root), semi_test::golden(c.golden)) << c.golden;
    EXPECT_EQ(root.child("PARAMS")->children().size(), c.params);
    ASSERT_EQ(root.child("RESULT")->children().size(), c.results);
    for (const xml::Element *item : root.child("RESULT")->children())
      EXPECT_EQ(item->getAttribute("IEEE"), "0XFFFFFFFFFFFFFFFF");
  }
}

TEST(SemiTemplates, EachItemCarriesExactlyItsParamsAttributes) {
  for (SemiKind kind : semi::AllSemiKinds) {
    semi::ModelLibrary library = semi_test::loaded(semi_test::shippedLibrary(kind));
    semi::SemiComponent component = fresh(kind);
    std::vector<xml::Element *> items = component.document.root()->child("PARAMS")->children();
    std::vector<const xml::Element *> params = library.params();
    ASSERT_EQ(items.size(), params.size());
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i]->tagName(), "ITEM");
      EXPECT_EQ(semi::attributesOf(*items[i]), semi::attributesOf(*params[i])) << i;
    }
  }
}

TEST(SemiTemplates, DataStr1KeepsTheFilledTemplateOnly) {
  semi::SemiComponent component = fresh(SemiKind::Npn);
  EXPECT_EQ(component.dataStr1.find("<ITEM NAME=\"ID\""), std::string::npos);
  EXPECT_NE(component.dataStr1.find("VERSION=\"1.00.419\" CREATED=\"9 Dec 2026\""),
            std::string::npos);
  EXPECT_EQ(component.dataStr1.find('\n'), std::string::npos);
  // The merged document saves back with the items in it.
  EXPECT_NE(
      component.document.save().find("<PARAMS ORDER=\"0 1\" VERSION=\"1.0\"><ITEM NAME=\"ID\""),
      std::string::npos);
}

TEST(SemiTemplates, MissingOrBrokenLibraryLeavesParamsEmpty) {
  semi::SemiComponent none = semi::buildComponent(SemiKind::Diode, "1", "2", "");
  EXPECT_TRUE(none.document.root()->child("PARAMS")->children().empty());
  EXPECT_TRUE(none.libraryText.empty());
  semi::SemiComponent broken = semi::buildComponent(SemiKind::Diode, "1", "2", "<LIBRARY>");
  EXPECT_TRUE(broken.document.root()->child("PARAMS")->children().empty());
  EXPECT_FALSE(broken.libraryParsed);
  EXPECT_EQ(broken.document.root()->child("RESULT")->children().size(), 8u);
}

TEST(TypeRule, QuestionsFollowTheType) {
  using semi::Question;
  using semi::RowRange;
  struct Case {
    RowRange row;
    const char *text, *def;
    Question activation;
  } cases[] = {
      {RowRange::Type, "DEFAULT", "DEFAULT", Question::None},
      {RowRange::Type, "CUSTOM", "2N3904", Question::SelectModel},
      {RowRange::Positive, "DEFAULT", "DEFAULT", Question::EditParameter},
      {RowRange::NonNegative, "2N3904", "2N3904", Question::EditParameter},
      {RowRange::Positive, "CUSTOM", "2N3904", Question::None},
      {RowRange::Id, "DEFAULT", "DEFAULT", Question::None},
  };
  for (const Case &c : cases)
    EXPECT_EQ(semi::activationQuestion(c.row, c.text, c.def), c.activation) << c.text;
  EXPECT_EQ(semi::stepQuestion("2N3904", "2N3904"), Question::StepParameter);
  EXPECT_EQ(semi::stepQuestion("CUSTOM", "2N3904"), Question::None);
}

TEST(TypeRule, ModelListOpensOnTheTypeThenTheLibraryTypeThenTheFirst) {
  const std::vector<std::string> types = {"DEFAULT", "1N4148", "1N914"};
  EXPECT_EQ(semi::modelListSelection(types, "1N914", "1N914"), 2);
  EXPECT_EQ(semi::modelListSelection(types, "CUSTOM", "1N4148"), 1);
  EXPECT_EQ(semi::modelListSelection(types, "CUSTOM", "GONE"), 0);
  EXPECT_EQ(semi::modelListSelection({}, "CUSTOM", "GONE"), -1);
}

TEST(TypeRule, EntriesAreCheckedByRange) {
  using semi::EntryVerdict;
  using semi::RowRange;
  struct Case {
    RowRange row;
    const char *text;
    EntryVerdict verdict;
  } cases[] = {
      {RowRange::NonNegative, "0", EntryVerdict::Accepted},
      {RowRange::Positive, "0", EntryVerdict::NotPositive},
      {RowRange::Positive, "-5", EntryVerdict::NotPositive},
      {RowRange::NonNegative, "-1E-3", EntryVerdict::Negative},
      {RowRange::Positive, " 6.81e-15", EntryVerdict::Accepted},
      {RowRange::Positive, "1k", EntryVerdict::NumberFormat},
      {RowRange::NonNegative, "7.5 ", EntryVerdict::NumberFormat},
      {RowRange::Positive, "", EntryVerdict::NumberFormat},
      {RowRange::Id, "Q?", EntryVerdict::Accepted},
      {RowRange::Id, "Q12??", EntryVerdict::Accepted},
      {RowRange::Id, "Q1?2", EntryVerdict::IdFormat},
      {RowRange::Id, "1Q", EntryVerdict::IdFormat},
      {RowRange::Id, "", EntryVerdict::IdFormat},
      {RowRange::Type, "anything", EntryVerdict::Accepted},
  };
  for (const Case &c : cases)
    EXPECT_EQ(semi::checkEntry(c.row, c.text), c.verdict) << c.text;
}

} // namespace
