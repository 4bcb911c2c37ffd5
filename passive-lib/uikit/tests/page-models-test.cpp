// The pages' edits of the component XML, on elements in memory: the
// Results page's ORDER, the Format page's moves and settings, the
// Parameters pages' steps, entries and tips.
#include "passive-lib/uikit/core/format-page-model.h"
#include "passive-lib/uikit/core/params-page-model.h"
#include "passive-lib/uikit/core/result-page-model.h"
#include "passive-lib/uikit/core/shown-order.h"
#include "passive-lib/uikit/tests/memory-element.h"

#include "passive-lib/core/value-format.h"

#include <gtest/gtest.h>

#include <string>

namespace passive_test {

namespace {

using passive::FormatSide;
using passive::ItemSetting;
using passive::ParamsFlavour;

// The resistor's sections as its control makes them.
MemorySection resistorParams() {
  return MemorySection("ORDER=0 1;VERSION=1",
                       {"NAME=ID;TIP=Component ID;DEFAULT=R?;TEXTONLY;RANGE=ID",
                        "NAME=R;TIP=Resistance;DIM=ohm;DEFAULT=1000;IEEE=" +
                            passive::ieeeText(1000) + ";RANGE=POS;FORMAT=3;DIGITS=1;SHOWDIM"});
}

MemorySection resistorResults(const std::string &order = "") {
  return MemorySection("ORDER=" + order + ";LAYER=Simulation",
                       {"NAME=I;TIP=Current;DIM=A;IEEE=" + passive::ieeeText(0.0015),
                        "NAME=V;TIP=Voltage;DIM=V;IEEE=0XZZ", "NAME=P;TIP=Power;DIM=W;TEXT=n/a",
                        "NAME=Q"});
}

TEST(ResultPageModel, CheckingRowsTwoThenZeroWritesTheirOrder) {
  MemorySection results = resistorResults();
  passive::ResultPageModel page(results.section);
  EXPECT_TRUE(page.checkChanged(2, true));
  EXPECT_EQ(results.element.get("ORDER"), "2");
  EXPECT_TRUE(page.checkChanged(0, true));
  EXPECT_EQ(results.element.get("ORDER"), "2 0");
  EXPECT_TRUE(page.checkChanged(2, false));
  EXPECT_EQ(results.element.get("ORDER"), "0");
  EXPECT_TRUE(page.checkChanged(0, false));
  EXPECT_EQ(results.element.get("ORDER"), "");
  EXPECT_FALSE(page.checkChanged(4, true)) << "no such row";
}

TEST(ResultPageModel, RowsShowTheLastValues) {
  MemorySection results = resistorResults("1");
  passive::ResultPageModel page(results.section);
  std::string milliamps;
  passive::formatValue(0.0015, 3, 3, false, milliamps);
  EXPECT_EQ(page.row(0).value, milliamps);
  EXPECT_EQ(page.row(0).unit, "A");
  EXPECT_EQ(page.row(1).value, "ERROR") << "a malformed IEEE";
  EXPECT_EQ(page.row(2).value, "n/a");
  EXPECT_EQ(page.row(3).value, "ERROR") << "no value at all";
  EXPECT_TRUE(page.shown(1));
  EXPECT_FALSE(page.shown(0));
  EXPECT_EQ(page.tip(0, 1), "Current [A]");
  EXPECT_EQ(page.tip(0, 255), "Use the check box to display item on schematic");
  EXPECT_EQ(page.tip(3, 0), "");
}

TEST(PageTips, ALongTipIsCutToFitTheReplyWithItsTerminator) {
  MemoryElement item("TIP=" + std::string(200, 'x') + ";DIM=ohm");
  const std::optional<std::string> tip = passive::cellTip(item);
  ASSERT_TRUE(tip);
  EXPECT_EQ(tip->size(), 79u);
  EXPECT_EQ(*tip, std::string(79, 'x'));
  MemoryElement none("DIM=ohm");
  EXPECT_FALSE(passive::cellTip(none));
}

TEST(FormatPageModel, AMoveWritesTheNewOrderAndLoadingWritesNothing) {
  MemorySection params("ORDER=0 1 2", {"NAME=ID;TEXTONLY;TEXT=R1",
                                       "NAME=R;IEEE=" + passive::ieeeText(1000) +
                                           ";FORMAT=3;DIGITS=2;DIM=ohm;SHOWDIM;CHS=0",
                                       "NAME=T;TEXT=27;FORMAT=0;DIGITS=1"});
  MemorySection results = resistorResults("0");
  passive::FormatPageModel page(params.section, results.section, "R1");
  EXPECT_EQ(page.rowText(FormatSide::Params, 0), "R1");

  for (int row = 0; row < 3; ++row)
    ASSERT_TRUE(page.load(FormatSide::Params, row));
  ASSERT_TRUE(page.load(FormatSide::Results, 0));
  for (const MemoryElement &item : params.items)
    EXPECT_EQ(item.writes, 0) << "loading an item writes nothing";
  EXPECT_EQ(params.element.writes, 0);

  const std::string first = page.rowText(FormatSide::Params, 0);
  const std::string second = page.rowText(FormatSide::Params, 1);
  EXPECT_EQ(page.move(FormatSide::Params, 1, 1), std::optional<int>(0));
  EXPECT_EQ(params.element.get("ORDER"), "1 0 2");
  EXPECT_EQ(page.rowText(FormatSide::Params, 0), second);
  EXPECT_EQ(page.rowText(FormatSide::Params, 1), first);
  EXPECT_EQ(page.move(FormatSide::Params, 0, 1), std::nullopt);
  EXPECT_EQ(page.move(FormatSide::Params, 2, -1), std::nullopt);
  EXPECT_EQ(params.element.get("ORDER"), "1 0 2");
}

TEST(FormatPageModel, SettingsLoadAndWriteBack) {
  MemorySection params = resistorParams();
  MemorySection results = resistorResults("0");
  passive::FormatPageModel page(params.section, results.section, "R1");
  const auto id = page.load(FormatSide::Params, 0);
  ASSERT_TRUE(id);
  EXPECT_FALSE(id->numeric) << "the identifier is text";
  EXPECT_FALSE(id->showUnitsEnabled);
  const auto value = page.load(FormatSide::Params, 1);
  ASSERT_TRUE(value);
  EXPECT_TRUE(value->numeric);
  EXPECT_EQ(value->format, std::optional<int>(3));
  EXPECT_EQ(value->digits, std::optional<int>(1));
  EXPECT_FALSE(value->changeSignEnabled);
  EXPECT_TRUE(value->showUnitsEnabled);
  EXPECT_TRUE(value->showUnitsChecked);
  EXPECT_FALSE(value->showNameChecked);

  const std::string before = page.rowText(FormatSide::Params, 1);
  const auto named = page.change(FormatSide::Params, 1, ItemSetting::ShowName, 1);
  ASSERT_TRUE(named);
  EXPECT_EQ(params.items[1].get("SHOWNAME"), "");
  EXPECT_EQ(*named, "R = " + before);
  page.change(FormatSide::Params, 1, ItemSetting::ShowName, 0);
  EXPECT_FALSE(params.items[1].has("SHOWNAME"));
  page.change(FormatSide::Params, 1, ItemSetting::Format, 1);
  EXPECT_EQ(params.items[1].get("FORMAT"), "1");
  page.change(FormatSide::Params, 1, ItemSetting::Digits, 4);
  EXPECT_EQ(params.items[1].get("DIGITS"), "4");
  page.change(FormatSide::Params, 1, ItemSetting::ChangeSign, 1);
  EXPECT_EQ(params.items[1].get("CHS"), "1");
  page.change(FormatSide::Params, 1, ItemSetting::ShowUnits, 0);
  EXPECT_FALSE(params.items[1].has("SHOWDIM"));
  EXPECT_FALSE(page.change(FormatSide::Params, 5, ItemSetting::Format, 1));

  EXPECT_TRUE(page.layerOn());
  page.setLayer(false);
  EXPECT_FALSE(results.element.has("LAYER"));
  page.setLayer(true);
  EXPECT_EQ(results.element.get("LAYER"), "Simulation");
}

TEST(ParamsPageModel, AStepWithStd20On1000WritesTextFor1500AndRemovesIeee) {
  MemorySection params = resistorParams();
  passive::ParamsPageModel page(params.section, ParamsFlavour::Passive);
  const auto text = page.step(1, 0, 1);
  ASSERT_TRUE(text);
  std::string expected;
  passive::formatValue(1500, 2, 1, false, expected);
  EXPECT_EQ(*text, expected);
  EXPECT_EQ(params.items[1].get("TEXT"), expected);
  EXPECT_FALSE(params.items[1].has("IEEE"));
  EXPECT_EQ(params.items[1].get("ROUND"), "0");
  EXPECT_EQ(params.items[1].get("DIGITS"), "1");
  EXPECT_EQ(page.row(1).value, expected);
  // The next step down goes from 1500 to 1000.
  const auto back = page.step(1, 0, -1);
  ASSERT_TRUE(back);
  EXPECT_EQ(passive::leadingNumber(*back), 1000.0);
  // "std. 1%" raises DIGITS 1 to 2.
  page.step(1, 3, 1);
  EXPECT_EQ(params.items[1].get("DIGITS"), "2");
  EXPECT_EQ(passive::leadingNumber(*params.items[1].get("TEXT")), 1050.0);
}

TEST(ParamsPageModel, TextRowsAndNoSeriesStepNothing) {
  MemorySection params = resistorParams();
  passive::ParamsPageModel page(params.section, ParamsFlavour::Passive);
  EXPECT_FALSE(page.step(0, 2, 1)) << "the identifier";
  EXPECT_FALSE(page.step(1, -1, 1)) << "no combo selection";
  EXPECT_FALSE(page.step(-1, 2, 1)) << "no row";
  EXPECT_EQ(params.items[0].writes + params.items[1].writes, 0);
  EXPECT_EQ(page.refreshAdjust(1, -1).kind, passive::AdjustTip::TipsOff);
  EXPECT_EQ(page.refreshAdjust(0, 2).kind, passive::AdjustTip::Unchanged);
  const passive::AdjustTip tip = page.refreshAdjust(1, 0);
  EXPECT_EQ(tip.kind, passive::AdjustTip::Text);
  EXPECT_EQ(tip.text, "Adjust +50.00% (up) or -32.00% (down)");
  EXPECT_EQ(params.items[1].get("ROUND"), "0");
}

TEST(ParamsPageModel, RefusedEntriesAndCancelledEditsChangeNothing) {
  MemorySection params = resistorParams();
  passive::ParamsPageModel page(params.section, ParamsFlavour::Passive);
  struct Case {
    int row;
    const char *text;
    const char *message;
  };
  const Case refused[] = {
      {0, "1R", "Component ID format error. Please re-enter."},
      {0, "R?1", "Component ID format error. Please re-enter."},
      {1, "1k", "Number format error. Please re-enter."},
      {1, "0", "Value must be positive. Please re-enter."},
      {1, "-5", "Value must be positive. Please re-enter."},
  };
  for (const Case &c : refused) {
    const passive::EntryOutcome outcome = page.endEdit(c.row, c.text);
    EXPECT_EQ(outcome.kind, passive::EntryOutcome::Refused) << c.text;
    EXPECT_EQ(outcome.message, c.message);
  }
  EXPECT_EQ(page.endEdit(1, nullptr).kind, passive::EntryOutcome::Cancelled);
  EXPECT_EQ(params.items[0].writes + params.items[1].writes, 0);

  EXPECT_EQ(page.endEdit(0, "R12").kind, passive::EntryOutcome::Accepted);
  EXPECT_EQ(params.items[0].get("TEXT"), "R12");
  EXPECT_EQ(page.endEdit(1, "2200").kind, passive::EntryOutcome::Accepted);
  EXPECT_EQ(params.items[1].get("TEXT"), "2200");
  EXPECT_FALSE(params.items[1].has("IEEE"));
}

TEST(ParamsPageModel, SelectionAndCheckBoxes) {
  MemorySection params = resistorParams();
  params.items[1].setAttribute("SELECT", "");
  params.items[1].setAttribute("ROUND", "4");
  passive::ParamsPageModel page(params.section, ParamsFlavour::Passive);
  EXPECT_EQ(page.selectedAtStart(), 1);
  EXPECT_EQ(page.round(1), std::optional<int>(4));
  EXPECT_FALSE(page.numeric(0));
  page.selectionChanged(1, false);
  page.selectionChanged(0, true);
  EXPECT_FALSE(params.items[1].has("SELECT"));
  EXPECT_EQ(params.items[0].get("SELECT"), "");
  page.checkChanged(0, false);
  EXPECT_EQ(params.element.get("ORDER"), "1"); // unticking item 0 of "0 1"
  page.checkChanged(0, true);
  EXPECT_EQ(params.element.get("ORDER"), "1 0");
  EXPECT_EQ(page.row(1).value.substr(0, 4), "1.00") << "Engineering, 3 digits";
}

TEST(ParamsPageModel, TheSourcePageChecksEveryNumberAndStepsDigits) {
  MemorySection source("ORDER=0 1",
                       {"NAME=ID;DEFAULT=V?;TEXTONLY;RANGE=ID", "NAME=Vdc;DIM=V;TEXT=0;DIGITS=1"});
  passive::ParamsPageModel page(source.section, ParamsFlavour::Source);
  EXPECT_EQ(page.endEdit(1, "4.7k").message, "Number format error. Please re-enter.");
  EXPECT_EQ(page.endEdit(0, "V1?2").message, "Component ID format error. Please re-enter.");
  EXPECT_EQ(page.endEdit(0, "Vout??").kind, passive::EntryOutcome::Accepted);
  EXPECT_EQ(page.refreshAdjust(1, 0).text, "Adjust up/down") << "a value of 0";
  const auto up = page.step(1, 0, 1);
  ASSERT_TRUE(up);
  EXPECT_EQ(passive::leadingNumber(*up), 0.1);
  EXPECT_EQ(page.endEdit(1, "-4700").kind, passive::EntryOutcome::Accepted);
  const auto towardsPlus = page.step(1, 0, 1);
  ASSERT_TRUE(towardsPlus);
  EXPECT_EQ(passive::leadingNumber(*towardsPlus), -4600.0);
  page.step(1, 2, -1);
  EXPECT_EQ(source.items[1].get("DIGITS"), "3") << "the 4th digit raises DIGITS 1 to 3";
  EXPECT_EQ(page.row(0).value, "Vout??");
  MemorySection empty("", {"NAME=X;IEEE=bad"});
  EXPECT_EQ(passive::ParamsPageModel(empty.section, ParamsFlavour::Source).row(0).value, "");
}

} // namespace
} // namespace passive_test
