// QorLib01's component controls in the real QorSim under Wine: components
// dropped on stand-in pages through the stencil's drop macro (CompOnDrop),
// bound to their shapes, numbered, solved and labelled by the page's work
// event, marked by the topology checks, edited through their real property
// sheets (driven by window messages from a timer inside the sheet's modal
// loop), saved and reloaded through both persistence routes. The netlists the File menu writes go
// to ngspice afterwards (ngspice-compare.sh on control-netlists/).
#include "passive-lib/tests/control-page.h"
#include "passive-lib/tests/netlist-kinds.h"
#include "passive-lib/tests/test-component.h"
#include "passive-lib/uikit/tests/page-test.h"
#include "passive-lib/tests/recording-simulator.h"
#include "testing/server-exports.h"

#include "passive-lib/core/component-templates.h"
#include "passive-lib/core/order-list.h"
#include "platform/com/core/control-stream.h"
#include "passive-lib/uikit/win32/pages-resource.h"
#include "passive-lib/uikit/win32/uikit-resource.h"

#include "circuit-sim/tests/host-seams.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/variant.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "platform/xml/win32/xml-guids.h"
#include "testing/memory-streams.h"
#include "testing/modal-script.h"
#include "testing/test-files.h"
#include "testing/window-finding.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <set>
#include <sstream>

namespace {

using base::Bstr;
using base::ComPtr;
using passive::ComponentKind;
using passive_test::englishDate;
using passive_test::registryText;
using testing_support::memoryStream;
using testing_support::savedStream;

// What a person does in the window that ShowProperties opens, run inside
// its modal loop: each step acts on the window of this caption once it is
// shown and answers true once it has acted (or its condition holds). A
// window still open at the deadline is closed, so no test can hang.
class WindowUser : public testing_support::ModalScript {
public:
  using Step = std::function<bool(HWND window)>;
  WindowUser(const std::string &caption, const std::vector<Step> &steps)
      : ModalScript(onWindow(caption, steps), [caption] {
          if (HWND window = shown(caption))
            PostMessageA(window, WM_CLOSE, 0, 0);
        }) {}

private:
  static HWND shown(const std::string &caption) {
    return test_windows::withCaption(test_windows::threadWindows(), "", caption);
  }
  static std::vector<ModalScript::Step> onWindow(const std::string &caption,
                                                 const std::vector<Step> &steps) {
    std::vector<ModalScript::Step> wrapped;
    for (const Step &step : steps)
      wrapped.push_back([caption, step] {
        HWND window = shown(caption);
        return window && step(window);
      });
    return wrapped;
  }
};

// The sheet's page on show, once it is visible.
HWND shownPage(HWND sheet) {
  HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  return page && IsWindowVisible(page) ? page : nullptr;
}

// A value typed into the Parameters page's list: what the list's in-place
// editor reports to the page when it closes with the text.
bool enterValue(HWND sheet, int row, const char *text) {
  HWND page = shownPage(sheet);
  if (!page)
    return false;
  uikit_test::endEdit(page, row, text);
  return true;
}

// The steps of typing a value into the Parameters page's list through the
// list's own in-place editor: the row activated, the text typed, Enter.
std::vector<std::function<bool(HWND)>> typeValue(int row, const char *text) {
  auto editor = std::make_shared<HWND>(nullptr);
  return {[=](HWND sheet) {
            HWND page = shownPage(sheet);
            if (!page)
              return false;
            uikit_test::activateRow(page, row, 1);
            *editor = GetDlgItem(GetDlgItem(page, IDC_PARAMS_LIST), 200);
            return *editor != nullptr;
          },
          [=](HWND) {
            SetWindowTextA(*editor, text);
            PostMessageA(*editor, WM_KEYDOWN, VK_RETURN, 0);
            return true;
          },
          [=](HWND) { return !IsWindow(*editor) || !IsWindowVisible(*editor); }};
}

// A press of the button, queued as the mouse would, once it is enabled.
bool press(HWND window, int id) {
  HWND button = GetDlgItem(window, id);
  if (!button || !IsWindowEnabled(button) || !IsWindowVisible(button))
    return false;
  PostMessageA(button, BM_CLICK, 0, 0);
  return true;
}

const int ApplyButton = 0x3021;

std::string replaced(std::string text, const std::string &from, const std::string &to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
    text.replace(at, from.size(), to), at += to.size();
  return text;
}

using passive_test::kindOf;
using passive_test::NetlistKind;

passive_test::ControlMaster masterOf(ComponentKind kind) {
  return {kindOf(kind).golden, kindOf(kind).controlProgId(), kindOf(kind).pins};
}

struct Component : passive_test::DroppedControl {
  ComponentKind kind;
  std::string partId() const {
    Bstr id;
    ocx->get_PartID(id.receive());
    return id.toAnsi();
  }
};

class ComponentControls : public passive_test::ControlPage {
protected:
  static void SetUpTestSuite() { startServers({QORSIM_DLL, QORLIB01_DLL}); }
  static void TearDownTestSuite() { stopServers(); }
  void SetUp() override {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    ControlPage::SetUp();
  }

  // Dropped as a person drops them, each kind at its x.
  std::vector<Component> drop(const std::vector<std::pair<ComponentKind, double>> &parts) {
    std::vector<Component> components;
    for (const auto &[kind, x] : parts) {
      Component component;
      component.kind = kind;
      component.shape = componentShape(masterOf(kind), x, 0);
      components.push_back(component);
    }
    dropShapes(components);
    return components;
  }

  // The parts of netlist lines (passive-lib/tests/netlist-kinds.h, no
  // values: the tests enter them as a person does) dropped in a row, one
  // unit apart, each pin wired to the first pin on its net, with the idle
  // handler run.
  std::vector<Component> draw(const std::string &netlist) {
    const std::vector<circuit_test::NetlistPart> lines = circuit_test::parseNetlist(netlist);
    std::vector<std::pair<ComponentKind, double>> parts;
    for (const circuit_test::NetlistPart &line : lines) {
      EXPECT_EQ(line.value, "") << line.name;
      parts.emplace_back(passive_test::netlistKind(line).kind, static_cast<double>(parts.size()));
    }
    std::vector<Component> c = drop(parts);
    for (const auto &[from, to] : circuit_test::netJoins(lines))
      wire(c[from.part], static_cast<short>(from.pin), c[to.part], static_cast<short>(to.pin));
    host_->fireIdle();
    return c;
  }

  // The netlist of the File menu's "Save SP&ICE Netlist...", with our
  // solution at every SPICE node and the Idc of every source and coil
  // beside it, for ngspice-compare.sh.
  void saveNetlist(const std::string &name, const std::vector<Component> &components) {
    const std::string path = saveNetlistFromMenu("control-netlists", name + ".cir");
    ASSERT_TRUE(std::ifstream(path).good()) << "no netlist " << path;
    std::vector<passive_test::SolvedPart> parts;
    for (const Component &component : components) {
      Bstr key;
      ASSERT_EQ(component.data->get_CompGUID(key.receive()), S_OK);
      parts.push_back({key.toAnsi(), kindOf(component.kind).pins, result(component, "Idc")});
    }
    passive_test::writeSolution(path.substr(0, path.size() - 4) + ".ours", circuit().get(), parts);
  }
};

ComPtr<IUnknown> createControl(ComponentKind kind) {
  return passive_test::createControl(kindOf(kind).controlProgId());
}

TEST_F(ComponentControls, FreshControlsMatchTheirGoldenFiles) {
  for (const NetlistKind &info : passive_test::netlistKinds()) {
    ComPtr<IUnknown> control = createControl(info.kind);
    ASSERT_TRUE(control) << info.golden;
    ComPtr<IQorOcx> ocx = control.query<IQorOcx>();
    ComPtr<IQorOcx2> data = control.query<IQorOcx2>();
    Bstr name, device, partId, xml;
    LONG status = -1;
    EXPECT_EQ(ocx->get_Name(name.receive()), S_OK);
    EXPECT_EQ(ocx->get_DevProgID(device.receive()), S_OK);
    EXPECT_EQ(ocx->get_Status(&status), S_OK);
    EXPECT_EQ(ocx->get_PartID(partId.receive()), S_OK);
    EXPECT_EQ(data->get_DataStr1(xml.receive()), S_OK);
    std::ostringstream seen;
    seen << "Name=" << name.toAnsi() << "\nDevProgID=" << device.toAnsi() << "\nStatus=" << status
         << "\nPartID=" << partId.toAnsi() << "\nDataStr1=" << xml.toAnsi() << "\n";
    std::string golden =
        testing_support::readFile(testing_support::hostPath(testing_support::sourcePath(
            std::string("passive-lib/tests/golden/fresh-") + info.golden + ".txt")));
    golden = replaced(golden, "@VERSION@", "1.00.419");
    golden = replaced(golden, "@CREATED@", englishDate());
    EXPECT_EQ(seen.str(), golden) << info.golden;
    VARIANT_BOOL dirty = VARIANT_TRUE;
    EXPECT_EQ(data->get_DirtyFlag(&dirty), S_OK);
    EXPECT_EQ(dirty, VARIANT_FALSE) << info.golden;
    EXPECT_EQ(ocx->Initialize(nullptr), E_POINTER);
    EXPECT_EQ(data->get_DirtyFlag(nullptr), E_POINTER);
    Bstr mark;
    EXPECT_EQ(ocx->get_ErrorMark(mark.receive()), E_FAIL) << "unbound";
    EXPECT_EQ(ocx->ShowProperties(), S_FALSE) << "unbound";
    // Text that does not parse leaves text and document as they were.
    EXPECT_TRUE(FAILED(data->put_DataStr1(Bstr(std::string("<DEVICE NAME=")).get())));
    Bstr still;
    EXPECT_EQ(data->get_DataStr1(still.receive()), S_OK);
    EXPECT_EQ(still.toAnsi(), xml.toAnsi());
    EXPECT_EQ(data->put_DataStr1(nullptr), E_POINTER);
    EXPECT_EQ(data->put_DataStr2(nullptr), E_POINTER);
    EXPECT_EQ(data->put_CompGUID(nullptr), S_OK);
    Bstr nullGuid;
    EXPECT_EQ(data->get_CompGUID(nullGuid.receive()), E_OUTOFMEMORY);
    EXPECT_EQ(nullGuid.get(), nullptr);
    // The ground's _Name is its fixed name, not its XML's OCXNAME.
    Bstr underscored;
    EXPECT_EQ(ocx->get__Name(underscored.receive()), S_OK);
    EXPECT_EQ(underscored.toAnsi(), name.toAnsi());
  }
}

// The six controls registered as ActiveX controls of QorLib01.
TEST_F(ComponentControls, ControlsAreRegisteredAsActiveXControls) {
  const char *const friendly[] = {"Netweave GND OCX",       "Netweave PWR OCX",
                                  "Netweave Resistor OCX",  "Netweave Inductor OCX",
                                  "Netweave Capacitor OCX", "Netweave VDC OCX"};
  int at = 0;
  for (const NetlistKind &info : passive_test::netlistKinds()) {
    const std::string progId = info.controlProgId() + ".1";
    const std::string clsid = registryText(progId + "\\CLSID");
    SCOPED_TRACE(progId + " " + clsid);
    const std::string key = "CLSID\\" + clsid;
    EXPECT_EQ(registryText(key), friendly[at++]);
    EXPECT_EQ(registryText(key + "\\Control"), "");
    EXPECT_EQ(registryText(key + "\\MiscStatus"), "0");
    EXPECT_EQ(registryText(key + "\\MiscStatus\\1"), "131473");
    EXPECT_EQ(registryText(key + "\\Version"), "1.0");
    EXPECT_EQ(registryText(key + "\\VersionIndependentProgID"), info.controlProgId());
    ComPtr<IUnknown> control = createControl(info.kind);
    DWORD status = 0;
    ASSERT_EQ(control.query<IOleObject>()->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
    EXPECT_EQ(status, 131473u);
  }
  EXPECT_EQ(registryText("QOR.VdcOcx.1\\CLSID"), "{798F2303-B571-11D0-9D8D-0020A6101242}");
}

TEST_F(ComponentControls, RailTwoResistorsAndGroundAreNumberedSolvedAndLabelled) {
  std::vector<Component> c = draw("P1 a; R1 a b; R2 b 0; G1 0");
  EXPECT_EQ(c[0].bodyText(), "\"V1\n6.0 V\"");
  EXPECT_EQ(c[1].bodyText(), "\"R1\n1.0 kohm\"");
  EXPECT_EQ(c[2].bodyText(), "\"R2\n1.0 kohm\"");
  EXPECT_EQ(c[1].shownText(), "Idc = 3.00 mA");
  EXPECT_EQ(c[2].shownText(), "Idc = 3.00 mA");
  EXPECT_NEAR(result(c[1], "Idc"), 3e-3, 1e-15);
  EXPECT_NEAR(result(c[2], "Vdc"), 3.0, 1e-12);
  // The results sit on the layer "Simulation", added with colour 4.
  ASSERT_EQ(page_->layerNames(), std::vector<std::string>{"Simulation"});
  drawhost::Cell *colour = page_->sheet()->cellAt(6, 0, 2, false);
  ASSERT_TRUE(colour);
  EXPECT_EQ(colour->formula(), "4");
  for (const Component &component : c) {
    ASSERT_TRUE(component.show()) << component.shape->name();
    EXPECT_EQ(component.show()->cellAt(1, 6, 0, false)->formula(), "\"1\"");
    EXPECT_EQ(component.show()->cellAt(1, 12, 0, false)->formula(),
              component.shape->name() + (component.kind == ComponentKind::Ground
                                             ? "!Controls.X1+LocPinX-PinX"
                                             : "!Controls.X2+LocPinX-PinX"));
    EXPECT_EQ(component.show()->cellAt(1, 15, 11, false)->formula(), "1");
  }
  // PartID get answers from the XML, not from what the circuit gave.
  EXPECT_EQ(c[1].partId(), "R?");
  EXPECT_EQ(c[3].partId(), "");
  saveNetlist("rail-two-resistors", c);

  // A second layout with unchanged results writes nothing.
  const std::size_t before = host_->record().size();
  ASSERT_EQ(circuit()->SolveDC(), S_OK);
  for (const Component &component : c)
    EXPECT_EQ(component.ocx->OnAdvise(qorMaskNone), S_OK);
  EXPECT_EQ(writesSince(before), 0);
  EXPECT_EQ(c[1].shownText(), "Idc = 3.00 mA");
}

TEST_F(ComponentControls, EveryKindOnOnePageWithTheSourceAtSixPointTwoFiveVolts) {
  // Source P - R1 - L1 - R2 - ground, C across R2, rail - R3 - source P.
  std::vector<Component> c = draw("V1 p 0; R1 p a; L1 a b; R2 b 0; C1 b 0; P1 r; R3 r p; G1 0");
  // The source's value through its property sheet: OK after a changed Vdc.
  {
    WindowUser user("DC Voltage Source Properties",
                    {[](HWND sheet) { return enterValue(sheet, 1, "6.25"); },
                     [](HWND sheet) { return press(sheet, IDOK); }});
    ASSERT_EQ(c[0].ocx->ShowProperties(), S_OK);
    ASSERT_TRUE(user.finished());
  }
  Bstr value;
  ASSERT_EQ(lib_->FormatValue(6.25, 3, 1, VARIANT_FALSE, value.receive()), S_OK);
  EXPECT_EQ(c[0].bodyText(), "\"V1\n" + value.toAnsi() + " V\"");
  host_->fireIdle();
  // The source holds P at 6.25 V: 6.25 V over R1 and R2 in series (the
  // coil a short, the capacitor open), 0.25 V back over R3 to the rail.
  EXPECT_NEAR(result(c[1], "Idc"), 6.25 / 2000, 1e-12);
  EXPECT_NEAR(result(c[6], "Idc"), (6.0 - 6.25) / 1000, 1e-12);
  EXPECT_NEAR(result(c[4], "Vdc"), 6.25 / 2, 1e-9);
  for (const Component &component : c) {
    EXPECT_EQ(component.mark(), "") << component.shape->name();
    EXPECT_NE(component.shownText().find(" = "), std::string::npos) << component.shape->name();
    EXPECT_EQ(component.shownText().find('?'), std::string::npos) << component.shownText();
  }
  saveNetlist("every-kind", c);
}

TEST_F(ComponentControls, ErrorMarkSequencesOfEveryKind) {
  std::vector<Component> c = drop({{ComponentKind::Ground, 0},
                                   {ComponentKind::PowerRail, 1},
                                   {ComponentKind::Resistor, 2},
                                   {ComponentKind::Inductor, 3},
                                   {ComponentKind::Capacitor, 4},
                                   {ComponentKind::DcSource, 5}});
  for (const Component &component : c) {
    const std::vector<std::string> &pins = kindOf(component.kind).pins;
    const std::string a = pins[0], b = pins.size() > 1 ? pins[1] : "";
    SCOPED_TRACE(component.shape->name());
    EXPECT_EQ(component.ocx->put_ErrorMark(nullptr), S_OK);
    EXPECT_EQ(component.mark(), "");
    EXPECT_EQ(component.ocx->put_ErrorMark(Bstr(a).get()), S_OK);
    EXPECT_EQ(component.mark(), a);
    EXPECT_EQ(component.ocx->put_ErrorMark(Bstr(std::string("*")).get()), S_OK);
    EXPECT_EQ(component.mark(), "*," + a);
    EXPECT_EQ(component.shape->cell("User.Error", false)->formula(), "TRUE");
    if (!b.empty()) {
      EXPECT_EQ(component.ocx->put_ErrorMark(Bstr(b).get()), S_OK);
      EXPECT_EQ(component.mark(), "*," + a + "," + b);
    }
    const std::size_t before = host_->record().size();
    for (const char *refused : {"B", "C", "*A", "P,M", "a"}) {
      if (refused == b || (b.empty() && std::string(refused) == a))
        continue;
      EXPECT_EQ(component.ocx->put_ErrorMark(Bstr(std::string(refused)).get()), E_INVALIDARG)
          << refused;
    }
    EXPECT_EQ(writesSince(before), 0);
    EXPECT_EQ(component.ocx->put_ErrorMark(Bstr(std::string()).get()), S_OK);
    EXPECT_EQ(component.mark(), "");
    EXPECT_EQ(component.shape->cell(std::string("Connections.") + a + ".A", false)->formula(),
              "FALSE");
  }
}

TEST_F(ComponentControls, CapacitorsInSeriesShowNoValueUntilRewired) {
  std::vector<Component> c = draw("P1 a; C1 a b; C2 b 0; G1 0");
  for (int i : {1, 2}) {
    EXPECT_EQ(c[i].shownText(), "Vdc = ?") << i;
    EXPECT_EQ(c[i].shape->cell("User.Error", false)->formula(), "TRUE") << i;
    EXPECT_TRUE(std::isinf(result(c[i], "Vdc"))) << i;
  }
  EXPECT_EQ(c[3].shownText(), "Idc = ?");
  // A resistor from the middle node to ground gives it a DC path.
  std::vector<Component> r = drop({{ComponentKind::Resistor, 5}});
  wire(c[1], 1, r[0], 0);
  wire(r[0], 1, c[3], 0);
  host_->fireIdle();
  for (const Component &component : c) {
    EXPECT_EQ(component.mark(), "") << component.shape->name();
    EXPECT_EQ(component.shownText().find('?'), std::string::npos) << component.shownText();
  }
  EXPECT_NEAR(result(c[2], "Vdc"), 0.0, 1e-12);
  EXPECT_NEAR(result(c[1], "Vdc"), 6.0, 1e-12);
}

// Bound when dropped, the control takes its shape's identifier, registers
// with UpdateDrawing and turns dirty; saved (and so clean), bound again, it
// registers again without UpdateDrawing and stays clean.
TEST_F(ComponentControls, BindingTwiceMarksDirtyOnlyForANewIdentifier) {
  passive_test::SimulatorRecorder recorder(qorsim_test::workPhases);
  ASSERT_TRUE(recorder.registered());
  std::vector<Component> c = drop({{ComponentKind::Resistor, 0}});
  Bstr guid;
  ASSERT_EQ(c[0].data->get_CompGUID(guid.receive()), S_OK);
  Bstr shapeId;
  ASSERT_EQ(c[0].shape->get_UniqueID(0, shapeId.receive()), S_OK);
  EXPECT_EQ(guid.toAnsi(), shapeId.toAnsi());
  VARIANT_BOOL dirty = VARIANT_FALSE;
  c[0].data->get_DirtyFlag(&dirty);
  EXPECT_EQ(dirty, VARIANT_TRUE) << "a new shape's identifier makes the control dirty";
  ComPtr<IPersistStreamInit> persist = c[0].ocx.query<IPersistStreamInit>();
  EXPECT_EQ(persist->IsDirty(), S_OK);
  ASSERT_TRUE(savedStream(persist.get(), TRUE));
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ComPtr<IOleControl> control = c[0].ocx.query<IOleControl>();
  ASSERT_TRUE(control);
  CONTROLINFO info = {};
  info.cb = sizeof info;
  EXPECT_EQ(control->GetControlInfo(&info), E_NOTIMPL);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  EXPECT_EQ(recorder.log.calls, (std::vector<std::string>{"OcxMapInsert update", "OcxMapInsert"}));
  ComPtr<IQorOcx> registered;
  ASSERT_EQ(circuit()->OcxMapFind(guid.get(), registered.receive()), S_OK);
  EXPECT_TRUE(base::sameObject(registered.get(), c[0].ocx.get()));
  // DirtyFlag only raises the state.
  c[0].data->put_DirtyFlag(VARIANT_TRUE);
  c[0].data->put_DirtyFlag(VARIANT_FALSE);
  c[0].data->get_DirtyFlag(&dirty);
  EXPECT_EQ(dirty, VARIANT_TRUE);
}

// A copy of a component: a new shape whose control loads the original's
// saved state, then binds: it takes the copy's identifier and turns dirty.
TEST_F(ComponentControls, ACopiedShapeGetsANewIdentifierAndTurnsDirty) {
  std::vector<Component> c = drop({{ComponentKind::Capacitor, 0}});
  ComPtr<IStream> stream = savedStream(c[0].ocx.query<IPersistStreamInit>().get(), TRUE);
  ASSERT_TRUE(stream);
  drawhost::Shape *copy = componentShape(masterOf(ComponentKind::Capacitor), 1, 0);
  CLSID clsid;
  ASSERT_EQ(c[0].ocx.query<IPersist>()->GetClassID(&clsid), S_OK);
  ASSERT_EQ(copy->insertSavedObject(clsid, stream.get()), S_OK);
  ComPtr<IUnknown> object;
  ASSERT_EQ(copy->members().back()->get_Object(object.receive()), S_OK);
  ComPtr<IQorOcx2> data = object.query<IQorOcx2>();
  Bstr original, copied, copyId;
  c[0].data->get_CompGUID(original.receive());
  data->get_CompGUID(copied.receive());
  copy->get_UniqueID(0, copyId.receive());
  EXPECT_NE(copied.toAnsi(), original.toAnsi());
  EXPECT_EQ(copied.toAnsi(), copyId.toAnsi());
  VARIANT_BOOL dirty = VARIANT_FALSE;
  data->get_DirtyFlag(&dirty);
  EXPECT_EQ(dirty, VARIANT_TRUE);
}

TEST_F(ComponentControls, APartIdWithAQuoteGivesAValidLabelFormula) {
  std::vector<Component> c = drop({{ComponentKind::Resistor, 0}});
  ASSERT_EQ(c[0].ocx->put_PartID(Bstr(std::string("R\"1")).get()), S_OK);
  std::string shown;
  ASSERT_TRUE(passive::stringOfFormula(c[0].bodyText(), shown)) << c[0].bodyText();
  EXPECT_EQ(shown, "R\"1\n1.0 kohm");
  EXPECT_EQ(c[0].bodyText(), "\"R\"\"1\n1.0 kohm\"");
  // The same ID again touches nothing.
  const std::size_t before = host_->record().size();
  ASSERT_EQ(c[0].ocx->put_PartID(Bstr(std::string("R\"1")).get()), S_OK);
  EXPECT_EQ(writesSince(before), 0);
}

// The resistor's real sheet, driven by messages: OK with a changed R,
// Apply then Close. (Cancel: ASaveWhileTheSheetIsOpenThenCancelKeepsNothingUnconfirmed.)
TEST_F(ComponentControls, TheRealSheetOksAndKeepsWhatWasApplied) {
  std::vector<Component> c = draw("P1 a; R1 a 0; G1 0");
  ASSERT_EQ(c[1].shownText(), "Idc = 6.00 mA");

  // OK with a changed R: re-solved, and label and result text follow.
  {
    std::vector<WindowUser::Step> steps = typeValue(1, "2000");
    steps.push_back([](HWND sheet) { return press(sheet, IDOK); });
    WindowUser user("Resistor Properties", steps);
    ASSERT_EQ(c[1].ocx->ShowProperties(), S_OK);
    ASSERT_TRUE(user.finished());
  }
  EXPECT_NE(c[1].dataStr1().find("TEXT=\"2000\""), std::string::npos);
  EXPECT_EQ(c[1].bodyText(), "\"R1\n2.0 kohm\"");
  EXPECT_EQ(c[1].shownText(), "Idc = 3.00 mA");
  EXPECT_NEAR(result(c[1], "Idc"), 6.0 / 2000, 1e-15);
  VARIANT_BOOL dirty = VARIANT_FALSE;
  EXPECT_EQ(c[1].data->get_DirtyFlag(&dirty), S_OK);
  EXPECT_EQ(dirty, VARIANT_TRUE);

  // Apply, then Close (the OK button reads "Close" after an Apply, and
  // Cancel is disabled): the applied value stays in document, device and
  // drawing. Then the same through the close box, which ends the sheet as
  // Cancel does: what was applied stays all the same.
  struct Ending {
    const char *value, *label, *shown;
    bool closeBox;
    double amps;
  };
  const Ending endings[] = {{"500", "\"R1\n500 ohm\"", "Idc = 12.0 mA", false, 6.0 / 500},
                            {"1500", "\"R1\n1.5 kohm\"", "Idc = 4.00 mA", true, 6.0 / 1500}};
  for (const Ending &ending : endings) {
    std::string okText;
    bool cancelEnabled = true;
    {
      WindowUser user("Resistor Properties",
                      {[&](HWND sheet) { return enterValue(sheet, 1, ending.value); },
                       [](HWND sheet) { return press(sheet, ApplyButton); },
                       [&](HWND sheet) {
                         okText = test_windows::windowText(GetDlgItem(sheet, IDOK));
                         cancelEnabled = IsWindowEnabled(GetDlgItem(sheet, IDCANCEL)) != FALSE;
                         return okText == "Close" && !cancelEnabled;
                       },
                       [&](HWND sheet) {
                         if (ending.closeBox)
                           PostMessageA(sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
                         else
                           press(sheet, IDOK);
                         return true;
                       }});
      ASSERT_EQ(c[1].ocx->ShowProperties(), S_OK);
      ASSERT_TRUE(user.finished()) << "OK reads " << okText << ", Cancel enabled " << cancelEnabled;
    }
    EXPECT_NE(c[1].dataStr1().find(std::string("TEXT=\"") + ending.value + "\""),
              std::string::npos);
    EXPECT_EQ(c[1].bodyText(), ending.label);
    EXPECT_EQ(c[1].shownText(), ending.shown);
    EXPECT_NEAR(result(c[1], "Idc"), ending.amps, 1e-15);
  }
  // The circuit's own next solve agrees with what the drawing shows.
  ASSERT_TRUE(circuit());
  ASSERT_EQ(circuit()->SolveDC(), S_OK);
  EXPECT_NEAR(result(c[1], "Idc"), 6.0 / 1500, 1e-15);
  EXPECT_EQ(c[1].shownText(), "Idc = 4.00 mA");
}

// The sheet's page at index, once it is in front.
WindowUser::Step showPage(int index) {
  return [index](HWND sheet) {
    if (SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0) == 0)
      return false;
    SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    return SendMessageA(sheet, PSM_HWNDTOINDEX,
                        static_cast<WPARAM>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)),
                        0) == index;
  };
}

// A numbered part's sheet shows the identifier the drawing shows, on the
// Parameters page and on the Format page; one typed on the Parameters page
// shows on the Format page before OK.
TEST_F(ComponentControls, TheSheetsShowThePartsIdentifierOnEveryPage) {
  std::vector<Component> c = draw("P1 a; R1 a 0; G1 0");
  struct Case {
    std::size_t part;
    const char *caption, *numbered, *typed;
  } cases[] = {{1, "Resistor Properties", "R1", "R7"},
               {0, "DC Voltage Source Properties", "V1", "Vin"}};
  for (const Case &test : cases) {
    SCOPED_TRACE(test.caption);
    ASSERT_EQ(c[test.part].partId(), std::string(test.numbered).substr(0, 1) + "?");
    ASSERT_NE(c[test.part].bodyText().find(test.numbered), std::string::npos)
        << "the drawing shows " << c[test.part].bodyText();
    std::string onParameters, onFormat, typedOnFormat;
    auto formatRow = [](HWND sheet, std::string &text) {
      HWND page = shownPage(sheet);
      text = page ? uikit_test::cellText(GetDlgItem(page, IDC_FORMAT_PARAMS_LIST), 0, 0) : "";
      return !text.empty();
    };
    {
      WindowUser user(test.caption,
                      {[&](HWND sheet) {
                         HWND page = shownPage(sheet);
                         onParameters =
                             page ? uikit_test::cellText(GetDlgItem(page, IDC_PARAMS_LIST), 0, 1)
                                  : "";
                         return !onParameters.empty();
                       },
                       showPage(2), [&](HWND sheet) { return formatRow(sheet, onFormat); },
                       showPage(0), [&](HWND sheet) { return enterValue(sheet, 0, test.typed); },
                       showPage(2), [&](HWND sheet) { return formatRow(sheet, typedOnFormat); },
                       [](HWND sheet) { return press(sheet, IDCANCEL); }});
      ASSERT_EQ(c[test.part].ocx->ShowProperties(), S_OK);
      ASSERT_TRUE(user.finished());
    }
    EXPECT_EQ(onParameters, test.numbered);
    EXPECT_EQ(onFormat, test.numbered);
    EXPECT_EQ(typedOnFormat, test.typed);
  }
}

// The ground opens its own dialog: OK keeps its edits and re-lays out the
// result without a solve.
TEST_F(ComponentControls, TheGroundsDialogOksWithoutASolve) {
  std::vector<Component> c = draw("P1 a; R1 a 0; G1 0");
  ASSERT_NE(c[2].shownText().find("6.00 mA"), std::string::npos) << c[2].shownText();
  {
    WindowUser user("GND (Ground) Properties",
                    {[](HWND dialog) { return press(dialog, IDC_GND_SHOW_RESULT); },
                     [](HWND dialog) {
                       return IsDlgButtonChecked(dialog, IDC_GND_SHOW_RESULT) == BST_UNCHECKED;
                     },
                     [](HWND dialog) { return press(dialog, IDOK); }});
    ASSERT_EQ(c[2].ocx->ShowProperties(), S_OK);
    ASSERT_TRUE(user.finished());
  }
  EXPECT_NE(c[2].dataStr1().find("<RESULT ORDER=\"\""), std::string::npos) << c[2].dataStr1();
  EXPECT_EQ(c[2].shownText(), "");
  VARIANT_BOOL dirty = VARIANT_FALSE;
  EXPECT_EQ(c[2].data->get_DirtyFlag(&dirty), S_OK);
  EXPECT_EQ(dirty, VARIANT_TRUE);
}

// The bytes the control's stream persistence writes now.
std::string savedBytes(const ComPtr<IQorOcx> &control) {
  return testing_support::savedBytes(control.query<IPersistStreamInit>().get(), FALSE);
}

// A drawing saved while the resistor's sheet or the ground's dialog is open
// holds the state before it opened; Cancel then leaves DataStr1, the
// document and the drawing as they were, whatever the pages had edited.
TEST_F(ComponentControls, ASaveWhileTheSheetIsOpenThenCancelKeepsNothingUnconfirmed) {
  std::vector<Component> c = draw("P1 a; R1 a 0; G1 0");
  struct Case {
    std::size_t part;
    const char *caption;
    WindowUser::Step edit;
  } cases[] = {
      {1, "Resistor Properties", [](HWND sheet) { return enterValue(sheet, 1, "2000"); }},
      {2, "GND (Ground) Properties",
       [](HWND dialog) {
         return press(dialog, IDC_GND_SHOW_RESULT) &&
                IsDlgButtonChecked(dialog, IDC_GND_SHOW_RESULT) == BST_UNCHECKED;
       }},
  };
  for (const Case &test : cases) {
    SCOPED_TRACE(test.caption);
    Component &part = c[test.part];
    const std::string before = part.dataStr1(), label = part.bodyText(), shown = part.shownText();
    const std::string savedBefore = savedBytes(part.ocx);
    std::string whileOpen, savedWhileOpen;
    {
      WindowUser user(test.caption, {test.edit,
                                     [&](HWND) {
                                       whileOpen = part.dataStr1();
                                       savedWhileOpen = savedBytes(part.ocx);
                                       return true;
                                     },
                                     [](HWND window) { return press(window, IDCANCEL); }});
      ASSERT_EQ(part.ocx->ShowProperties(), S_OK);
      ASSERT_TRUE(user.finished());
    }
    EXPECT_EQ(whileOpen, before);
    EXPECT_TRUE(savedWhileOpen == savedBefore) << "the saved stream holds the unconfirmed edit";
    EXPECT_EQ(part.dataStr1(), before); // read from the document once the sheet is closed
    EXPECT_TRUE(savedBytes(part.ocx) == savedBefore);
    EXPECT_EQ(part.bodyText(), label);
    EXPECT_EQ(part.shownText(), shown);
  }
  EXPECT_EQ(c[1].shownText(), "Idc = 6.00 mA");
}

// Both persistence routes give back CompGUID, DataStr1 with the last
// results and DataStr2 byte for byte; damaged streams fail and change
// nothing.
TEST_F(ComponentControls, SaveAndReloadByBothRoutes) {
  std::vector<Component> c = draw("P1 a; R1 a 0; G1 0");
  ASSERT_EQ(c[1].data->put_DataStr2(Bstr(std::string("free \"text\" \xe9")).get()), S_OK);
  Bstr guid, xml, second;
  c[1].data->get_CompGUID(guid.receive());
  c[1].data->get_DataStr1(xml.receive());
  c[1].data->get_DataStr2(second.receive());
  ASSERT_NE(xml.toAnsi().find("0X4018"), std::string::npos) << "the last results: 6 mA";

  auto check = [&](IUnknown *reloaded, const char *route) {
    ComPtr<IQorOcx2> data = ComPtr<IUnknown>(reloaded).query<IQorOcx2>();
    Bstr g, d1, d2;
    data->get_CompGUID(g.receive());
    data->get_DataStr1(d1.receive());
    data->get_DataStr2(d2.receive());
    EXPECT_EQ(g.length(), guid.length()) << route;
    EXPECT_EQ(std::wstring(g.get(), g.length()), std::wstring(guid.get(), guid.length())) << route;
    EXPECT_EQ(std::wstring(d1.get(), d1.length()), std::wstring(xml.get(), xml.length())) << route;
    EXPECT_EQ(std::wstring(d2.get(), d2.length()), std::wstring(second.get(), second.length()))
        << route;
    EXPECT_EQ(ComPtr<IUnknown>(reloaded).query<IPersistStreamInit>()->IsDirty(), S_FALSE) << route;
  };

  // The stream route.
  ComPtr<IStream> stream = savedStream(c[1].ocx.query<IPersistStreamInit>().get(), TRUE);
  ASSERT_TRUE(stream);
  ComPtr<IUnknown> fromStream = createControl(ComponentKind::Resistor);
  ASSERT_EQ(fromStream.query<IPersistStreamInit>()->Load(stream.get()), S_OK);
  check(fromStream.get(), "stream");

  // The storage route: the same bytes in the stream "Contents".
  ComPtr<ILockBytes> bytes;
  ASSERT_EQ(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.receive()), S_OK);
  ComPtr<IStorage> storage;
  ASSERT_EQ(StgCreateDocfileOnILockBytes(bytes.get(),
                                         STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                         storage.receive()),
            S_OK);
  ASSERT_EQ(c[1].ocx.query<IPersistStorage>()->Save(storage.get(), FALSE), S_OK);
  ComPtr<IUnknown> fromStorage = createControl(ComponentKind::Resistor);
  ASSERT_EQ(fromStorage.query<IPersistStorage>()->Load(storage.get()), S_OK);
  check(fromStorage.get(), "storage");
  {
    ComPtr<IStream> contents;
    ASSERT_EQ(storage->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                  contents.receive()),
              S_OK);
    STATSTG a = {}, b = {};
    contents->Stat(&a, STATFLAG_NONAME);
    stream->Stat(&b, STATFLAG_NONAME);
    EXPECT_EQ(a.cbSize.QuadPart, b.cbSize.QuadPart);
  }

  // Damaged copies of the saved stream: the load fails, the control keeps
  // its template.
  const std::string saved = savedBytes(c[1].ocx);
  // Whole framing, every count right, but DataStr1 is no document: the
  // identifier before it must not stay behind either.
  auto unparsableDocument = [](const std::string &bytes) {
    com::ControlProperties properties;
    com::MemorySource source(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    EXPECT_EQ(com::readControlProperties(source, 3, properties), com::StreamStatus::Ok);
    properties.texts.at(1).null = false;
    properties.texts.at(1).units = u"<COMPONENT NAME=\"cut";
    return com::writeControlProperties(properties);
  };
  auto put32 = [](std::string bytesCopy, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
      bytesCopy[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytesCopy;
  };
  const struct {
    const char *what;
    std::string bytes;
  } damaged[] = {
      {"version 0x301", put32(saved, 0, 0x301)},
      {"odd count", put32(saved, 14, 77)},
      {"over-long count", put32(saved, 14, 0x7FFFFFF0)},
      {"truncated", saved.substr(0, saved.size() - 3)},
      {"a document that does not parse", unparsableDocument(saved)},
  };
  for (const auto &d : damaged) {
    ComPtr<IUnknown> control = createControl(ComponentKind::Resistor);
    Bstr fresh;
    control.query<IQorOcx2>()->get_DataStr1(fresh.receive());
    EXPECT_TRUE(FAILED(control.query<IPersistStreamInit>()->Load(memoryStream(d.bytes).get())))
        << d.what;
    Bstr after, afterGuid;
    control.query<IQorOcx2>()->get_DataStr1(after.receive());
    control.query<IQorOcx2>()->get_CompGUID(afterGuid.receive());
    EXPECT_EQ(after.toAnsi(), fresh.toAnsi()) << d.what;
    EXPECT_EQ(afterGuid.toAnsi(), "") << d.what;
  }
}

// A whole page saved and reloaded through the controls' persistence: the
// reloaded controls bind again, keep their results and solve to the same
// values.
TEST_F(ComponentControls, APageSavedAndReloadedKeepsItsResults) {
  std::vector<Component> c = draw("P1 a; R1 a b; R2 b 0; G1 0");
  for (bool storage : {false, true}) {
    SCOPED_TRACE(storage ? "storage" : "stream");
    std::vector<std::string> before;
    for (const Component &component : c)
      before.push_back(component.dataStr1());
    ASSERT_EQ(page_->reloadControls(storage), S_OK);
    for (std::size_t i = 0; i < c.size(); ++i) {
      ComPtr<IUnknown> object;
      for (const auto &member : c[i].shape->members())
        if (member->holdsObject())
          member->get_Object(object.receive());
      ComPtr<IQorOcx2> data = object.query<IQorOcx2>();
      ASSERT_TRUE(data);
      EXPECT_FALSE(base::sameObject(data.get(), c[i].data.get())) << "a new control object";
      c[i].data = data;
      c[i].ocx = object.query<IQorOcx>();
      EXPECT_EQ(c[i].dataStr1(), before[i]);
    }
    host_->fireIdle();
    EXPECT_EQ(c[1].shownText(), "Idc = 3.00 mA");
    EXPECT_NEAR(result(c[2], "Idc"), 3e-3, 1e-15);
  }
}

// What an Apply wrote on the drawing since from: "label" for the shape's
// label text, "layout" for the result text shape (its cells, text or the
// shape itself).
std::set<std::string> drawingWritesSince(const drawhost::StandInHost &host, std::size_t from) {
  std::set<std::string> kinds;
  for (std::size_t i = from; i < host.record().size(); ++i) {
    const std::string &line = host.record()[i];
    if (line.find("!User.BodyText = ") != std::string::npos)
      kinds.insert("label");
    else
      for (const char *prefix : {"SetFormulas", "  batch", "Text ", "DrawRectangle"})
        if (line.rfind(prefix, 0) == 0)
          kinds.insert("layout");
  }
  return kinds;
}

// Applies on the real resistor sheet, one page at a time: the Parameters
// page's reaches the real QorSim as the part ID for the circuit, the
// device's new value and a solve, in that order, each call's work being
// QorSim's own report of it; Format gives the label and the layout,
// Results the layout only, and neither reaches the simulator.
TEST_F(ComponentControls, EachPagesApplyDrawsAndReachesTheSimulatorAsItNeeds) {
  std::vector<Component> c = draw("P1 a; R1 a 0; G1 0");
  ASSERT_EQ(c[1].shownText(), "Idc = 6.00 mA");

  struct Case {
    const char *name;
    int page, list;
    std::function<void(HWND page)> change;
    std::vector<std::string> calls;
    std::set<std::string> written;
    const char *label, *shown;
  };
  const Case cases[] = {
      {"parameters",
       0,
       IDC_PARAMS_LIST,
       [](HWND page) {
         uikit_test::endEdit(page, 0, "R7");
         uikit_test::endEdit(page, 1, "2000");
       },
       {"OcxMapPartID put R7: numbering", "UpdateParams", "SolveDC: newton advice"},
       {"label", "layout"},
       "\"R7\n2.0 kohm\"",
       "Idc = 3.00 mA"},
      {"format",
       2,
       IDC_FORMAT_PARAMS_LIST,
       [&](HWND page) {
         uikit_test::selectRow(page, 1, IDC_FORMAT_PARAMS_LIST); // R: its name on the label
         SendDlgItemMessageA(page, IDC_FORMAT_SHOW_NAME, BM_CLICK, 0, 0);
         // Idc, the one shown: without its name.
         uikit_test::selectRow(page, 0, IDC_FORMAT_RESULTS_LIST);
         SendDlgItemMessageA(page, IDC_FORMAT_SHOW_NAME, BM_CLICK, 0, 0);
       },
       {},
       {"label", "layout"},
       "\"R7\nR = 2.0 kohm\"",
       "3.00 mA"},
      {"results",
       1,
       IDC_RESULTS_LIST,
       [](HWND page) {
         LVITEMA state = {};
         state.stateMask = LVIS_STATEIMAGEMASK;
         state.state = INDEXTOSTATEIMAGEMASK(2); // Pdc checked as well
         SendDlgItemMessageA(page, IDC_RESULTS_LIST, LVM_SETITEMSTATE, 0,
                             reinterpret_cast<LPARAM>(&state));
       },
       {},
       {"layout"},
       "\"R7\nR = 2.0 kohm\"",
       "3.00 mA\nPdc = 18.0 mW"},
  };
  for (const Case &test : cases) {
    SCOPED_TRACE(test.name);
    passive_test::SimulatorRecorder recorder(qorsim_test::workPhases);
    ASSERT_TRUE(recorder.registered());
    const std::size_t phasesBefore = qorsim_test::workPhases.size();
    std::set<std::string> written;
    std::size_t recordFrom = 0;
    std::vector<std::string> atApply = {"(not applied)"};
    std::size_t phasesAtApply = 0;
    {
      WindowUser user("Resistor Properties",
                      {[&](HWND sheet) {
                         PostMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(test.page), 0);
                         return true;
                       },
                       [&](HWND sheet) {
                         HWND page = shownPage(sheet);
                         if (!page || !GetDlgItem(page, test.list) || !recorder.log.calls.empty())
                           return false;
                         test.change(page);
                         recordFrom = host_->record().size();
                         return press(sheet, ApplyButton);
                       },
                       [&](HWND sheet) {
                         if (test_windows::windowText(GetDlgItem(sheet, IDOK)) != "Close")
                           return false;
                         written = drawingWritesSince(*host_, recordFrom);
                         atApply = recorder.log.calls;
                         phasesAtApply = qorsim_test::workPhases.size();
                         return true;
                       },
                       [](HWND sheet) { return press(sheet, IDOK); }});
      ASSERT_EQ(c[1].ocx->ShowProperties(), S_OK);
      ASSERT_TRUE(user.finished());
    }
    EXPECT_EQ(atApply, test.calls);
    if (test.calls.empty()) {
      EXPECT_EQ(phasesAtApply, phasesBefore) << "QorSim did no work";
    }
    EXPECT_EQ(written, test.written);
    EXPECT_EQ(c[1].bodyText(), test.label);
    EXPECT_EQ(c[1].shownText(), test.shown);
  }
  // What QorSim did with the parameters: the circuit knows the part as R7,
  // and the solve used the new resistance.
  Bstr key, mapped;
  ASSERT_EQ(c[1].data->get_CompGUID(key.receive()), S_OK);
  ASSERT_EQ(circuit()->get_OcxMapPartID(key.get(), mapped.receive()), S_OK);
  EXPECT_EQ(mapped.toAnsi(), "R7");
  EXPECT_NEAR(result(c[1], "Idc"), 6.0 / 2000, 1e-15);
}

} // namespace
