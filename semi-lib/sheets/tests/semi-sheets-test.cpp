// The diode and NPN sheets under Wine, driven by the messages their list,
// in-place list and spin send the parameters page, inside the sheet's own
// modal loop; every question is answered by the test.
#include "semi-sheet-fixture.h"

#include "semi-lib/sheets/semi-sheets.h"

#include "testing/test-paths.h"
#include "testing/window-shot.h"

#include <memory>
#include <utility>

namespace {

using namespace semi_sheet_test;
using semi_test::testLibrary;
using testing_support::ModalScript;

const char *const EditQuestion = "You are about to edit a SPICE parameter.\n\n"
                                 "This will change the component type to \"CUSTOM\".";
const char *const StepQuestion = "You are changing the value of a SPICE parameter.\n\n"
                                 "This will change the component type to \"CUSTOM\".";
const char *const ModelQuestion = "You are about to select a model from the library.\n\n"
                                  "This will reset SPICE parameters to their library values.";
const UINT QuestionType = MB_OKCANCEL | MB_ICONEXCLAMATION;
const int ApplyButton = 0x3021;

std::unique_ptr<uikit::ComponentSheet> sheetOf(semi::SemiKind kind, TestOwner &owner) {
  const char *caption =
      kind == semi::SemiKind::Diode ? "Diode Properties" : "NPN Transistor Properties";
  return semi::makeSemiSheet(kind, caption, owner, nullptr, 0);
}

HWND pageOf(uikit::ComponentSheet &sheet) { return sheet.parametersPage()->handle(); }

// Runs the sheet in the owner's ShowProperties frame, the steps taken once
// its parameters page shows; the sheet is cancelled should they stall.
struct SheetRun {
  INT_PTR result;
  bool finished; // every step taken
};
SheetRun runSheet(TestOwner &owner, uikit::ComponentSheet &sheet,
                  std::vector<ModalScript::Step> steps) {
  steps.insert(steps.begin(), [&sheet] {
    HWND page = sheet.parametersPage()->handle();
    return page && IsWindowVisible(page);
  });
  ModalScript script(std::move(steps), cancelSheet(sheet));
  const INT_PTR result = owner.showProperties([&] { return sheet.run(); });
  return {result, script.finished()};
}

// The sheet painted afresh, every child with it.
void repaint(uikit::ComponentSheet &sheet) {
  RedrawWindow(sheet.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// A step that saves the whole screen as name in the test's scratch folder.
ModalScript::Step screenShot(const char *name, bool &saved) {
  return [name, &saved] {
    saved = test_windows::saveScreenShot(testing_support::scratchPath(name));
    return true;
  };
}

// A click on the sheet's button (IDOK, IDCANCEL, ApplyButton).
ModalScript::Step press(uikit::ComponentSheet &sheet, int button) {
  return [&sheet, button] {
    PostMessageA(GetDlgItem(sheet.handle(), button), BM_CLICK, 0, 0);
    return true;
  };
}

// Picks entry in the open in-place list as a click would: the choice ends
// the list, which reports its text to the page.
bool choose(HWND page, const std::string &entry) {
  HWND combo = GetDlgItem(GetDlgItem(page, IDC_PARAMS_LIST), 200);
  if (!combo)
    return false;
  const LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(entry.c_str()));
  if (index == CB_ERR)
    return false;
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(200, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(combo));
  return true;
}

// A model chosen in the in-place list of each kind's sheet and OK: the
// NPN's list from the module's resources, the diode's and the PNP's from
// their owners; the diode's 1N914A a COPY of a COPY. A fresh component asks
// nothing before the list, which opens on the current type; the chosen
// model's values show and are written with the type as chosen (DEFAULT
// too), a parameter the model lacks keeps its default, DEFAULT holds the
// library's value, IEEE goes and the identifier is not touched. A refused
// entry's box carries the component's name.
TEST_F(SemiSheets, AModelChosenInTheInPlaceListAndOkWritesTheMergedParameters) {
  struct Case {
    semi::SemiKind kind;
    bool fromResources;
    const char *type, *caption, *isDefault;
    std::vector<std::string> entries;
    std::vector<std::pair<const char *, double>> values;
  };
  const Case cases[] = {
      {semi::SemiKind::Npn,
       true,
       "2N3904",
       "NPN Transistor",
       "1E-16",
       {"DEFAULT", "2N3904"},
       // The later of the two RB values wins.
       {{"IS", 6.81e-15}, {"RB", 7.5}, {"BF", 412}, {"IKF", 66.5e-3}, {"NF", 1}}},
      {semi::SemiKind::Diode,
       false,
       "1N914A",
       "Diode",
       "1E-14",
       {"DEFAULT", "1N4148", "1N914", "1N914A"},
       {{"IS", 2.67e-9}, {"N", 1.82}, {"RS", 562e-3}}},
      {semi::SemiKind::Diode,
       false,
       "1N914",
       "Diode",
       "1E-14",
       {"DEFAULT", "1N4148", "1N914", "1N914A"},
       {{"IS", 2.67e-9}, {"N", 1.82}, {"RS", 562e-3}}},
      {semi::SemiKind::Pnp,
       false,
       "2N3906",
       "PNP Transistor",
       "1E-16",
       {"DEFAULT", "2N3906"},
       {{"IS", 1.40e-15}, {"BF", 182}, {"RB", 7.5}, {"NF", 1}}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.type);
    std::unique_ptr<TestOwner> owner = c.fromResources ? std::make_unique<TestOwner>(c.kind)
                                                       : std::make_unique<LibraryOwner>(c.kind);
    auto sheet = sheetOf(c.kind, *owner);
    std::vector<std::string> tabs, entries, cells;
    std::string comboClass, typeCell;
    int openedOn = -1;
    std::size_t boxesBefore = 0;
    const SheetRun run =
        runSheet(*owner, *sheet,
                 {[&] {
                    tabs = uikit_test::tabTexts(sheet->handle());
                    HWND page = pageOf(*sheet);
                    activateRow(page, rowOf(page, "TYPE"));
                    HWND combo = editor(page);
                    comboClass = className(combo);
                    entries = comboEntries(combo);
                    openedOn = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
                    return choose(page, c.type);
                  },
                  onPage(*sheet,
                         [&](HWND page) {
                           typeCell = cell(page, rowOf(page, "TYPE"), 1);
                           for (const auto &value : c.values)
                             cells.push_back(cell(page, rowOf(page, value.first), 1));
                           boxesBefore = boxes.size();
                           endEdit(page, rowOf(page, "IS"), "0"); // refused, boxed
                         }),
                  press(*sheet, IDOK)});
    EXPECT_EQ(run.result, IDOK);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(tabs, (std::vector<std::string>{"Parameters", "Results", "Format"}));
    EXPECT_EQ(boxesBefore, 0u);
    EXPECT_EQ(comboClass, "ComboBox");
    EXPECT_EQ(entries, c.entries);
    EXPECT_EQ(openedOn, 0);
    EXPECT_EQ(typeCell, c.type);
    EXPECT_EQ(owner->param("TYPE", "TEXT"), c.type);
    EXPECT_EQ(owner->param("TYPE", "DEFAULT"), c.type);
    ASSERT_EQ(cells.size(), c.values.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
      EXPECT_DOUBLE_EQ(std::atof(cells[i].c_str()), c.values[i].second) << c.values[i].first;
      EXPECT_DOUBLE_EQ(owner->deviceValue(c.values[i].first), c.values[i].second)
          << c.values[i].first;
    }
    EXPECT_EQ(owner->param("IS", "DEFAULT"), c.isDefault);
    EXPECT_EQ(owner->param("IS", "IEEE"), "(absent)");
    EXPECT_EQ(owner->param("ID", "TEXT"), "(absent)");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, c.caption);
    boxes.clear();
  }
}

// The first edit or step of a SPICE parameter asks once and makes the type
// "CUSTOM"; a refused question changes nothing.
TEST_F(SemiSheets, EditingOrSteppingAParameterAsksOnceAndSetsCustom) {
  struct Case {
    const char *what;
    bool step;  // spin, else in-place edit
    int answer; // to the question
    const char *question;
    const char *typeAfter;
  };
  const Case cases[] = {
      {"edit", false, IDOK, EditQuestion, "CUSTOM"},
      {"step", true, IDOK, StepQuestion, "CUSTOM"},
      {"edit refused", false, IDCANCEL, EditQuestion, "DEFAULT"},
      {"step refused", true, IDCANCEL, StepQuestion, "DEFAULT"},
  };
  for (const Case &c : cases) {
    boxes.clear();
    answer = c.answer;
    TestOwner owner(semi::SemiKind::Npn);
    auto sheet = sheetOf(semi::SemiKind::Npn, owner);
    std::string typeCell, isBefore, isAfter;
    bool editorOpened = false;
    std::size_t boxesAfterFirst = 0;
    auto act = [&](HWND page) {
      const int row = rowOf(page, "IS");
      if (c.step) {
        selectRow(page, row);
        spin(page, IDC_PARAMS_SPIN, 1);
      } else {
        activateRow(page, row);
      }
    };
    const SheetRun run =
        runSheet(owner, *sheet,
                 {onPage(*sheet,
                         [&](HWND page) {
                           isBefore = cell(page, rowOf(page, "IS"), 1);
                           act(page);
                           boxesAfterFirst = boxes.size();
                           editorOpened = editor(page) != nullptr;
                           typeCell = cell(page, rowOf(page, "TYPE"), 1);
                           if (HWND open = editor(page)) {
                             SetWindowTextA(open, "2E-15");
                             PostMessageA(open, WM_KEYDOWN, VK_RETURN, 0);
                           }
                         }),
                  onPage(*sheet,
                         [&](HWND page) {
                           act(page); // the second time asks nothing more once custom
                           if (HWND open = editor(page))
                             PostMessageA(open, WM_KEYDOWN, VK_ESCAPE, 0);
                         }),
                  onPage(*sheet, [&](HWND page) { isAfter = cell(page, rowOf(page, "IS"), 1); }),
                  press(*sheet, IDOK)});
    ASSERT_TRUE(run.finished) << c.what;
    ASSERT_GE(boxes.size(), 1u) << c.what;
    EXPECT_EQ(boxesAfterFirst, 1u) << c.what;
    EXPECT_EQ(boxes[0].text, c.question) << c.what;
    EXPECT_EQ(boxes[0].caption, "NPN Transistor") << c.what;
    EXPECT_EQ(boxes[0].type, QuestionType) << c.what;
    EXPECT_EQ(typeCell, c.typeAfter) << c.what;
    EXPECT_EQ(owner.param("TYPE", "TEXT"), c.typeAfter) << c.what;
    EXPECT_EQ(owner.param("TYPE", "DEFAULT"), "DEFAULT") << c.what;
    if (c.answer == IDOK) {
      EXPECT_EQ(boxes.size(), 1u) << c.what << ": asked once";
      EXPECT_EQ(editorOpened, !c.step) << c.what;
      EXPECT_NE(isAfter, isBefore) << c.what;
      const double value = owner.deviceValue("IS");
      if (c.step)
        EXPECT_DOUBLE_EQ(value, 1.2e-16) << c.what << ": 1E-16 twice up at the 2nd digit";
      else
        EXPECT_DOUBLE_EQ(value, 2e-15) << c.what;
    } else {
      EXPECT_EQ(boxes.size(), 2u) << c.what << ": asked each time, refused each time";
      EXPECT_FALSE(editorOpened) << c.what;
      EXPECT_EQ(isAfter, isBefore) << c.what;
      EXPECT_EQ(owner.param("IS", "TEXT"), "(absent)") << c.what;
    }
  }
}

// With the type "CUSTOM" the model list asks first; Cancel keeps the list
// shut, OK opens it, and a model chosen makes the next step ask again.
TEST_F(SemiSheets, WithCustomTheModelListAsksFirst) {
  TestOwner owner(semi::SemiKind::Npn);
  auto sheet = sheetOf(semi::SemiKind::Npn, owner);
  bool openedAfterCancel = true;
  int openedOn = -1;
  std::vector<std::string> questions;
  const SheetRun run =
      runSheet(owner, *sheet,
               {[&] {
                  HWND page = pageOf(*sheet);
                  selectRow(page, rowOf(page, "BF"));
                  spin(page, IDC_PARAMS_SPIN, 1); // asks, then CUSTOM
                  answer = IDCANCEL;
                  activateRow(page, rowOf(page, "TYPE"));
                  openedAfterCancel = editor(page) != nullptr;
                  answer = IDOK;
                  activateRow(page, rowOf(page, "TYPE"));
                  openedOn = static_cast<int>(SendMessageA(editor(page), CB_GETCURSEL, 0, 0));
                  return choose(page, "2N3904");
                },
                onPage(*sheet,
                       [&](HWND page) {
                         selectRow(page, rowOf(page, "BF"));
                         spin(page, IDC_PARAMS_SPIN, 1); // a library model again: asks again
                       }),
                press(*sheet, IDOK)});
  ASSERT_TRUE(run.finished);
  for (const Box &box : boxes)
    questions.push_back(box.text);
  EXPECT_EQ(questions,
            (std::vector<std::string>{StepQuestion, ModelQuestion, ModelQuestion, StepQuestion}));
  EXPECT_FALSE(openedAfterCancel);
  EXPECT_EQ(openedOn, 0) << "CUSTOM is no entry: the list opens on the library type DEFAULT";
  EXPECT_EQ(owner.param("TYPE", "TEXT"), "CUSTOM");
  EXPECT_EQ(owner.param("TYPE", "DEFAULT"), "2N3904");
  EXPECT_DOUBLE_EQ(owner.deviceValue("BF"), 420) << "412 up at the 2nd digit";
  EXPECT_DOUBLE_EQ(owner.deviceValue("RB"), 7.5);
}

// The check at the end of an in-place edit, by the row's RANGE: a refused
// entry shows its message, keeps the editor open and stores nothing.
TEST_F(SemiSheets, EntriesAreCheckedByTheirRange) {
  struct Case {
    const char *row, *text, *message; // null message: accepted
  };
  const Case cases[] = {
      {"ISE", "0", nullptr}, // NONNEG takes 0
      {"IS", "0", "Value must be positive. Please re-enter."},
      {"IS", "-1E-15", "Value must be positive. Please re-enter."},
      {"ISE", "-1", "Value must be non-negative. Please re-enter."},
      {"BF", "12x", "Number format error. Please re-enter."},
      {"BF", "", "Number format error. Please re-enter."},
      {"BF", " 250", nullptr},
      {"VAF", "1e2", nullptr},
      {"ID", "Q12", nullptr},
      {"ID", "Q??", nullptr},
      {"ID", "1Q", "Component ID format error. Please re-enter."},
      {"ID", "Q?1", "Component ID format error. Please re-enter."},
  };
  TestOwner owner(semi::SemiKind::Npn);
  auto sheet = sheetOf(semi::SemiKind::Npn, owner);
  struct Seen {
    LRESULT answer;
    std::size_t boxes;
    std::string cellText, stored;
  };
  std::vector<Seen> seen;
  const SheetRun run =
      runSheet(owner, *sheet,
               {onPage(*sheet,
                       [&](HWND page) {
                         for (const Case &c : cases) {
                           const std::size_t before = boxes.size();
                           const int row = rowOf(page, c.row);
                           const LRESULT answer = endEdit(page, row, c.text);
                           seen.push_back({answer, boxes.size() - before, cell(page, row, 1),
                                           owner.param(c.row, "TEXT")});
                         }
                       }),
                press(*sheet, IDOK)});
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(seen.size(), std::size(cases));
  std::size_t box = 0;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    const Case &c = cases[i];
    const std::string what = std::string(c.row) + " \"" + c.text + "\"";
    if (!c.message) {
      EXPECT_EQ(seen[i].answer, 0) << what;
      EXPECT_EQ(seen[i].boxes, 0u) << what;
      EXPECT_EQ(seen[i].cellText, c.text) << what;
      EXPECT_EQ(seen[i].stored, c.text) << what;
      continue;
    }
    EXPECT_NE(seen[i].answer, 0) << what << ": the editor stays open";
    ASSERT_EQ(seen[i].boxes, 1u) << what;
    EXPECT_EQ(boxes[box].text, c.message) << what;
    EXPECT_EQ(boxes[box].caption, "NPN Transistor") << what;
    EXPECT_EQ(boxes[box].type, static_cast<UINT>(MB_ICONEXCLAMATION)) << what;
    ++box;
    EXPECT_NE(seen[i].stored, c.text) << what << ": nothing stored";
  }
  EXPECT_EQ(owner.param("ISE", "TEXT"), "0");
  EXPECT_EQ(owner.param("IS", "TEXT"), "(absent)");
}

// Model selection through the page over a library holding every format
// feature, given by the owner: COPY chains, a forward COPY, a repeated
// attribute, an attribute that is no parameter, cycles, unknown types. Each
// choice starts from the library defaults.
TEST_F(SemiSheets, ModelsAreFoundThroughCopyChainsAndTheLastRepeatWins) {
  struct Case {
    const char *type, *is, *n, *rs;
  };
  const Case cases[] = {
      {"LINK3", "2E-12", "1.5", "0.25"}, {"TWICE", "3E-15", "1.1", "2.5"},
      {"STRANGE", "4E-15", "1.2", "0"},  {"AHEAD", "5E-16", "1.3", "7"},
      {"LOOPA", "1E-14", "1", "0"},      {"SELF", "1E-14", "1", "0"},
      {"NOWHERE", "1E-14", "1", "0"},    {"1N0000", "1E-14", "1", "0"},
  };
  LibraryOwner owner(semi::SemiKind::Diode, testLibrary());
  auto sheet = sheetOf(semi::SemiKind::Diode, owner);
  std::vector<std::vector<std::string>> shown, stored;
  std::vector<std::string> entries;
  const SheetRun run = runSheet(owner, *sheet,
                                {onPage(*sheet,
                                        [&](HWND page) {
                                          activateRow(page, rowOf(page, "TYPE"));
                                          entries = comboEntries(editor(page));
                                          PostMessageA(editor(page), WM_KEYDOWN, VK_ESCAPE, 0);
                                        }),
                                 onPage(*sheet,
                                        [&](HWND page) {
                                          for (const Case &c : cases) {
                                            endEdit(page, rowOf(page, "TYPE"), c.type);
                                            std::vector<std::string> cells, texts;
                                            for (const char *name : {"TYPE", "IS", "N", "RS"}) {
                                              cells.push_back(cell(page, rowOf(page, name), 1));
                                              texts.push_back(owner.param(name, "TEXT"));
                                            }
                                            shown.push_back(cells);
                                            stored.push_back(texts);
                                          }
                                        }),
                                 press(*sheet, IDOK)});
  ASSERT_TRUE(run.finished);
  EXPECT_TRUE(boxes.empty());
  ASSERT_GE(entries.size(), 3u);
  EXPECT_EQ(entries[0], "DEFAULT");
  EXPECT_EQ(entries[1], "BASE");
  EXPECT_EQ(entries.back(), "LATER");
  ASSERT_EQ(shown.size(), std::size(cases));
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const Case &c = cases[i];
    const std::vector<std::string> expected{c.type, c.is, c.n, c.rs};
    EXPECT_EQ(shown[i], expected) << c.type;
    EXPECT_EQ(stored[i], expected) << c.type;
  }
  EXPECT_EQ(owner.param("TYPE", "DEFAULT"), "1N0000");
}

TEST_F(SemiSheets, CancelKeepsTheDocument) {
  TestOwner owner(semi::SemiKind::Npn);
  const std::string before = owner.text();
  auto sheet = sheetOf(semi::SemiKind::Npn, owner);
  std::string isCell;
  const SheetRun run = runSheet(owner, *sheet,
                                {onPage(*sheet,
                                        [&](HWND page) {
                                          endEdit(page, rowOf(page, "TYPE"), "2N3904");
                                          isCell = cell(page, rowOf(page, "IS"), 1);
                                        }),
                                 press(*sheet, IDCANCEL)});
  EXPECT_EQ(run.result, IDCANCEL);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(isCell, "6.81E-15") << "the page had the model";
  EXPECT_EQ(owner.text(), before);
  EXPECT_TRUE(owner.calls.empty());
}

// Apply keeps the model; a step after it is undone by the close box.
TEST_F(SemiSheets, ApplyThenCloseKeepsTheAppliedState) {
  TestOwner owner(semi::SemiKind::Npn);
  auto sheet = sheetOf(semi::SemiKind::Npn, owner);
  bool applyEnabledAfter = true;
  const SheetRun run =
      runSheet(owner, *sheet,
               {onPage(*sheet, [&](HWND page) { endEdit(page, rowOf(page, "TYPE"), "2N3904"); }),
                press(*sheet, ApplyButton),
                [&] {
                  if (owner.calls.empty())
                    return false;
                  applyEnabledAfter = IsWindowEnabled(GetDlgItem(sheet->handle(), ApplyButton));
                  HWND page = pageOf(*sheet);
                  selectRow(page, rowOf(page, "IS"));
                  spin(page, IDC_PARAMS_SPIN, 1);
                  return true;
                },
                [&] {
                  PostMessageA(sheet->handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                  return true;
                }});
  EXPECT_NE(run.result, IDOK);
  ASSERT_TRUE(run.finished);
  EXPECT_FALSE(applyEnabledAfter);
  EXPECT_EQ(owner.calls, (std::vector<std::string>{"dirty", "label", "shape", "keep"}));
  EXPECT_EQ(owner.param("TYPE", "TEXT"), "2N3904") << "the step after Apply is undone";
  EXPECT_DOUBLE_EQ(owner.deviceValue("IS"), 6.81e-15);
  EXPECT_DOUBLE_EQ(owner.deviceValue("RB"), 7.5);
}

// With "Auto-Apply" checked a chosen model applies the sheet at once.
TEST_F(SemiSheets, AutoApplyAppliesAChosenModelAtOnce) {
  TestOwner owner(semi::SemiKind::Npn);
  auto sheet = sheetOf(semi::SemiKind::Npn, owner);
  const SheetRun run =
      runSheet(owner, *sheet,
               {onPage(*sheet,
                       [&](HWND page) {
                         SendDlgItemMessageA(page, IDC_PARAMS_AUTO_APPLY, BM_CLICK, 0, 0);
                         endEdit(page, rowOf(page, "TYPE"), "2N3904");
                       }),
                [&] { return !owner.calls.empty(); }, // the posted Apply ran
                [&] {                                 // Cancel is disabled now: the close box
                  PostMessageA(sheet->handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                  return true;
                }});
  EXPECT_EQ(run.result, IDCANCEL);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(owner.calls, (std::vector<std::string>{"dirty", "label", "shape", "keep"}));
  EXPECT_EQ(owner.param("TYPE", "TEXT"), "2N3904") << "applied, so Cancel keeps it";
  EXPECT_DOUBLE_EQ(owner.deviceValue("IS"), 6.81e-15);
}

// Every header and every name, value and unit of each kind's Parameters
// page can be read whole; the screenshots in the test's scratch folder show
// it.
TEST_F(SemiSheets, EveryHeaderAndUnitOfTheParametersPagesReadsWhole) {
  const struct {
    semi::SemiKind kind;
    const char *shot;
  } kinds[] = {{semi::SemiKind::Diode, "diode-parameters.bmp"},
               {semi::SemiKind::Npn, "npn-parameters.bmp"},
               {semi::SemiKind::Pnp, "pnp-parameters.bmp"}};
  for (const auto &kind : kinds) {
    SCOPED_TRACE(kind.shot);
    TestOwner owner(kind.kind);
    auto sheet = sheetOf(kind.kind, owner);
    std::vector<std::string> cut = {"(not shown)"};
    int rows = 0;
    bool saved = false;
    const SheetRun run =
        runSheet(owner, *sheet,
                 {[&] {
                    repaint(*sheet);
                    return true;
                  },
                  [&] {
                    HWND list = GetDlgItem(pageOf(*sheet), IDC_PARAMS_LIST);
                    rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
                    cut = uikit_test::cutTexts(list);
                    GdiFlush();
                    return true;
                  },
                  screenShot(kind.shot, saved), press(*sheet, IDCANCEL)});
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(saved);
    EXPECT_GT(rows, 8);
    EXPECT_EQ(cut, std::vector<std::string>{});
  }
}

TEST_F(SemiSheets, ScreenshotOfTheNpnSheetWithTheModelListOpen) {
  TestOwner owner(semi::SemiKind::Npn);
  auto sheet = sheetOf(semi::SemiKind::Npn, owner);
  bool saved = false;
  const SheetRun run =
      runSheet(owner, *sheet,
               {onPage(*sheet,
                       [&](HWND page) {
                         activateRow(page, rowOf(page, "TYPE"));
                         SendMessageA(editor(page), CB_SHOWDROPDOWN, TRUE, 0);
                       }),
                [&] {
                  HWND combo = editor(pageOf(*sheet));
                  if (!combo || !SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0))
                    return false;
                  repaint(*sheet);
                  return true;
                },
                screenShot("npn-sheet-model-list.bmp", saved), press(*sheet, IDCANCEL)});
  ASSERT_TRUE(run.finished);
  EXPECT_TRUE(saved);
}

} // namespace
