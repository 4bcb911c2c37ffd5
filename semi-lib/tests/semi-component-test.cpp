// The component side of the semiconductor controls without a host: fresh
// component XML against hand-written golden files, the label and result
// texts, the layout of the result block, the error marks and the rules of
// the parameters page.
#include "semi-lib/core/component-data.h"
#include "semi-lib/core/error-marks.h"
#include "semi-lib/core/model-selection.h"
#include "semi-lib/core/model-library.h"
#include "semi-lib/core/semi-label.h"
#include "semi-lib/core/semi-templates.h"
#include "semi-lib/core/shape-layout.h"
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
    EXPECT_EQ(semi_test::renderTree(root), testing_support::readFile(testing_support::sourcePath(
                                               std::string("semi-lib/tests/golden/") + c.golden)))
        << c.golden;
    EXPECT_EQ(root.child("PARAMS")->children().size(), c.params);
    ASSERT_EQ(root.child("RESULT")->children().size(), c.results);
    for (const xml::Element *item : root.child("RESULT")->children())
      EXPECT_EQ(item->getAttribute("IEEE"), "0XFFFFFFFFFFFFFFFF");
  }
}

TEST(SemiTemplates, EachItemCarriesExactlyItsParamsAttributes) {
  for (SemiKind kind : semi::AllSemiKinds) {
    semi::ModelLibrary library;
    xml::ParseError error;
    ASSERT_TRUE(library.load(semi_test::shippedLibrary(kind), error));
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

std::string composed(const std::string &sectionXml, const std::string &partId) {
  xml::Document document;
  xml::ParseError error;
  EXPECT_TRUE(document.load(sectionXml, error)) << error.describe();
  std::string text;
  EXPECT_TRUE(semi::composeOrderedItems(*document.root(), partId, text));
  return text;
}

TEST(SemiLabel, OrderWalkComposesTheShownItems) {
  const std::string items = "<ITEM NAME=\"ID\" DEFAULT=\"Q?\" TEXTONLY=\"\" RANGE=\"ID\"/>"
                            "<ITEM NAME=\"TYPE\" TEXT=\"2N3904\" TEXTONLY=\"\" RANGE=\"TYPE\"/>"
                            "<ITEM NAME=\"Vc\" SHOWNAME=\"\" SHOWDIM=\"\" DIM=\"V\" FORMAT=\"3\" "
                            "DIGITS=\"2\" IEEE=\"0X4014000000000000\"/></P>";
  struct Case {
    const char *order;
    const char *expected;
  } cases[] = {
      {"0 1", "Q1\n2N3904"},
      {"0  1", "Q1\n\n2N3904"},
      {"1", "2N3904"},
      {"", ""},
      // An index with no item adds nothing; the walk ends at anything else.
      {"1 7 0", "2N3904\n\nQ1"},
      {"0 x 1", "Q1\n"},
      {"99999999999999999999999 1", "\n2N3904"},
      {"2", "Vc = 5.00 V"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(composed(std::string("<P ORDER=\"") + c.order + "\">" + items, "Q1"), c.expected)
        << c.order;
}

TEST(SemiLabel, FreshTransistorShowsIdentifierAndType) {
  semi::SemiComponent component = fresh(SemiKind::Npn);
  std::string text;
  ASSERT_TRUE(semi::composeOrderedItems(*component.document.root()->child("PARAMS"), "Q3", text));
  EXPECT_EQ(semi::bodyTextFormula(text), "\"Q3\nDEFAULT\"");
  // The result ORDER "4" shows Ic, with no value yet.
  ASSERT_TRUE(semi::composeOrderedItems(*component.document.root()->child("RESULT"), "Q3", text));
  EXPECT_EQ(text.rfind("Ic = ", 0), 0u) << text;
}

TEST(SemiLabel, QuotesInsideTheLabelAreDoubled) {
  EXPECT_EQ(semi::bodyTextFormula("Q1\n2N\"39\"04"), "\"Q1\n2N\"\"39\"\"04\"");
  EXPECT_EQ(semi::bodyTextFormula(""), "\"\"");
}

// A "SHOW" shape held in memory that counts what is written to it.
class FakeShow : public semi::LayoutTarget {
public:
  void ensureShow() override {
    if (!exists) {
      exists = true;
      ++writes;
    }
  }
  std::vector<std::string> readFormulas(const std::vector<semi::CellFormula> &cells) override {
    std::vector<std::string> result;
    for (const semi::CellFormula &cell : cells)
      result.push_back(cellMap[key(cell)]);
    return result;
  }
  void writeFormulas(const std::vector<semi::CellFormula> &cells) override {
    ++bulkWrites;
    bulkSize = cells.size();
    for (const semi::CellFormula &cell : cells)
      cellMap[key(cell)] = cell.formula;
  }
  std::string formula(const semi::CellFormula &cell) override { return cellMap[key(cell)]; }
  void setFormula(const semi::CellFormula &cell, const std::string &value) override {
    ++writes;
    lockHistory += key(cell) == key(semi::TextLockCell) ? value : "";
    cellMap[key(cell)] = value;
  }
  std::string text() override { return shownText; }
  void setText(const std::string &value) override {
    ++writes;
    textWrittenUnlocked = cellMap[key(semi::TextLockCell)] == "0";
    shownText = value;
  }
  int findLayer(const std::string &name) override {
    for (size_t i = 0; i < layers.size(); ++i)
      if (layers[i] == name)
        return static_cast<int>(i) + 1;
    return -1;
  }
  int addLayer(const std::string &name) override {
    ++writes;
    layers.push_back(name);
    return static_cast<int>(layers.size());
  }

  static std::string key(const semi::CellFormula &cell) {
    return std::to_string(cell.section) + "," + std::to_string(cell.row) + "," +
           std::to_string(cell.cell);
  }

  bool exists = false;
  std::map<std::string, std::string> cellMap;
  std::string shownText, lockHistory;
  std::vector<std::string> layers = {"Connectors"};
  int writes = 0, bulkWrites = 0;
  size_t bulkSize = 0;
  bool textWrittenUnlocked = false;
};

TEST(ShapeLayout, FirstLayoutWritesCellsTextAndLayerTheSecondNothing) {
  FakeShow show;
  semi::LayoutWrites first = semi::layoutShow(show, "Sheet.7", "Ic = 1.00 mA", "Simulation");
  EXPECT_TRUE(first.cells && first.text && first.layer);
  EXPECT_EQ(show.bulkWrites, 1);
  EXPECT_EQ(show.bulkSize, 23u);
  EXPECT_EQ(show.cellMap["1,12,0"], "Sheet.7!Controls.X2+LocPinX-PinX");
  EXPECT_EQ(show.cellMap["1,12,6"], "Sheet.7!Angle*IF(BODY!User.Flip,1,-1)");
  EXPECT_EQ(show.cellMap["1,2,2"], "GUARD(0)");
  EXPECT_EQ(show.cellMap["4,0,6"], "BODY!Para.HorzAlign");
  EXPECT_EQ(show.shownText, "Ic = 1.00 mA");
  EXPECT_TRUE(show.textWrittenUnlocked);
  EXPECT_EQ(show.lockHistory, "01");
  EXPECT_EQ(show.layers.back(), "Simulation");
  EXPECT_EQ(show.cellMap["1,6,0"], "\"2\"");

  const int writesBefore = show.writes;
  semi::LayoutWrites second = semi::layoutShow(show, "Sheet.7", "Ic = 1.00 mA", "Simulation");
  EXPECT_FALSE(second.cells || second.text || second.layer);
  EXPECT_EQ(show.bulkWrites, 1);
  EXPECT_EQ(show.writes, writesBefore);

  // One changed cell brings the whole bulk write back; a new result only
  // the text.
  show.cellMap["3,0,7"] = "12 pt.";
  EXPECT_TRUE(semi::layoutShow(show, "Sheet.7", "Ic = 2.00 mA", "Simulation").cells);
  EXPECT_EQ(show.bulkWrites, 2);
  EXPECT_EQ(show.shownText, "Ic = 2.00 mA");
}

TEST(ShapeLayout, TheWriteCarriesTheGuardEntryTwiceAndAnEmptyLayerIsLeftAlone) {
  std::vector<semi::CellFormula> cells = semi::showCellFormulas("Q");
  ASSERT_EQ(cells.size(), 23u);
  EXPECT_EQ(FakeShow::key(cells[0]), "1,2,2");
  EXPECT_EQ(FakeShow::key(cells[1]), "1,2,2");
  EXPECT_EQ(cells[1].formula, "GUARD(0)");
  EXPECT_EQ(cells[2].formula, "BODY!PinX");
  EXPECT_EQ(cells[22].formula, "BODY!Para.HorzAlign");

  FakeShow show;
  show.cellMap["1,6,0"] = "\"1\"";
  EXPECT_FALSE(semi::layoutShow(show, "Q", "", "").layer);
  EXPECT_EQ(show.cellMap["1,6,0"], "\"1\"");
  EXPECT_EQ(show.layers.size(), 1u);
}

class FakeCells : public semi::MarkCells {
public:
  std::string formula(const std::string &cell) override {
    auto it = cells.find(cell);
    return it == cells.end() ? "FALSE" : it->second;
  }
  void setFormula(const std::string &cell, const std::string &value) override {
    order.push_back(cell);
    cells[cell] = value;
  }
  std::map<std::string, std::string> cells;
  std::vector<std::string> order;
};

TEST(ErrorMarks, MarksAddUpAndClearTogether) {
  FakeCells cells;
  cells.cells["Connections.C.A"] = "TRUE";
  ASSERT_TRUE(semi::putErrorMark(SemiKind::Npn, "", cells));
  EXPECT_EQ(cells.order, (std::vector<std::string>{"User.Error", "Connections.C.A",
                                                   "Connections.B.A", "Connections.E.A"}));
  EXPECT_EQ(semi::getErrorMark(SemiKind::Npn, cells), "");
  ASSERT_TRUE(semi::putErrorMark(SemiKind::Npn, "B", cells));
  ASSERT_TRUE(semi::putErrorMark(SemiKind::Npn, "*", cells));
  EXPECT_EQ(semi::getErrorMark(SemiKind::Npn, cells), "*,B");
  ASSERT_TRUE(semi::putErrorMark(SemiKind::Npn, "E", cells));
  EXPECT_EQ(semi::getErrorMark(SemiKind::Npn, cells), "*,B,E");

  // A mark outside the set changes no cell.
  const std::map<std::string, std::string> before = cells.cells;
  const size_t writes = cells.order.size();
  for (const char *mark : {"X", "A", "*,B", "b", "**"})
    EXPECT_FALSE(semi::putErrorMark(SemiKind::Npn, mark, cells)) << mark;
  EXPECT_EQ(cells.cells, before);
  EXPECT_EQ(cells.order.size(), writes);
}

TEST(ErrorMarks, DiodeMarksItsAnodeAndCathode) {
  FakeCells cells;
  ASSERT_TRUE(semi::putErrorMark(SemiKind::Diode, "", cells));
  EXPECT_EQ(cells.order.size(), 3u);
  ASSERT_TRUE(semi::putErrorMark(SemiKind::Diode, "K", cells));
  EXPECT_FALSE(semi::putErrorMark(SemiKind::Diode, "C", cells));
  EXPECT_EQ(semi::getErrorMark(SemiKind::Diode, cells), "K");
  ASSERT_TRUE(semi::putErrorMark(SemiKind::Diode, "A", cells));
  EXPECT_EQ(semi::getErrorMark(SemiKind::Diode, cells), "A,K");
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
  EXPECT_STREQ(semi::questionText(Question::StepParameter),
               "You are changing the value of a SPICE parameter.\n\nThis will change the "
               "component type to \"CUSTOM\".");
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
  EXPECT_STREQ(semi::entryMessage(EntryVerdict::NotPositive),
               "Value must be positive. Please re-enter.");
  EXPECT_STREQ(semi::entryMessage(EntryVerdict::Negative),
               "Value must be non-negative. Please re-enter.");
}

// The PARAMS item's TEXT (or "-" when absent) and RESULT item's IEEE.
std::string textOf(semi::ComponentData &data, const char *section, const char *name,
                   const char *attribute) {
  for (const xml::Element *item : data.document().root()->child(section)->children()) {
    if (item->getAttribute("NAME") == name)
      return item->getAttribute(attribute).value_or("-");
  }
  return "(no item)";
}

void choose(semi::ComponentData &data, SemiKind kind, const std::string &type) {
  semi::ModelLibrary library;
  xml::ParseError error;
  ASSERT_TRUE(library.load(semi_test::shippedLibrary(kind), error));
  semi::ItemRows rows(*data.document().root()->child("PARAMS"));
  semi::applyModelChoice(semi::chooseModel(library, type), rows);
}

void writeResult(semi::ComponentData &data, const char *name, const char *ieee) {
  for (xml::Element *item : data.document().root()->child("RESULT")->children()) {
    if (item->getAttribute("NAME") == name)
      item->setAttribute("IEEE", ieee);
  }
}

TEST(ComponentData, CancelKeepsTheMergedParametersAppliedEditsAndLastResults) {
  semi::ComponentData data(fresh(SemiKind::Npn).document);
  writeResult(data, "Ic", "0X3F50624DD2F1A9FC");

  // Apply a model, then Close: the applied state stays.
  data.beginEdit();
  choose(data, SemiKind::Npn, "2N3904");
  data.commitEdit();
  data.cancelEdit();
  EXPECT_EQ(textOf(data, "PARAMS", "RB", "TEXT"), "7.5");

  // An edit that is cancelled goes; everything committed before stays.
  data.beginEdit();
  choose(data, SemiKind::Npn, "2N2222");
  EXPECT_EQ(textOf(data, "PARAMS", "RB", "TEXT"), "0");
  data.cancelEdit();
  EXPECT_EQ(data.document().root()->child("PARAMS")->children().size(), 28u);
  EXPECT_EQ(textOf(data, "PARAMS", "TYPE", "TEXT"), "2N3904");
  EXPECT_EQ(textOf(data, "PARAMS", "IS", "TEXT"), "6.81E-15");
  EXPECT_EQ(textOf(data, "RESULT", "Ic", "IEEE"), "0X3F50624DD2F1A9FC");
}

TEST(ComponentData, SavedTextReloadsWithLibraryItemsEditsAndResults) {
  semi::ComponentData data(fresh(SemiKind::Diode).document);
  choose(data, SemiKind::Diode, "1N914");
  writeResult(data, "Vdc", "0X3FE6666666666666");
  const std::string saved = data.dataStr1();

  semi::ComponentData reloaded(fresh(SemiKind::Diode).document);
  xml::ParseError error;
  ASSERT_TRUE(reloaded.putDataStr1(saved, error)) << error.describe();
  EXPECT_EQ(semi_test::renderTree(*reloaded.document().root()),
            semi_test::renderTree(*data.document().root()));
  EXPECT_EQ(textOf(reloaded, "PARAMS", "TYPE", "TEXT"), "1N914");
  EXPECT_EQ(textOf(reloaded, "PARAMS", "IS", "TEXT"), "2.67E-9");
  EXPECT_EQ(textOf(reloaded, "RESULT", "Vdc", "IEEE"), "0X3FE6666666666666");

  // Text that does not parse leaves the document as it was.
  EXPECT_FALSE(reloaded.putDataStr1("<DEVICE>", error));
  EXPECT_EQ(reloaded.dataStr1(), saved);
}

} // namespace
