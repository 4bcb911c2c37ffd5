// The model libraries QorLib02 ships and the test library that holds every
// feature of their format: the text as stored, the sections, and model
// selection through COPY chains, repeated and unknown attributes.
#include "semi-lib/core/model-library.h"
#include "semi-lib/core/model-selection.h"
#include "semi-lib/core/semi-templates.h"
#include "semi-lib/tests/check-circuits.h"
#include "semi-lib/tests/library-files.h"
#include "testing/fuzz-driver.h"
#include "testing/growth-check.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using semi::ModelLookup;
using semi::NamedValue;
using semi::SemiKind;
using semi_test::loaded;

// The PARAMS items of a fresh component of that kind after a model choice.
std::map<std::string, std::string> chosen(SemiKind kind, const std::string &libraryText,
                                          const std::string &type,
                                          std::vector<std::string> *skipped = nullptr) {
  semi::SemiComponent component = semi::buildComponent(kind, "1", "2", libraryText);
  semi::ModelLibrary library = loaded(libraryText);
  semi::ItemRows rows(*component.document.root()->child("PARAMS"));
  std::vector<std::string> names = semi::applyModelChoice(semi::chooseModel(library, type), rows);
  if (skipped)
    *skipped = names;
  std::map<std::string, std::string> values;
  for (const xml::Element *item : component.document.root()->child("PARAMS")->children()) {
    values[item->getAttribute("NAME").value_or("")] = item->getAttribute("TEXT").value_or("");
    // A chosen model's values replace any stored number.
    EXPECT_FALSE(item->getAttribute("IEEE"));
  }
  return values;
}

TEST(ModelLibraryText, ShippedLibrariesAreCrLfTabIndentedWithoutDeclarationOrFinalBreak) {
  for (SemiKind kind : semi::AllSemiKinds) {
    const std::string text = semi_test::shippedLibrary(kind);
    ASSERT_FALSE(text.empty()) << semi_test::shippedLibraryPath(kind);
    EXPECT_EQ(text.rfind("<LIBRARY>\r\n\t<PARAMS VERSION=\"1.0\">\r\n\t\t<PARAM ", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 12), "\r\n</LIBRARY>");
    EXPECT_EQ(text.find("<?xml"), std::string::npos);
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
      ASSERT_EQ(text[at - 1], '\r') << "bare line feed at byte " << at;
    for (unsigned char c : text)
      ASSERT_TRUE(c == '\r' || c == '\n' || c == '\t' || (c >= 0x20 && c < 0x7F));
    // One comment stands before the closing tag.
    EXPECT_NE(text.find("\t</MODELS>\r\n\t<!--"), std::string::npos);
  }
}

TEST(ModelLibraryText, ShippedModelsAreExactlyTheKnownRows) {
  struct Case {
    SemiKind kind;
    size_t params;
    std::vector<std::string> types;
  } cases[] = {
      {SemiKind::Diode, 11, {"DEFAULT", "1N4148", "1N914", "1N914A"}},
      {SemiKind::Npn, 28, {"DEFAULT", "2N3904"}},
      {SemiKind::Pnp, 28, {"DEFAULT", "2N3906"}},
  };
  for (const Case &c : cases) {
    semi::ModelLibrary library = loaded(semi_test::shippedLibrary(c.kind));
    EXPECT_EQ(library.root()->tagName(), "LIBRARY");
    ASSERT_EQ(library.root()->children().size(), 2u);
    EXPECT_EQ(library.root()->children()[0]->tagName(), "PARAMS");
    EXPECT_EQ(library.root()->children()[1]->tagName(), "MODELS");
    EXPECT_EQ(library.root()->child("MODELS")->getAttribute("VERSION"), "1.0");
    EXPECT_EQ(library.params().size(), c.params);
    EXPECT_EQ(library.modelTypes(), c.types);
    // DEFAULT comes first and carries nothing else.
    EXPECT_EQ(library.models()[0]->attributes().size(), 1u);
  }
  // The two transistor libraries share one PARAMS section.
  const std::string npn = semi_test::shippedLibrary(SemiKind::Npn);
  const std::string pnp = semi_test::shippedLibrary(SemiKind::Pnp);
  EXPECT_EQ(npn.substr(0, npn.find("</PARAMS>")), pnp.substr(0, pnp.find("</PARAMS>")));
}

TEST(ModelLibraryText, TheNpnRowKeepsBothBaseResistances) {
  semi::ModelLibrary library = loaded(semi_test::shippedLibrary(SemiKind::Npn));
  std::vector<std::string> rb;
  for (const NamedValue &attribute : semi::attributesOf(*library.findModel("2N3904"))) {
    if (attribute.name == "RB")
      rb.push_back(attribute.value);
  }
  EXPECT_EQ(rb, (std::vector<std::string>{"0.75", "7.5"}));
}

// What a component of that kind holds after choosing type from the shipped
// library is the model the device tests and the cross-check circuits solve
// with: every item but ID as those items read (TEXT, else DEFAULT), TYPE the
// type chosen, ID untouched. COPY entries give the copied values; a type no
// MODEL has keeps every default.
TEST(ModelSelection, ShippedRowsGiveTheModelsTheCircuitsSolveWith) {
  using namespace semi_test;
  struct Case {
    SemiKind kind;
    const char *type;
    std::vector<semi::ParamItem> items;
  } cases[] = {
      {SemiKind::Npn, "2N3904", npn2N3904()},         {SemiKind::Pnp, "2N3906", pnp2N3906()},
      {SemiKind::Diode, "1N4148", diode1N4148()},     {SemiKind::Diode, "1N914", diode1N4148()},
      {SemiKind::Diode, "1N914A", diode1N4148()},     {SemiKind::Npn, "2N2222", transistorParams()},
      {SemiKind::Npn, "DEFAULT", transistorParams()}, {SemiKind::Diode, "DEFAULT", diodeParams()},
  };
  for (const Case &c : cases) {
    std::map<std::string, std::string> expected;
    for (const semi::ParamItem &item : c.items)
      expected[item.name] = item.hasText ? item.text : item.defaultText;
    expected["TYPE"] = c.type;
    expected["ID"] = "";
    EXPECT_EQ(chosen(c.kind, shippedLibrary(c.kind), c.type), expected) << c.type;
  }
}

TEST(ModelSelection, TestLibraryCoversEveryFeature) {
  const std::string text = semi_test::testLibrary();
  ASSERT_NE(text.find("\r\n\t\t<MODEL"), std::string::npos);
  semi::ModelLibrary library = loaded(text);
  struct Case {
    const char *type;
    ModelLookup lookup;
    std::vector<std::string> searched;
    std::map<std::string, std::string> expected;
  } cases[] = {
      {"BASE", ModelLookup::Found, {"BASE"}, {{"IS", "2E-12"}, {"N", "1.5"}, {"RS", "0.25"}}},
      // Three COPY links back to BASE.
      {"LINK3",
       ModelLookup::Found,
       {"LINK3", "LINK2", "LINK1", "BASE"},
       {{"TYPE", "LINK3"}, {"IS", "2E-12"}, {"N", "1.5"}, {"RS", "0.25"}}},
      // A COPY of a MODEL further down the file.
      {"AHEAD",
       ModelLookup::Found,
       {"AHEAD", "LATER"},
       {{"TYPE", "AHEAD"}, {"IS", "5E-16"}, {"N", "1.3"}, {"RS", "7"}}},
      // RS given twice: the later wins.
      {"TWICE", ModelLookup::Found, {"TWICE"}, {{"IS", "3E-15"}, {"N", "1.1"}, {"RS", "2.5"}}},
      // KF is no PARAM: skipped, the rest applied.
      {"STRANGE", ModelLookup::Found, {"STRANGE"}, {{"IS", "4E-15"}, {"N", "1.2"}, {"RS", "0"}}},
      // Cycles stop at the repeated name and keep the defaults.
      {"LOOPA",
       ModelLookup::CopyCycle,
       {"LOOPA", "LOOPB", "LOOPC"},
       {{"TYPE", "LOOPA"}, {"IS", "1E-14"}, {"N", "1"}, {"RS", "0"}}},
      {"SELF", ModelLookup::CopyCycle, {"SELF"}, {{"TYPE", "SELF"}, {"IS", "1E-14"}}},
      // A COPY of nothing, and a type of nothing, keep the defaults.
      {"NOWHERE", ModelLookup::NotFound, {"NOWHERE", "ABSENT"}, {{"IS", "1E-14"}, {"RS", "0"}}},
      {"UNKNOWN", ModelLookup::NotFound, {"UNKNOWN"}, {{"TYPE", "UNKNOWN"}, {"IS", "1E-14"}}},
  };
  for (const Case &c : cases) {
    semi::ModelChoice choice = semi::chooseModel(library, c.type);
    EXPECT_EQ(choice.lookup, c.lookup) << c.type;
    EXPECT_EQ(choice.searched, c.searched) << c.type;
    std::vector<std::string> skipped;
    std::map<std::string, std::string> values = chosen(SemiKind::Diode, text, c.type, &skipped);
    for (const auto &[name, value] : c.expected)
      EXPECT_EQ(values[name], value) << c.type << " " << name;
    EXPECT_EQ(values["TYPE"], c.type);
    EXPECT_EQ(skipped, std::string(c.type) == "STRANGE" ? std::vector<std::string>{"KF"}
                                                        : std::vector<std::string>{})
        << c.type;
  }
}

// Large libraries stay fast: one MODEL with very many attributes is read
// and chosen, and a long chain of COPY references is followed, each in
// about linear time.
TEST(ModelSelection, LargeModelsAndLongCopyChainsTakeLinearTime) {
  const std::string params = "<LIBRARY><PARAMS><PARAM NAME=\"TYPE\" DEFAULT=\"X\"/>"
                             "<PARAM NAME=\"IS\" DEFAULT=\"1E-14\"/></PARAMS><MODELS>";
  auto wideModel = [&](int attributes) {
    std::string text = params + "<MODEL TYPE=\"WIDE\"";
    for (int i = 0; i < attributes; ++i)
      text += " P" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    return text + " IS=\"2E-15\"/></MODELS></LIBRARY>";
  };
  auto readAndChoose = [](const std::string &text) {
    semi::ModelLibrary library = loaded(text);
    semi::ModelChoice choice = semi::chooseModel(library, "WIDE");
    ASSERT_EQ(choice.lookup, ModelLookup::Found);
    EXPECT_EQ(choice.values.back(), (NamedValue{"IS", "2E-15"}));
  };
  EXPECT_LT(testing_support::growthFrom(2000, wideModel, readAndChoose),
            testing_support::MostLinearGrowth);

  // M0 copies M1, M1 copies M2, ...; the last one holds the values.
  auto chain = [&](int models) {
    std::string text = params;
    for (int i = 0; i + 1 < models; ++i)
      text +=
          "<MODEL TYPE=\"M" + std::to_string(i) + "\" COPY=\"M" + std::to_string(i + 1) + "\"/>";
    text += "<MODEL TYPE=\"M" + std::to_string(models - 1) + "\" IS=\"3E-15\"/></MODELS></LIBRARY>";
    return loaded(text);
  };
  auto follow = [](const semi::ModelLibrary &library) {
    semi::ModelChoice choice = semi::chooseModel(library, "M0");
    ASSERT_EQ(choice.lookup, ModelLookup::Found);
    EXPECT_EQ(choice.values.back(), (NamedValue{"IS", "3E-15"}));
  };
  EXPECT_LT(testing_support::growthFrom(1000, chain, follow), testing_support::MostLinearGrowth);
}

TEST(ModelSelection, ResetSetsDefaultAndTextAndDropsStoredNumbers) {
  const std::string text = semi_test::shippedLibrary(SemiKind::Diode);
  semi::SemiComponent component = semi::buildComponent(SemiKind::Diode, "1", "2", text);
  xml::Element &params = *component.document.root()->child("PARAMS");
  semi::ItemRows rows(params);
  rows.find("IS")->setAttribute("IEEE", "0X3FF0000000000000");
  rows.find("TYPE")->setAttribute("TEXT", "CUSTOM");
  semi::applyModelChoice(semi::chooseModel(loaded(text), "1N914"), rows);
  // The TYPE row's DEFAULT records the type taken from the library.
  EXPECT_EQ(rows.find("TYPE")->getAttribute("DEFAULT"), "1N914");
  EXPECT_EQ(rows.find("TYPE")->getAttribute("TEXT"), "1N914");
  EXPECT_EQ(rows.find("IS")->getAttribute("DEFAULT"), "1E-14");
  EXPECT_EQ(rows.find("IS")->getAttribute("TEXT"), "2.67E-9");
  EXPECT_FALSE(rows.find("IS")->getAttribute("IEEE"));
  EXPECT_EQ(rows.find("ID")->getAttribute("DEFAULT"), "D?");
  EXPECT_FALSE(rows.find("ID")->getAttribute("TEXT"));
}

TEST(ModelLibraryFuzz, DamagedLibrariesLoadOrFailAndEveryLookupEnds) {
  std::vector<testing_support::Bytes> seeds;
  for (const std::string &text :
       {semi_test::testLibrary(), semi_test::shippedLibrary(SemiKind::Diode),
        semi_test::shippedLibrary(SemiKind::Npn)})
    seeds.emplace_back(text.begin(), text.end());
  unsigned loadedCount = 0;
  testing_support::fuzz(seeds,
                        [&](const testing_support::Bytes &input) {
                          const std::string text(input.begin(), input.end());
                          semi::ModelLibrary library;
                          xml::ParseError error;
                          if (!library.load(text, error))
                            return;
                          ++loadedCount;
                          const std::vector<std::string> types = library.modelTypes();
                          for (const std::string &type : types) {
                            semi::ModelChoice choice = semi::chooseModel(library, type);
                            ASSERT_LE(choice.searched.size(), types.size() + 1);
                          }
                          semi::SemiComponent component =
                              semi::buildComponent(SemiKind::Npn, "1", "2", text);
                          ASSERT_TRUE(component.libraryParsed);
                        },
                        {3000, 3.0, 20261209});
  EXPECT_GT(loadedCount, 10u);
}

} // namespace
