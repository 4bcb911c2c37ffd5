// The SPICE netlist through the real QorSim.dll on stand-in pages: the
// questions, the file's layout and title, and the node numbers. The
// netlists of a divider, a ladder, nets joined by several wires and diodes
// with a long model are left with our solution beside them, for the
// ngspice comparison that runs after this test (netlist-ngspice.py).
#include "circuit-sim/tests/circuit-fixture.h"
#include "circuit-sim/tests/host-seams.h"
#include "testing/test-files.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using namespace qorsim_test;

const char Caption[] = "Netweave for Visio\xAE";
const char DanglingQuestion[] =
    "SPICE will find errors in the netlist, such as dangling component pins. Continue?";
const char PathQuestion[] =
    "SPICE will find errors in the netlist, such as DC path violations. Continue?";

using testing_support::readFile;

bool exists(const std::string &path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class Netlist : public Circuit {
protected:
  void SetUp() override {
    Circuit::SetUp();
    dialogLog = DialogLog{};
    netlistSavePath.clear();
    folder_ = testing_support::scratchPath("netlists");
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  std::string pathOf(const std::string &name) { return folder_ + "\\" + name + ".cir"; }
  // Saves the page's netlist under the name; its text, or empty when none.
  std::string save(const std::string &name) {
    netlistSavePath = pathOf(name);
    DeleteFileA(netlistSavePath.c_str());
    EXPECT_EQ(circuit_->CreateNetlist(), S_OK);
    return exists(netlistSavePath) ? readFile(netlistSavePath) : std::string();
  }
  std::string spiceNet(const Part &part, const char *pin) {
    BSTR text = nullptr;
    EXPECT_EQ(circuit_->get_SpiceNet(index(part.key + pin), &text), S_OK);
    Bstr owned = Bstr::adopt(text);
    return owned.toAnsi();
  }
  // Our solution at every SPICE node of the parts' pins, for the
  // comparison with ngspice; tolerance is relative.
  void leaveSolution(const std::string &name, const std::vector<const Part *> &parts,
                     double tolerance = 1e-9) {
    std::map<std::string, double> nodes;
    for (const Part *part : parts) {
      const bool source = part->control->partId[0] == 'V';
      for (const char *pin :
           source ? std::vector<const char *>{"P", "M"} : std::vector<const char *>{"A", "B"}) {
        if (index(part->key + pin) < 0)
          continue;
        const std::string node = spiceNet(*part, pin);
        const double value = volts(*part, pin);
        auto known = nodes.emplace(node, value);
        EXPECT_NEAR(known.first->second, value, 1e-12) << "one SPICE node, one voltage";
      }
    }
    std::ofstream out(folder_ + "\\" + name + ".expect");
    out.precision(17);
    out << "tolerance " << tolerance << "\n";
    for (const auto &[node, value] : nodes)
      out << node << " " << value << "\n";
  }
  // The lines of a text whose lines end in CR LF; a bare line feed stays
  // inside its line.
  std::vector<std::string> lines(const std::string &text) {
    std::vector<std::string> result;
    std::size_t at = 0;
    while (at < text.size()) {
      const std::size_t end = text.find("\r\n", at);
      if (end == std::string::npos) {
        result.push_back(text.substr(at));
        break;
      }
      result.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return result;
  }
  // A source driving a resistor to ground: nothing to ask about.
  void soundCircuit() { draw("V1 a 0 5; G1 0; R1 a 0 50"); }
  std::string folder_;
};

TEST_F(Netlist, DividerIsWrittenForNgspice) {
  Drawing d = draw("V1 in 0 10; R1 in mid 1k; R2 mid 0 2k; G1 0");
  const Part &source = d["V1"], &r1 = d["R1"], &r2 = d["R2"];
  host_->fireIdle();
  const std::string text = save("divider");
  EXPECT_TRUE(dialogLog.messages.empty());
  EXPECT_EQ(dialogLog.initialNames, std::vector<std::string>{"Circuit"});
  const std::string in = spiceNet(r1, "A"), mid = spiceNet(r1, "B");
  EXPECT_EQ(spiceNet(r2, "B"), "0");
  EXPECT_EQ(spiceNet(source, "M"), "0");
  EXPECT_EQ(spiceNet(r2, "A"), mid);
  // Components in order of position: the source (x 0), R1, R2; the ground
  // writes no line.
  EXPECT_EQ(lines(text),
            (std::vector<std::string>{"*** \"Circuit\" netlist created by Netweave",
                                      "V1 " + in + " 0 DC 10", "R1 " + in + " " + mid + " 1000",
                                      "R2 " + mid + " 0 2000", "", ".OP", ".END"}));
  leaveSolution("divider", d.all());
}

// Each shunt to a ground of its own: the grounds are one node.
TEST_F(Netlist, LadderIsWrittenForNgspice) {
  Drawing d = draw("V1 n0 0 16; R1 n0 n1 1000; R2 n1 g1 2000; G1 g1; R3 n1 n2 1007;"
                   "R4 n2 g2 2013; G2 g2; R5 n2 n3 1014; R6 n3 g3 2026; G3 g3; R7 n3 n4 1021;"
                   "R8 n4 g4 2039; G4 g4; R9 n4 0 2000; G5 0");
  host_->fireIdle();
  const std::string text = save("ladder");
  EXPECT_TRUE(dialogLog.messages.empty());
  EXPECT_EQ(lines(text).size(), 1u + 10u + 3u);
  leaveSolution("ladder", d.all());
}

// One net made of several wires (three resistors' pins wired to a fourth
// pin), and a ground net reached by wires from several pins: one number
// each.
TEST_F(Netlist, NetsJoinedBySeveralWiresShareANumber) {
  Drawing d = draw("V1 in 0 12; RS in top 470; R1 top 0 1k; R2 top 0 2.2k; R3 top 0 3.3k; G1 0");
  const Part &series = d["RS"], &r1 = d["R1"], &r2 = d["R2"], &r3 = d["R3"];
  host_->fireIdle();
  save("joined");
  EXPECT_TRUE(dialogLog.messages.empty());
  const std::string top = spiceNet(r1, "A");
  EXPECT_EQ(spiceNet(r2, "A"), top);
  EXPECT_EQ(spiceNet(r3, "A"), top);
  EXPECT_EQ(spiceNet(series, "B"), top);
  for (const Part *part : {&r1, &r2, &r3})
    EXPECT_EQ(spiceNet(*part, "B"), "0");
  leaveSolution("joined", d.all());
}

// Two diodes with one model: one model line, wrapped, after an empty line.
// Our diode's thermal voltage differs from ngspice's 27 degrees a little.
TEST_F(Netlist, OneModelLineWrappedForTwoDiodes) {
  Drawing d = draw("V1 in 0 5; R1 in a 1k; R2 in b 2k; D1 a 0; D2 b 0; G1 0");
  host_->fireIdle();
  const std::vector<std::string> written = lines(save("diodes"));
  ASSERT_EQ(written.size(), 1u + 5u + 1u + 2u + 3u);
  EXPECT_EQ(written[6], "");
  EXPECT_EQ(written[7].rfind(".MODEL TESTD D(", 0), 0u);
  EXPECT_LE(written[7].size(), 72u);
  EXPECT_EQ(written[8].rfind("+ ", 0), 0u);
  EXPECT_EQ(written[7] + " " + written[8].substr(2),
            ".MODEL TESTD D(IS=1E-14 N=1 RS=0 CJO=0 VJ=1 M=0.5 TT=0 BV=1E+30 IBV=1E-3 EG=1.11 "
            "XTI=3 KF=0 AF=1.00)");
  leaveSolution("diodes", d.all(), 2e-3);
}

TEST_F(Netlist, EmptyPageIsReportedAndNothingSaved) {
  EXPECT_EQ(save("empty"), "");
  ASSERT_EQ(dialogLog.messages.size(), 1u);
  EXPECT_EQ(dialogLog.messages[0].text, "No circuit schematic to save as a SPICE netlist.");
  EXPECT_EQ(dialogLog.messages[0].caption, Caption);
  EXPECT_EQ(dialogLog.messages[0].style, 0x10u);
  EXPECT_TRUE(dialogLog.initialNames.empty());
}

TEST_F(Netlist, DanglingPinsAskOnlyTheirQuestion) {
  draw("V1 a 0 5; G1 0; R1 a open 1k");
  host_->fireIdle();
  dialogLog.answer = IDNO;
  EXPECT_EQ(save("dangling"), "");
  ASSERT_EQ(dialogLog.messages.size(), 1u);
  EXPECT_EQ(dialogLog.messages[0].text, DanglingQuestion);
  EXPECT_EQ(dialogLog.messages[0].style, 0x124u);
  EXPECT_TRUE(dialogLog.initialNames.empty());
  dialogLog.answer = IDYES;
  EXPECT_NE(save("dangling").find("R1 "), std::string::npos);
}

TEST_F(Netlist, PathErrorsAskOnlyTheirQuestion) {
  draw("V1 a 0 5; G1 0; C1 a open 1e-6");
  host_->fireIdle(); // C's pin B dangles and has no DC path
  dialogLog.answer = IDNO;
  EXPECT_EQ(save("path"), "");
  ASSERT_EQ(dialogLog.messages.size(), 1u);
  EXPECT_EQ(dialogLog.messages[0].text, PathQuestion);
  EXPECT_EQ(dialogLog.messages[0].style, 0x124u);
}

TEST_F(Netlist, CancelledDialogWritesNothingAndSaysNothing) {
  soundCircuit();
  host_->fireIdle();
  dialogLog.cancel = true;
  EXPECT_EQ(save("cancelled"), "");
  EXPECT_EQ(dialogLog.initialNames.size(), 1u);
  EXPECT_TRUE(dialogLog.messages.empty());
}

// A file that cannot be created is reported, not left looking saved.
TEST_F(Netlist, UnwritableFileIsReported) {
  soundCircuit();
  host_->fireIdle();
  netlistSavePath = folder_ + "\\no such folder\\x.cir";
  EXPECT_EQ(circuit_->CreateNetlist(), S_OK);
  ASSERT_EQ(dialogLog.messages.size(), 1u);
  EXPECT_NE(dialogLog.messages[0].text.find("could not be written"), std::string::npos);
  EXPECT_NE(dialogLog.messages[0].text.find(netlistSavePath), std::string::npos);
  EXPECT_EQ(dialogLog.messages[0].style, 0x10u);
  EXPECT_FALSE(exists(netlistSavePath));
}

// A saved drawing whose file exists proposes the file's title; once the
// file has gone, the name rule applies. An unsaved drawing1 gives Drawing1.
TEST_F(Netlist, TitleFollowsTheDrawingsFile) {
  const std::string drawing = folder_ + "\\my circuit.vsd";
  std::ofstream(drawing) << "drawing";
  struct Case {
    std::string folder, name;
    bool fileThere;
    std::string expected;
  } cases[] = {{folder_ + "\\", "my circuit.vsd", true, "my circuit"},
               {folder_ + "\\", "my circuit.vsd", false, "My circuit"},
               {"", "drawing1", false, "Drawing1"}};
  for (const Case &c : cases) {
    if (!c.fileThere)
      DeleteFileA(drawing.c_str());
    drawhost::Page *page = host_->addDocument(c.folder, c.name)->addPage("Page-1");
    ComPtr<IQorSimCkt> circuit = findSim(page);
    ASSERT_TRUE(circuit);
    std::swap(circuit, circuit_);
    std::swap(page, page_);
    soundCircuit();
    dialogLog = DialogLog{};
    save("title");
    EXPECT_EQ(dialogLog.initialNames, std::vector<std::string>{c.expected}) << c.name;
    EXPECT_EQ(readFile(pathOf("title")).substr(0, c.expected.size() + 6),
              "*** \"" + c.expected + "\"");
    EXPECT_EQ(circuit_->Quit(), S_OK);
    std::swap(circuit, circuit_);
    std::swap(page, page_);
  }
}

TEST_F(Netlist, SpiceNetArgumentsAndUnnumberedNets) {
  Drawing d = draw("V1 a 0 5; G1 0; R1 a 0 10");
  const Part &source = d["V1"], &ground = d["G1"], &r = d["R1"];
  Shape *toGround = d.wireTo["G1.A"];
  host_->fireIdle();
  BSTR text = nullptr;
  EXPECT_EQ(circuit_->get_SpiceNet(1, nullptr), E_POINTER);
  EXPECT_EQ(circuit_->get_SpiceNet(-1, &text), E_INVALIDARG);
  LONG next = 0;
  ASSERT_EQ(circuit_->IndexMapFind(Bstr(r.key + "B").get(), &next), S_OK);
  EXPECT_EQ(spiceNet(ground, "A"), "0");
  EXPECT_EQ(spiceNet(r, "B"), "0");
  // Branch currents carry no voltage and join no net: -1, for a device's
  // branch and for a wire's alike.
  EXPECT_EQ(spiceNet(source, "BE"), "-1");
  ASSERT_EQ(circuit_->get_SpiceNet(index(toGround->uniqueId(false) + "BE"), &text), S_OK);
  EXPECT_EQ(Bstr::adopt(text).toAnsi(), "-1");
  // The index past the last net is out of range.
  LONG probe = 0;
  ASSERT_EQ(circuit_->IndexMapFind(Bstr(toGround->uniqueId(false) + "BE").get(), &probe), S_OK);
  text = nullptr;
  EXPECT_EQ(circuit_->get_SpiceNet(1000, &text), E_INVALIDARG);
}

// The stand-in host runs the menu item's macro: QorSim's root is created
// by name and its CreateNetlist called late bound with the active page.
TEST_F(Netlist, MenuMacroReachesCreateNetlist) {
  // The host's library, as an installed host has it registered: the late
  // call passes a host page.
  Bstr hostLibraryPath(testing_support::hostPath(DRAWING_HOST_TLB));
  ComPtr<ITypeLib> hostLibrary;
  ASSERT_EQ(LoadTypeLibEx(hostLibraryPath.get(), REGKIND_REGISTER, hostLibrary.receive()), S_OK);
  host_->setActiveWindow(page_, {});
  EXPECT_EQ(host_->chooseMenuItem(document_, "&File", "Save SP&ICE Netlist..."), S_OK);
  ASSERT_EQ(dialogLog.messages.size(), 1u);
  EXPECT_EQ(dialogLog.messages[0].text, "No circuit schematic to save as a SPICE netlist.");
  soundCircuit();
  host_->fireIdle();
  netlistSavePath = pathOf("macro");
  DeleteFileA(netlistSavePath.c_str());
  EXPECT_EQ(host_->chooseMenuItem(document_, "&File", "Save SP&ICE Netlist..."), S_OK);
  EXPECT_EQ(dialogLog.initialNames, std::vector<std::string>{"Circuit"});
  EXPECT_TRUE(exists(netlistSavePath));
  EXPECT_EQ(host_->chooseMenuItem(document_, "&File", "No such item"),
            drawhost::DrawHostNoSuchItem);
  TLIBATTR *attr = nullptr;
  hostLibrary->GetLibAttr(&attr);
  UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
  hostLibrary->ReleaseTLibAttr(attr);
}

} // namespace
