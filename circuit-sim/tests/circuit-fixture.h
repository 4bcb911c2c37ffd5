// The fixture of the circuit tests through the real QorSim.dll: component
// controls of the test on pages of the stand-in host register with the
// page's circuit, and devices come from the test device server by
// programmatic identifier.
#ifndef CIRCUIT_SIM_TESTS_CIRCUIT_FIXTURE_H
#define CIRCUIT_SIM_TESTS_CIRCUIT_FIXTURE_H

#include "QorSim.h"
#include "circuit-sim/tests/test-control.h"
#include "circuit-sim/tests/test-netlist.h"
#include "testing/server-exports.h"

#include "platform/com/win32/object.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace qorsim_test {

using drawhost::Shape;

inline std::string exactText(double value) {
  std::ostringstream text;
  text.precision(17);
  text << value;
  return text.str();
}

struct Part {
  Shape *shape = nullptr;
  ComPtr<com::Object<TestControl>> control;
  std::string key;
};

// A page drawn from netlist lines: its parts by line name, in line order,
// and its wires by the pin each joins to its net ("R1.B").
struct Drawing : circuit_test::NamedParts<Part> {
  std::map<std::string, Shape *> wireTo;
  std::vector<const Part *> all() const {
    std::vector<const Part *> every;
    for (const auto &named : parts)
      every.push_back(&named.second);
    return every;
  }
};

using LoadCount = LONG(WINAPI *)();

using testing_support::callExport;

class Circuit : public testing::Test {
protected:
  // One host for the whole run, as there is one simulator root per
  // process: a second host would hand out the same page keys again.
  static void SetUpTestSuite() {
    if (host_)
      return;
    CoInitialize(nullptr);
    qorSim_ = LoadLibraryA(testing_support::hostPath(QORSIM_DLL).c_str());
    devices_ = LoadLibraryA(testing_support::hostPath(TEST_DEVICES_DLL).c_str());
    ASSERT_TRUE(qorSim_ && devices_);
    ASSERT_EQ(callExport(qorSim_, "DllRegisterServer"), S_OK);
    ASSERT_EQ(callExport(devices_, "DllRegisterServer"), S_OK);
    host_ = new drawhost::StandInHost();
  }

public:
  static void shutDown() {
    if (!host_)
      return;
    delete host_;
    host_ = nullptr;
    EXPECT_EQ(callExport(devices_, "DllUnregisterServer"), S_OK);
    EXPECT_EQ(callExport(qorSim_, "DllUnregisterServer"), S_OK);
    CoUninitialize();
  }

protected:
  // A new page per test: the host's identifiers keep counting, so no two
  // tests share a page key with the process's one simulator root.
  void SetUp() override {
    document_ = host_->addDocument("C:\\Drawings\\", "Circuit.vsd");
    page_ = document_->addPage("Page-1");
    circuit_ = findSim(page_);
    ASSERT_TRUE(circuit_);
    vectors_ = circuit_.query<IQorSimDC>();
    ASSERT_TRUE(vectors_);
  }
  void TearDown() override {
    // Quit breaks the circuit's references to its devices and controls.
    if (circuit_) {
      EXPECT_EQ(circuit_->Quit(), S_OK);
    }
  }

  // The circuit the process's simulator root hands out for the page.
  static ComPtr<IQorSimCkt> findSim(drawhost::Page *page) {
    ComPtr<IQorSimCkt> circuit = pageCircuit(page);
    EXPECT_TRUE(circuit);
    return circuit;
  }
  Shape *componentShape(const std::vector<std::string> &pins, double x, double y) {
    Shape *shape = page_->addShape(2, "Component");
    for (const std::string &pin : pins)
      shape->addConnectionPoint(pin);
    shape->cell("User.QOR", true)->setQuietly("1");
    shape->cell("PinX", true)->setQuietly(exactText(x));
    shape->cell("PinY", true)->setQuietly(exactText(y));
    return shape;
  }
  Part control(Shape *shape, const char *kind, const std::string &value) {
    Part part;
    part.shape = shape;
    part.key = shape->uniqueId(true);
    const std::string k = kind;
    const std::string id = k == "TestVdc"     ? "V?"
                           : k == "TestCap"   ? "C?"
                           : k == "TestDiode" ? "D?"
                           : k == "TestGnd"   ? "G?"
                                              : "R?";
    part.control = ComPtr<com::Object<TestControl>>::adopt(
        new com::Object<TestControl>(shape, std::string("QOR.") + kind + ".1", value, id));
    return part;
  }
  HRESULT registerPart(const Part &part, IQorOcx *control = nullptr) {
    return circuit_->OcxMapInsert(Bstr(part.key).get(), part.shape,
                                  control ? control : part.control.get(), VARIANT_TRUE);
  }
  // A registered component; sources have pins P and M, the rest A and B.
  Part add(const char *kind, const std::string &value, double x = 0.0, double y = 0.0) {
    std::vector<std::string> pins = {"A", "B"};
    if (std::string(kind) == "TestVdc")
      pins = {"P", "M"};
    Part part = control(componentShape(pins, x, y), kind, value);
    EXPECT_EQ(registerPart(part), S_OK);
    return part;
  }
  Shape *wire(const Part &from, short fromRow, const Part &to, short toRow) {
    Shape *connector = page_->addShape(3, "Wire");
    connector->setOneD(true);
    page_->glue(connector, 9, from.shape, fromRow);
    page_->glue(connector, 12, to.shape, toRow);
    return connector;
  }
  // The test devices of netlist lines (test-netlist.h): V, R, C, D and G,
  // or the device the model names ("TestBroken"), each registered one unit
  // right of the line before; a diode's or a ground's value is 0.
  Drawing draw(const std::string &netlist) {
    Drawing drawing;
    const std::vector<circuit_test::NetlistPart> lines = circuit_test::parseNetlist(netlist);
    for (const circuit_test::NetlistPart &line : lines) {
      const char *kind = !line.model.empty()  ? line.model.c_str()
                         : line.kind() == 'V' ? "TestVdc"
                         : line.kind() == 'C' ? "TestCap"
                         : line.kind() == 'D' ? "TestDiode"
                         : line.kind() == 'G' ? "TestGnd"
                                              : "TestRes";
      const std::string value = line.value.empty() ? "0" : circuit_test::plainValue(line.value);
      drawing.parts.emplace_back(line.name,
                                 add(kind, value, static_cast<double>(drawing.parts.size()), 0));
    }
    for (const auto &[from, to] : circuit_test::netJoins(lines)) {
      const char *pins = lines[to.part].kind() == 'V' ? "PM" : "AB";
      drawing.wireTo[lines[to.part].name + "." + pins[to.pin]] =
          wire(drawing.parts[from.part].second, static_cast<short>(from.pin),
               drawing.parts[to.part].second, static_cast<short>(to.pin));
    }
    return drawing;
  }
  long index(const std::string &net) {
    LONG found = -2;
    EXPECT_EQ(circuit_->IndexMapFind(Bstr(net).get(), &found), S_OK);
    return found;
  }
  double volts(const Part &part, const char *pin) {
    double value = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(vectors_->get_Solution(index(part.key + pin), &value), S_OK) << pin;
    return value;
  }
  static LONG deviceLoads() {
    auto function = reinterpret_cast<LoadCount>(
        reinterpret_cast<void (*)()>(GetProcAddress(devices_, "TestDeviceLoads")));
    return function ? function() : -1;
  }

  static HMODULE qorSim_, devices_;
  static drawhost::StandInHost *host_;
  drawhost::Document *document_ = nullptr;
  drawhost::Page *page_ = nullptr;
  ComPtr<IQorSimCkt> circuit_;
  ComPtr<IQorSimDC> vectors_;
};

} // namespace qorsim_test

#endif
