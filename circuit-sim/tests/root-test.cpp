// The simulator root and the circuit's host events on stand-in pages
// through the real QorSim.dll: which event marks which work, the work
// event that performs it, page and document deletion, and the menu items
// with the macros the stand-in host runs.
#include "circuit-sim/tests/circuit-fixture.h"
#include "platform/drawing-host/win32/host-menus.h"
#include "platform/base/win32/variant.h"

#include <algorithm>

namespace {

using namespace qorsim_test;

class Events : public Circuit {
protected:
  // A source, a resistor and ground wired up and solved once.
  void buildAndSolve() {
    Drawing d = draw("V1 a 0 9; R1 a 0 100; G1 0");
    source_ = d["V1"];
    r_ = d["R1"];
    ground_ = d["G1"];
  }
  std::size_t recordCount(const std::string &prefix) {
    const auto &record = host_->record();
    return static_cast<std::size_t>(std::count_if(
        record.begin(), record.end(), [&](const auto &l) { return l.rfind(prefix, 0) == 0; }));
  }
  Part source_, r_, ground_;
};

TEST_F(Events, SecondWorkEventAfterADropDoesNothing) {
  buildAndSolve();
  const LONG loads = deviceLoads();
  host_->fireIdle();
  EXPECT_EQ(r_.control->partIdWrites, std::vector<std::string>{"R1"});
  EXPECT_EQ(source_.control->partIdWrites, std::vector<std::string>{"V1"});
  EXPECT_EQ(r_.control->advises, 1);
  EXPECT_GT(deviceLoads(), loads);
  EXPECT_NEAR(volts(r_, "A"), 9.0, 1e-12);
  const LONG solved = deviceLoads();
  host_->fireIdle();
  EXPECT_EQ(r_.control->partIdWrites.size(), 1u);
  EXPECT_EQ(r_.control->advises, 1);
  EXPECT_EQ(deviceLoads(), solved);
}

TEST_F(Events, ShapesAddedOnAnotherPageChangeNothing) {
  buildAndSolve();
  host_->fireIdle();
  drawhost::Page *other = document_->addPage("Page-2");
  Shape *stranger = other->addShape(2, "Component");
  stranger->cell("User.QOR", true)->setQuietly("1");
  // The other page's shapes, reported to this page's circuit.
  base::Variant subject;
  V_VT(subject.get()) = VT_DISPATCH;
  V_DISPATCH(subject.get()) = new com::Object<drawhost::Selection>(
      std::vector<ComPtr<Shape>>{ComPtr<Shape>(stranger)}, other);
  EXPECT_EQ(circuit_->VisEventProc(901, static_cast<IDrawPage *>(page_), 1, 1, *subject.get(),
                                   *subject.get()),
            S_OK);
  EXPECT_TRUE(stranger->uniqueId(false).empty());
  host_->fireIdle();
  EXPECT_EQ(r_.control->advises, 1);
  EXPECT_EQ(r_.control->partIdWrites.size(), 1u);
}

// A move renumbers at the next work event, but neither rebuilds nor solves.
TEST_F(Events, MoveMarksOnlyTheNumbering) {
  source_ = add("TestVdc", "9", 0, 1);
  ground_ = add("TestGnd", "0", 0, 0);
  wire(source_, 1, ground_, 0);
  Shape *left = componentShape({"A", "B"}, 1, 1);
  Shape *right = componentShape({"A", "B"}, 2, 1);
  for (Shape *shape : {left, right})
    shape->cell("User.XFToggle", true)->setQuietly("0");
  Part a = control(left, "TestRes", "100"), b = control(right, "TestRes", "200");
  ASSERT_EQ(registerPart(a), S_OK);
  ASSERT_EQ(registerPart(b), S_OK);
  wire(source_, 0, a, 0);
  wire(a, 1, b, 0);
  wire(b, 1, ground_, 0);
  host_->fireIdle();
  ASSERT_EQ(a.control->partId, "R1");
  ASSERT_EQ(b.control->partId, "R2");
  const LONG loads = deviceLoads();
  ASSERT_EQ(left->cell("PinX", false)->write("3", false, "move"), S_OK);
  host_->fireIdle();
  EXPECT_EQ(a.control->partId, "R2");
  EXPECT_EQ(b.control->partId, "R1");
  EXPECT_EQ(a.control->advises, 1);
  EXPECT_EQ(deviceLoads(), loads);
}

// A connection marks a rebuild; the solve follows the numbering at the
// next work event.
TEST_F(Events, ConnectionRebuildsAtTheNextWorkEvent) {
  buildAndSolve();
  host_->fireIdle();
  Part extra = add("TestRes", "300", 2, 1);
  host_->fireIdle(); // registered with UpdateDrawing: numbered and rebuilt
  EXPECT_EQ(extra.control->partId, "R2");
  const int advises = r_.control->advises;
  wire(r_, 0, extra, 0);
  EXPECT_EQ(r_.control->advises, advises); // nothing inside the event itself
  wire(extra, 1, ground_, 0);
  host_->fireIdle();
  EXPECT_EQ(r_.control->advises, advises + 1);
  EXPECT_NEAR(volts(extra, "A"), 9.0, 1e-12);
}

// Two pages of one document, each with its circuit: deleting one page
// quits only its circuit; deleting the document quits the rest.
TEST_F(Events, DeletionQuitsTheCircuitsOfThePageOrDocument) {
  drawhost::Document *document = host_->addDocument("", "Deleted.vsd");
  drawhost::Page *first = document->addPage("First");
  drawhost::Page *second = document->addPage("Second");
  ComPtr<IQorSimCkt> one = findSim(first), two = findSim(second);
  ASSERT_TRUE(one && two);
  EXPECT_EQ(findSim(first).get(), one.get());
  auto firstSubscriptions = [&] {
    LONG n = 0;
    first->events()->get_Count(&n);
    return n;
  };
  EXPECT_EQ(firstSubscriptions(), 4); // 901, 0xE100, 0x1400 and the root's 0x4010

  host_->clearRecord();
  host_->deletePage(second);
  // The second circuit deleted its three page subscriptions; the first
  // kept all of its own.
  EXPECT_EQ(recordCount("Delete page Second"), 3u);
  EXPECT_EQ(recordCount("Delete page First"), 0u);
  EXPECT_EQ(firstSubscriptions(), 4);

  host_->clearRecord();
  host_->deleteDocument(document);
  EXPECT_EQ(recordCount("Delete page First"), 3u);
  // Asked again, the root makes a new circuit for a new page.
  drawhost::Document *fresh = host_->addDocument("", "Fresh.vsd");
  ComPtr<IQorSimCkt> three = findSim(fresh->addPage("Page-1"));
  ASSERT_TRUE(three);
  EXPECT_NE(three.get(), one.get());
  EXPECT_EQ(three->Quit(), S_OK);
}

// A circuit its user has quit is not handed out again for its page: the
// page (or a later page with the same key) gets a new circuit whose first
// SolveDC builds from the page.
TEST_F(Events, APageWhoseCircuitQuitGetsANewOneThatSolves) {
  buildAndSolve();
  ASSERT_EQ(circuit_->Quit(), S_OK);
  ComPtr<IQorSimCkt> fresh = findSim(page_);
  ASSERT_TRUE(fresh);
  EXPECT_NE(fresh.get(), circuit_.get());
  circuit_ = fresh;
  vectors_ = circuit_.query<IQorSimDC>();
  ASSERT_TRUE(vectors_);
  for (const Part *part : {&source_, &r_, &ground_})
    ASSERT_EQ(registerPart(*part), S_OK);
  EXPECT_EQ(circuit_->SolveDC(), S_OK);
  EXPECT_NEAR(volts(r_, "A"), 9.0, 1e-12);
}

class Menus : public Circuit {
protected:
  std::vector<std::string> captions(drawhost::Document *document, const char *menu) {
    std::vector<std::string> result;
    auto *ui = static_cast<drawhost::UIObject *>(document->customMenus());
    if (!ui || !ui->menu(2, menu))
      return result;
    for (const auto &item : ui->menu(2, menu)->items())
      result.push_back(item->caption());
    return result;
  }
  drawhost::MenuItem *item(drawhost::Document *document, const char *menu, const char *caption) {
    auto *ui = static_cast<drawhost::UIObject *>(document->customMenus());
    for (const auto &entry : ui->menu(2, menu)->items()) {
      if (entry->caption() == caption)
        return entry.get();
    }
    return nullptr;
  }
};

// Two pages of one document: the three items once each, where they belong.
TEST_F(Menus, ThreeItemsOncePerDocument) {
  ComPtr<IQorSimCkt> other = findSim(document_->addPage("Page-2"));
  ASSERT_TRUE(other);
  EXPECT_EQ(
      captions(document_, "&Help"),
      (std::vector<std::string>{"&Contents", "Net&weave Help", "", "&About", "A&bout Netweave"}));
  EXPECT_EQ(captions(document_, "&File"),
            (std::vector<std::string>{"&New", "&Open...", "&Close", "", "&Save", "Save &As...",
                                      "Save SP&ICE Netlist...", "", "E&xit"}));
  struct {
    const char *menu, *caption, *help, *macro;
  } expected[] = {
      {"&Help", "Net&weave Help", "Display Help contents for Netweave.",
       "call shell(\"winhlp32 Netweave\", vbNormalFocus)"},
      {"&Help", "A&bout Netweave", "Displays Netweave program information and copyright.",
       "call CreateObject(\"QOR.SimRoot\").ShowHelpAbout()"},
      {"&File", "Save SP&ICE Netlist...", "Save SPICE netlist from Netweave schematic.",
       "call CreateObject(\"QOR.SimRoot\").CreateNetlist(ActivePage)"},
  };
  for (const auto &e : expected) {
    drawhost::MenuItem *found = item(document_, e.menu, e.caption);
    ASSERT_NE(found, nullptr) << e.caption;
    EXPECT_EQ(found->miniHelp(), e.help);
    EXPECT_EQ(found->macro(), e.macro);
  }
  EXPECT_EQ(other->Quit(), S_OK);
}

TEST_F(Menus, NoFileMenuNoCustomMenus) {
  host_->setBuiltInFileMenu(false);
  drawhost::Document *document = host_->addDocument("", "Plain.vsd");
  ComPtr<IQorSimCkt> circuit = findSim(document->addPage("Page-1"));
  ASSERT_TRUE(circuit);
  host_->setBuiltInFileMenu(true);
  EXPECT_EQ(document->customMenus(), nullptr);
  EXPECT_EQ(circuit->Quit(), S_OK);
}

} // namespace
