// QorLib02's diode and transistor controls in the real QorSim under Wine:
// created fresh (component XML against the golden files and the model
// libraries), registered, dropped on stand-in pages through the stencil's
// drop macro (CompOnDrop) beside QorLib01's sources and resistors, bound,
// numbered, solved and labelled by the page's work event, marked, laid out,
// cancelled, saved and reloaded. The netlists of the File menu, with the
// cross-check's options, go to ngspice afterwards (compare-ngspice.py on
// control-ngspice-check/).
#include "passive-lib/tests/control-page.h"
#include "passive-lib/uikit/tests/page-test.h"
#include "passive-lib/win32/xml-access.h"
#include "semi-lib/core/model-library.h"
#include "semi-lib/core/model-selection.h"
#include "semi-lib/tests/check-circuits.h"
#include "semi-lib/tests/check-report.h"
#include "semi-lib/tests/library-files.h"

#include "circuit-sim/tests/host-seams.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/variant.h"
#include "platform/com/win32/object.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/xml/win32/xml-guids.h"
#include "testing/memory-streams.h"
#include "testing/modal-script.h"
#include "testing/server-exports.h"
#include "testing/test-paths.h"
#include "testing/window-finding.h"

#include "QorLib01.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <memory>
#include <set>
#include <sstream>

namespace {

using base::Bstr;
using base::ComPtr;
using passive_test::attribute;
using passive_test::childrenOf;
using passive_test::englishDate;
using passive_test::itemOf;
using passive_test::registryText;
using passive_test::sectionOf;
using semi::SemiKind;

// The kinds of part in the order of partInfo.
enum class Part { Diode, Npn, Pnp, Source, Resistor, Ground };

struct PartInfo {
  const char *name;
  const char *progId;
  std::vector<const char *> pins;
};
const PartInfo partInfo[] = {
    {"diode", "QOR.DiodeOcx", {"A", "K"}},     {"npn", "QOR.BjtNpnOcx", {"C", "B", "E"}},
    {"pnp", "QOR.BjtPnpOcx", {"C", "B", "E"}}, {"source", "QOR.VdcOcx", {"P", "M"}},
    {"resistor", "QOR.ResOcx", {"A", "B"}},    {"ground", "QOR.GndOcx", {"A"}},
};
const PartInfo &infoOf(Part part) { return partInfo[static_cast<int>(part)]; }

// Diodes and transistors share their kinds' order.
SemiKind semiKindOf(Part part) { return static_cast<SemiKind>(part); }

// The PARAMS items of a control as the parameters page sees its rows: found
// by NAME, the value in TEXT.
class ControlRows : public semi::ParameterRows {
public:
  explicit ControlRows(IQorOcx2 *data) : params_(sectionOf(data, "PARAMS")) {}
  bool resetRow(const std::string &name, const std::string &value) override {
    if (!setRow(name, value))
      return false;
    passive::setAttributeText(find(name).get(), "DEFAULT", value);
    return true;
  }
  bool setRow(const std::string &name, const std::string &value) override {
    ComPtr<IXMLElement> item = find(name);
    if (!item)
      return false;
    passive::setAttributeText(item.get(), "TEXT", value);
    item->removeAttribute(Bstr(std::string("IEEE")).get());
    return true;
  }
  ComPtr<IXMLElement> find(const std::string &name) const { return itemOf(params_.get(), name); }

private:
  ComPtr<IXMLElement> params_;
};

struct Component : passive_test::DroppedControl {
  Part part;
  const std::vector<const char *> &pins() const { return infoOf(part).pins; }
};

// The transistor's property sheet, once it shows.
HWND npnSheet() {
  return test_windows::withCaption(test_windows::threadWindows(), "", "NPN Transistor Properties");
}

ComPtr<IUnknown> createControl(Part part, HRESULT *result = nullptr) {
  return passive_test::createControl(infoOf(part).progId, result);
}

class SemiControls : public passive_test::ControlPage {
protected:
  static void SetUpTestSuite() { startServers({QORSIM_DLL, QORLIB01_DLL, QORLIB02_DLL}); }
  static void TearDownTestSuite() { stopServers(); }

  // The parts of netlist lines (circuit-sim/tests/test-netlist.h: V, R, D,
  // Q and G) dropped as a person drops them, one unit apart in line order;
  // then a source's or resistor's value entered as its sheet would, a
  // diode's or transistor's model chosen ("NPN" and "PNP" keep the
  // defaults) and each pin wired to the first pin on its net.
  std::vector<Component> drop(const std::string &netlist) {
    const std::vector<circuit_test::NetlistPart> lines = circuit_test::parseNetlist(netlist);
    std::vector<Component> components;
    for (const circuit_test::NetlistPart &line : lines) {
      const Part part = line.kind() == 'V'   ? Part::Source
                        : line.kind() == 'R' ? Part::Resistor
                        : line.kind() == 'D' ? Part::Diode
                        : line.kind() == 'G' ? Part::Ground
                        : semi_test::checkModel('Q', line.model).polarity == semi::Polarity::Pnp
                            ? Part::Pnp
                            : Part::Npn;
      const PartInfo &info = infoOf(part);
      Component component;
      component.part = part;
      component.shape =
          componentShape({info.name, info.progId, {info.pins.begin(), info.pins.end()}},
                         static_cast<double>(components.size()), 0);
      components.push_back(component);
    }
    dropShapes(components);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const circuit_test::NetlistPart &line = lines[i];
      if (!line.value.empty())
        setValue(components[i], line.kind() == 'V' ? "Vdc" : "R",
                 circuit_test::plainValue(line.value));
      if (!line.model.empty() && line.model != "NPN" && line.model != "PNP")
        chooseModel(components[i], line.model);
    }
    for (const auto &[from, to] : circuit_test::netJoins(lines))
      ControlPage::wire(components[from.part], static_cast<short>(from.pin), components[to.part],
                        static_cast<short>(to.pin));
    return components;
  }

  // A value of a source or resistor, as its sheet would enter it.
  void setValue(const Component &component, const char *name, const std::string &value) {
    ASSERT_TRUE(ControlRows(component.data.get()).setRow(name, value)) << name;
  }
  // A library model chosen for a diode or transistor, as the parameters
  // page applies it: defaults first, then the model's values (COPY
  // followed), TYPE the type chosen.
  void chooseModel(const Component &component, const std::string &type) {
    semi::ModelLibrary library =
        semi_test::loaded(semi_test::shippedLibrary(semiKindOf(component.part)));
    semi::ModelChoice choice = semi::chooseModel(library, type);
    ASSERT_EQ(choice.lookup, semi::ModelLookup::Found) << type;
    ControlRows rows(component.data.get());
    semi::applyModelChoice(choice, rows);
  }

  std::string partId(const Component &component) {
    Bstr key, id;
    component.data->get_CompGUID(key.receive());
    circuit()->get_OcxMapPartID(key.get(), id.receive());
    return id.toAnsi();
  }

  bool recorded(std::size_t from, const std::string &line) {
    for (std::size_t i = from; i < host_->record().size(); ++i)
      if (host_->record()[i] == line)
        return true;
    return false;
  }

  // The solution at a pin's node, and the node's SPICE name.
  double pinVoltage(const Component &component, const char *pin, std::string &spiceNode) {
    Bstr key;
    component.data->get_CompGUID(key.receive());
    ComPtr<IQorSimCkt> ckt = circuit();
    LONG at = -1;
    EXPECT_EQ(ckt->IndexMapFind(Bstr(key.toAnsi() + pin).get(), &at), S_OK) << pin;
    Bstr node;
    EXPECT_EQ(ckt->get_SpiceNet(at, node.receive()), S_OK);
    spiceNode = node.toAnsi();
    double value = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(circuit().query<IQorSimDC>()->get_Solution(at, &value), S_OK);
    return value;
  }

  // The File menu's netlist with the cross-check's options and a print of
  // every node voltage and every semiconductor's currents, beside our
  // solution and the currents the controls show, for compare-ngspice.py.
  void checkWithNgspice(const std::string &name, const std::string &title,
                        const std::vector<Component> &components) {
    const std::string path = saveNetlistFromMenu("control-ngspice-check", name + ".netlist");
    const std::string netlist = testing_support::readFile(path);
    ASSERT_FALSE(netlist.empty()) << "no netlist " << path;
    ASSERT_NE(netlist.rfind(".END"), std::string::npos) << netlist;
    std::vector<semi_test::Compared> rows;
    std::set<std::string> nodes;
    for (const Component &component : components) {
      for (const char *pin : component.pins()) {
        std::string node;
        const double v = pinVoltage(component, pin, node);
        if (node != "0" && nodes.insert(node).second)
          rows.push_back({"V(" + node + ")", "v(" + node + ")", v, 1.0, 1e-6, 1e-5, "", node});
      }
      const std::string id = partId(component);
      const std::string at = "@" + semi_test::lower(id) + "[";
      if (component.part == Part::Npn || component.part == Part::Pnp) {
        // ngspice counts the PNP's currents the other way round.
        const double sign = component.part == Part::Pnp ? -1.0 : 1.0;
        rows.push_back({id + " Ic", at + "ic]", result(component, "Ic"), sign,
                        semi_test::LastLoadTolerance, 0, id, "Ic"});
        rows.push_back({id + " Ib", at + "ib]", result(component, "Ib"), sign,
                        semi_test::LastLoadTolerance, 0, id, "Ib"});
      } else if (component.part == Part::Diode) {
        rows.push_back(
            {id + " Idc", at + "id]", result(component, "Idc"), 1.0, 1e-4, 0, id, "Idc"});
      }
    }
    semi_test::writeCheckFiles(path.substr(0, path.size() - 8), netlist, title, "QorSim", rows);
  }
};

TEST_F(SemiControls, FreshControlsMatchTheirGoldenFilesAndLibraries) {
  struct Case {
    Part part;
    const char *golden, *name, *device, *partId;
    std::size_t params;
  } cases[] = {
      {Part::Npn, "npn-fresh.txt", "QOR BjtNpn OCX", "QOR.BjtNpnDev", "Q?", 28},
      {Part::Pnp, "pnp-fresh.txt", "QOR BjtPnp OCX", "QOR.BjtPnpDev", "Q?", 28},
      {Part::Diode, "diode-fresh.txt", "QOR Diode OCX", "QOR.DiodeDev", "D?", 11},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.golden);
    ComPtr<IUnknown> control = createControl(c.part);
    ASSERT_TRUE(control);
    ComPtr<IQorOcx> ocx = control.query<IQorOcx>();
    ComPtr<IQorOcx2> data = control.query<IQorOcx2>();
    Bstr name, device, id;
    EXPECT_EQ(ocx->get_Name(name.receive()), S_OK);
    EXPECT_EQ(ocx->get_DevProgID(device.receive()), S_OK);
    EXPECT_EQ(ocx->get_PartID(id.receive()), S_OK);
    EXPECT_EQ(name.toAnsi(), c.name);
    EXPECT_EQ(device.toAnsi(), c.device);
    EXPECT_EQ(id.toAnsi(), c.partId);

    // DataStr1 is the document with the library's items, not the bare
    // template: the golden file, whose items the model tests hold against
    // the library's PARAMs.
    Bstr text;
    ASSERT_EQ(data->get_DataStr1(text.receive()), S_OK);
    xml::Document document;
    xml::ParseError error;
    ASSERT_TRUE(semi::loadKeepingRepeats(document, text.toAnsi(), error));
    xml::Element &root = *document.root();
    EXPECT_EQ(root.getAttribute("CREATED"), englishDate());
    root.setAttribute("CREATED", "9 Dec 2026"); // the golden files' day
    EXPECT_EQ(semi_test::renderTree(root), semi_test::golden(c.golden));
    // The live document the devices read holds the same items.
    ComPtr<IXMLElement> live = sectionOf(data.get(), "PARAMS");
    ASSERT_TRUE(live);
    EXPECT_EQ(childrenOf(live.get()).size(), c.params);

    // Unbound: no marks, no sheet, no refresh.
    Bstr mark;
    EXPECT_EQ(ocx->get_ErrorMark(mark.receive()), E_FAIL);
    EXPECT_EQ(ocx->put_ErrorMark(Bstr(std::string("*")).get()), E_FAIL);
    EXPECT_EQ(ocx->ShowProperties(), S_FALSE);
    EXPECT_EQ(ocx->OnAdvise(qorMaskDC), S_FALSE);
    EXPECT_EQ(ocx->put_PartID(nullptr), E_POINTER);
  }
}

TEST_F(SemiControls, ControlsAreRegisteredWithTheirMiscStatus) {
  const struct {
    Part part;
    const char *description;
    DWORD status;
  } cases[] = {{Part::Diode, "Netweave Diode OCX", 131473},
               {Part::Npn, "Netweave NPN Transistor OCX", 132497},
               {Part::Pnp, "Netweave PNP Transistor OCX", 132497}};
  for (const auto &c : cases) {
    const std::string progId = std::string(infoOf(c.part).progId) + ".1";
    const std::string key = "CLSID\\" + registryText(progId + "\\CLSID");
    SCOPED_TRACE(progId);
    EXPECT_EQ(registryText(key), c.description);
    EXPECT_EQ(registryText(key + "\\Control"), "");
    EXPECT_EQ(registryText(key + "\\MiscStatus"), "0");
    EXPECT_EQ(registryText(key + "\\MiscStatus\\1"), std::to_string(c.status));
    EXPECT_EQ(registryText(key + "\\Version"), "1.0");
    ComPtr<IUnknown> control = createControl(c.part);
    ASSERT_TRUE(control);
    DWORD status = 0;
    ASSERT_EQ(control.query<IOleObject>()->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
    EXPECT_EQ(status, c.status);
  }
}

// A class object for the QorLib service that makes nothing.
class RefusingFactory : public IClassFactory {
public:
  virtual ~RefusingFactory() = default;
  static const com::InterfaceEntry *interfaces() {
    static const com::InterfaceEntry table[] = {
        {&IID_IClassFactory, com::interfaceOffset<RefusingFactory, IClassFactory>()}, {nullptr, 0}};
    return table;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *, REFIID, void **out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

TEST_F(SemiControls, AControlWithoutItsServiceIsNotCreated) {
  auto factory = ComPtr<com::Object<RefusingFactory>>::adopt(new com::Object<RefusingFactory>());
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(CLSID_QorLib, static_cast<IClassFactory *>(factory.get()),
                                  CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
            S_OK);
  for (Part part : {Part::Diode, Part::Npn, Part::Pnp}) {
    HRESULT hr = S_OK;
    ComPtr<IUnknown> control = createControl(part, &hr);
    EXPECT_EQ(hr, E_NOINTERFACE) << infoOf(part).progId;
    EXPECT_FALSE(control);
  }
  CoRevokeClassObject(cookie);
  EXPECT_TRUE(createControl(Part::Npn));
}

TEST_F(SemiControls, TheFirstLayoutWritesCellsTextAndLayerTheSecondNothing) {
  std::vector<Component> c = drop("V1 in 0 5; R1 in a; D1 a 0; G1 0");
  const std::size_t before = host_->record().size();
  host_->fireIdle();
  const Component &diode = c[2];
  ASSERT_TRUE(diode.show());
  const std::string show = diode.show()->name();
  // One bulk write of the 22 cells and the line pattern's second entry.
  EXPECT_TRUE(recorded(before, "SetFormulas " + show + " flags 2 cells 23"));
  EXPECT_EQ(diode.show()->cellAt(1, 2, 2, false)->formula(), "GUARD(0)");
  EXPECT_EQ(diode.show()->cellAt(1, 12, 0, false)->formula(),
            diode.shape->name() + "!Controls.X2+LocPinX-PinX");
  EXPECT_EQ(diode.show()->cellAt(1, 12, 6, false)->formula(),
            diode.shape->name() + "!Angle*IF(BODY!User.Flip,1,-1)");
  EXPECT_EQ(diode.show()->cellAt(4, 0, 6, false)->formula(), "BODY!Para.HorzAlign");
  EXPECT_EQ(diode.show()->cellAt(1, 15, 11, false)->formula(), "1");
  ASSERT_EQ(page_->layerNames(), std::vector<std::string>{"Simulation"});
  EXPECT_EQ(diode.show()->cellAt(1, 6, 0, false)->formula(), "\"1\"");
  // The text is RESULT ORDER "2": the diode's current, as the service
  // formats the item.
  ComPtr<IXMLElement> results = sectionOf(diode.data.get(), "RESULT");
  ASSERT_TRUE(results);
  Bstr idc;
  ASSERT_EQ(lib_->FormatItem(childrenOf(results.get()).at(2).get(), Bstr(std::string()).get(),
                             idc.receive()),
            S_OK);
  EXPECT_EQ(diode.shownText(), idc.toAnsi());
  EXPECT_EQ(diode.shownText().rfind("Idc = ", 0), 0u) << diode.shownText();
  EXPECT_GT(result(diode, "Idc"), 1e-3);

  // Solved again and refreshed twice: nothing is written.
  const std::size_t second = host_->record().size();
  ASSERT_EQ(circuit()->SolveDC(), S_OK);
  EXPECT_EQ(diode.ocx->OnAdvise(qorMaskNone), S_OK);
  EXPECT_EQ(diode.ocx->OnAdvise(qorMaskDC), S_OK);
  EXPECT_EQ(writesSince(second), 0);
}

// A result section with an empty LAYER: the diode's result text keeps its
// layer, the resistor's (QorLib01) is taken off every layer.
TEST_F(SemiControls, AnEmptyLayerLeavesTheDiodesLayerAndClearsTheResistors) {
  std::vector<Component> c = drop("V1 in 0; R1 in a; D1 a 0; G1 0");
  host_->fireIdle();
  const struct {
    std::size_t part;
    const char *membership;
  } kinds[] = {{1, ""}, {2, "\"1\""}};
  for (const auto &kind : kinds) {
    const Component &part = c[kind.part];
    ASSERT_TRUE(part.show());
    ASSERT_EQ(part.show()->cellAt(1, 6, 0, false)->formula(), "\"1\"");
    ComPtr<IXMLElement> results = sectionOf(part.data.get(), "RESULT");
    ASSERT_TRUE(results);
    passive::setAttributeText(results.get(), "LAYER", "");
    EXPECT_EQ(part.ocx->OnAdvise(qorMaskDC), S_OK);
    EXPECT_EQ(part.show()->cellAt(1, 6, 0, false)->formula(), kind.membership) << kind.part;
  }
}

TEST_F(SemiControls, ErrorMarksAddUpAndARefusedMarkChangesNoCell) {
  std::vector<Component> c = drop("Q1 c b e NPN; D1 a k");
  const Component &q = c[0];
  EXPECT_EQ(q.ocx->put_ErrorMark(Bstr(std::string()).get()), S_OK);
  EXPECT_EQ(q.mark(), "");
  EXPECT_EQ(q.ocx->put_ErrorMark(Bstr(std::string("B")).get()), S_OK);
  EXPECT_EQ(q.mark(), "B");
  EXPECT_EQ(q.ocx->put_ErrorMark(Bstr(std::string("*")).get()), S_OK);
  EXPECT_EQ(q.mark(), "*,B");
  EXPECT_EQ(q.shape->cell("User.Error", false)->formula(), "TRUE");
  EXPECT_EQ(q.shape->cell("Connections.B.A", false)->formula(), "TRUE");
  EXPECT_EQ(q.shape->cell("Connections.C.A", false)->formula(), "FALSE");
  const std::size_t before = host_->record().size();
  for (const char *refused : {"X", "A", "K", "b", "*,B", "CE"})
    EXPECT_EQ(q.ocx->put_ErrorMark(Bstr(std::string(refused)).get()), E_INVALIDARG) << refused;
  EXPECT_EQ(writesSince(before), 0);
  EXPECT_EQ(q.mark(), "*,B");
  EXPECT_EQ(q.ocx->put_ErrorMark(Bstr(std::string("E")).get()), S_OK);
  EXPECT_EQ(q.ocx->put_ErrorMark(Bstr(std::string("C")).get()), S_OK);
  EXPECT_EQ(q.mark(), "*,C,B,E");
  EXPECT_EQ(q.ocx->put_ErrorMark(nullptr), S_OK);
  EXPECT_EQ(q.mark(), "");
  // The diode marks its anode and cathode, and no transistor pin.
  const Component &d = c[1];
  EXPECT_EQ(d.ocx->put_ErrorMark(Bstr(std::string("K")).get()), S_OK);
  EXPECT_EQ(d.ocx->put_ErrorMark(Bstr(std::string("B")).get()), E_INVALIDARG);
  EXPECT_EQ(d.ocx->put_ErrorMark(Bstr(std::string("A")).get()), S_OK);
  EXPECT_EQ(d.mark(), "A,K");
}

// The label: the PARAMS ORDER's items, quotes doubled so the formula stays
// one string; the walk stops at a character that is no digit or space.
TEST_F(SemiControls, LabelsDoubleTheirQuotesAndTheOrderWalkEnds) {
  std::vector<Component> c = drop("Q1 c b e NPN");
  const Component &q = c[0];
  ASSERT_EQ(q.ocx->put_PartID(Bstr(std::string("Q\"1")).get()), S_OK);
  EXPECT_EQ(q.bodyText(), "\"Q\"\"1\nDEFAULT\"");
  // The same ID again writes nothing.
  const std::size_t before = host_->record().size();
  ASSERT_EQ(q.ocx->put_PartID(Bstr(std::string("Q\"1")).get()), S_OK);
  EXPECT_EQ(writesSince(before), 0);

  ComPtr<IXMLElement> params = sectionOf(q.data.get(), "PARAMS");
  ASSERT_TRUE(params);
  passive::setAttributeText(params.get(), "ORDER", "1  0x 1");
  ASSERT_EQ(q.ocx->put_PartID(Bstr(std::string("Q7")).get()), S_OK);
  EXPECT_EQ(q.bodyText(), "\"DEFAULT\n\nQ7\"");
}

// Circuits dropped, solved and labelled, then their netlists to ngspice:
// a 2N3904 common-emitter stage (base divider 47k/10k from 12 V, 2.2k
// collector and 470 ohm emitter resistors) in forward-active operation; a
// 2N3906 bias stage (base divider 10k/47k, 1k emitter resistor to the
// supply, 3.3k collector resistor to ground); a 1N4148 on 1k from 5 V
// beside a 1N914 (a COPY of the 1N4148) on 2.2k. Each labelled part shows
// its identifier and model and no mark, the first its current, which
// falls from each labelled part to the next.
const struct PageCircuit {
  const char *netlist, *file, *title;
  std::vector<std::pair<std::size_t, const char *>> labelled; // part, model
  std::set<std::string> ids;
  const char *current;
  double least, most; // the first labelled part's current, in amperes
} pageCircuits[] = {
    {"V1 vcc 0 12; R1 vcc b 47k; R2 b 0 10k; R3 vcc c 2.2k; R4 e 0 470; Q1 c b e 2N3904; G1 0",
     "common-emitter",
     "2N3904 common-emitter stage on the page",
     {{5, "2N3904"}},
     {"Q1"},
     "Ic",
     1e-3,
     3e-3},
    {"V1 vcc 0 12; R1 vcc b 10k; R2 b 0 47k; R3 vcc e 1k; R4 c 0 3.3k; Q1 c b e 2N3906; G1 0",
     "bias-stage",
     "2N3906 bias stage on the page",
     {{5, "2N3906"}},
     {"Q1"},
     "Ic",
     1e-3,
     1},
    {"V1 in 0 5; R1 in a; D1 a 0 1N4148; R2 in b 2.2k; D2 b 0 1N914; G1 0",
     "diodes",
     "1N4148 and 1N914 on the page",
     {{2, "1N4148"}, {4, "1N914"}},
     {"D1", "D2"},
     "Idc",
     1e-3,
     1},
};

class PageCircuits : public SemiControls, public testing::WithParamInterface<PageCircuit> {};

TEST_P(PageCircuits, AgreeWithNgspice) {
  const PageCircuit &c = GetParam();
  std::vector<Component> parts = drop(c.netlist);
  host_->fireIdle();
  std::set<std::string> ids;
  double before = 1;
  for (const auto &[index, model] : c.labelled) {
    const Component &part = parts[index];
    ids.insert(partId(part));
    EXPECT_EQ(part.bodyText(), "\"" + partId(part) + "\n" + model + "\"");
    EXPECT_EQ(part.mark(), "");
    const double current = std::fabs(result(part, c.current));
    EXPECT_LT(current, before);
    before = current;
  }
  EXPECT_EQ(ids, c.ids);
  const Component &first = parts[c.labelled.front().first];
  EXPECT_EQ(first.shownText().rfind(std::string(c.current) + " = ", 0), 0u) << first.shownText();
  EXPECT_GT(std::fabs(result(first, c.current)), c.least);
  EXPECT_LT(std::fabs(result(first, c.current)), c.most);
  if (first.part != Part::Diode) {
    EXPECT_GT(result(first, "beta(DC)"), 100) << "the model's BF, not the default's";
  }
  checkWithNgspice(c.file, c.title, parts);
}

INSTANTIATE_TEST_SUITE_P(SemiControls, PageCircuits, testing::ValuesIn(pageCircuits));

// The device reads what the chosen type put into the items: the model line
// of the File menu's netlist carries the 2N3904's IS and the later RB.
TEST_F(SemiControls, Choosing2N3904InTheXmlMakesTheDeviceReadItsValues) {
  std::vector<Component> c = drop("V1 vcc 0; R1 vcc b; Q1 vcc b 0 2N3904; G1 0");
  ControlRows rows(c[2].data.get());
  EXPECT_EQ(attribute(rows.find("TYPE").get(), "TEXT"), "2N3904");
  EXPECT_EQ(attribute(rows.find("RB").get(), "TEXT"), "7.5");
  host_->fireIdle();
  const std::string path = saveNetlistFromMenu("control-netlists", "model-values.cir");
  std::string model, upper;
  std::istringstream netlist(testing_support::readFile(path));
  for (std::string line; std::getline(netlist, line);)
    if (line.rfind(".MODEL", 0) == 0 || line.rfind(".model", 0) == 0 || line.rfind("+", 0) == 0)
      model += line + "\n";
  for (char ch : model)
    upper += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  EXPECT_NE(upper.find("IS=6.81E-15"), std::string::npos) << model;
  EXPECT_NE(upper.find("RB=7.5"), std::string::npos) << model;
  EXPECT_NE(upper.find("BF=412"), std::string::npos) << model;
}

// A numbered transistor's sheet shows Q1 on its Parameters and Format
// pages, and an identifier typed on the Parameters page on the Format page
// before OK.
TEST_F(SemiControls, TheSheetShowsTheNumberedIdentifier) {
  std::vector<Component> c = drop("V1 vcc 0; R1 vcc b; Q1 vcc b 0 NPN; G1 0");
  host_->fireIdle();
  ASSERT_EQ(partId(c[2]), "Q1");
  HWND sheet = nullptr;
  std::string onParameters, onFormat, typedOnFormat;
  auto page = [&](int list) {
    HWND shown = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    return shown && IsWindowVisible(shown) ? GetDlgItem(shown, list) : nullptr;
  };
  auto show = [&](int index) {
    return [&, index] {
      SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
      return true;
    };
  };
  auto read = [&](int list, int column, std::string &text) {
    return [&, list, column] {
      HWND view = page(list);
      text = view ? uikit_test::cellText(view, 0, column) : "";
      return !text.empty();
    };
  };
  testing_support::ModalScript script(
      {[&] { return (sheet = npnSheet()) != nullptr; }, read(IDC_PARAMS_LIST, 1, onParameters),
       show(2), read(IDC_FORMAT_PARAMS_LIST, 0, onFormat), show(0),
       [&] {
         HWND list = page(IDC_PARAMS_LIST);
         return list && uikit_test::endEdit(GetParent(list), 0, "Q7") == 0;
       },
       show(2), read(IDC_FORMAT_PARAMS_LIST, 0, typedOnFormat),
       [&] {
         PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
         return true;
       }},
      [&] {
        if (sheet && IsWindow(sheet))
          PostMessageA(sheet, WM_CLOSE, 0, 0);
      });
  EXPECT_EQ(c[2].ocx->ShowProperties(), S_OK);
  ASSERT_TRUE(script.finished());
  EXPECT_EQ(onParameters, "Q1");
  EXPECT_EQ(onFormat, "Q1");
  EXPECT_EQ(typedOnFormat, "Q7");
  EXPECT_EQ(partId(c[2]), "Q1") << "cancelled";
}

// Cancel puts back the document as committed: the library's items, the
// chosen model and the last results; so do saving and reloading.
TEST_F(SemiControls, CancelAndReloadKeepMergedParametersEditsAndResults) {
  std::vector<Component> c = drop("V1 vcc 0 9; R1 vcc b; Q1 vcc b 0 2N3904; G1 0");
  host_->fireIdle();
  const Component &q = c[2];
  const double ic = result(q, "Ic");
  ASSERT_GT(ic, 1e-4);
  const std::string committed = q.dataStr1();
  ASSERT_NE(committed.find("TEXT=\"2N3904\""), std::string::npos) << committed;

  // An edit in the sheet, then Cancel.
  bool sheetSeen = false;
  {
    HWND sheet = nullptr;
    testing_support::ModalScript script(
        {[&] {
          if (!(sheet = npnSheet()))
            return false;
          sheetSeen = true;
          passive::setAttributeText(ControlRows(q.data.get()).find("BF").get(), "TEXT", "1");
          PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
          return true;
        }},
        [&] {
          if (sheet && IsWindow(sheet))
            PostMessageA(sheet, WM_CLOSE, 0, 0);
        },
        5000);
    EXPECT_EQ(q.ocx->ShowProperties(), S_OK);
    RecordProperty("sheetShown", sheetSeen ? "yes" : "no");
    if (sheetSeen) {
      EXPECT_TRUE(script.finished());
    }
  }
  EXPECT_EQ(q.dataStr1(), committed);
  EXPECT_EQ(attribute(ControlRows(q.data.get()).find("BF").get(), "TEXT"), "412");
  EXPECT_EQ(childrenOf(sectionOf(q.data.get(), "PARAMS").get()).size(), 28u);
  EXPECT_DOUBLE_EQ(result(q, "Ic"), ic);

  // Saved with the page and loaded into a new control of the class.
  ComPtr<IStream> stream =
      testing_support::savedStream(q.ocx.query<IPersistStreamInit>().get(), TRUE);
  ASSERT_TRUE(stream);
  ComPtr<IUnknown> reloaded = createControl(Part::Npn);
  ASSERT_EQ(reloaded.query<IPersistStreamInit>()->Load(stream.get()), S_OK);
  Component copy;
  copy.part = Part::Npn;
  copy.ocx = reloaded.query<IQorOcx>();
  copy.data = reloaded.query<IQorOcx2>();
  EXPECT_EQ(copy.dataStr1(), committed);
  EXPECT_EQ(childrenOf(sectionOf(copy.data.get(), "PARAMS").get()).size(), 28u);
  EXPECT_EQ(attribute(ControlRows(copy.data.get()).find("IS").get(), "TEXT"), "6.81E-15");
  EXPECT_DOUBLE_EQ(result(copy, "Ic"), ic);
}

} // namespace
