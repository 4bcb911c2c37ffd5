// A page of the stand-in drawing host with the real QorSim and component
// libraries registered, as the tests of the component controls use it:
// shapes made as the stencil's masters make them, dropped through the drop
// macro (CompOnDrop) so that the controls bind themselves, wired by glued
// connectors, and the results and host writes read back. A suite loads its
// servers once (startServers from SetUpTestSuite); every test gets a new
// document and page, and the page's circuit quits after it.
#ifndef PASSIVE_LIB_TESTS_CONTROL_PAGE_H
#define PASSIVE_LIB_TESTS_CONTROL_PAGE_H

#include "QorLib01.h"
#include "passive-lib/tests/xml-items.h"

#include "circuit-sim/tests/host-seams.h"
#include "circuit-sim/tests/test-control.h"
#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-ptr.h"
#include "platform/drawing-host/win32/stand-in-host.h"
#include "testing/server-exports.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace passive_test {

// What a stencil master gives a control's shape: its name, the control's
// ProgID and the names of its pins, in connection point order.
struct ControlMaster {
  std::string name;
  std::string progId;
  std::vector<std::string> pins;
};

// A control dropped on the page, with its shape.
struct DroppedControl {
  drawhost::Shape *shape = nullptr;
  base::ComPtr<IQorOcx> ocx;
  base::ComPtr<IQorOcx2> data;

  std::string bodyText() const { return shape->cell("User.BodyText", false)->formula(); }
  // The label shape the control adds to its group, or null.
  drawhost::Shape *show() const {
    for (const auto &member : shape->members())
      if (member->name() == "SHOW")
        return member.get();
    return nullptr;
  }
  std::string shownText() const {
    drawhost::Shape *s = show();
    if (!s)
      return "<no SHOW>";
    base::Bstr text;
    s->get_Text(text.receive());
    return text.toAnsi();
  }
  std::string mark() const {
    base::Bstr text;
    EXPECT_EQ(ocx->get_ErrorMark(text.receive()), S_OK);
    return text.toAnsi();
  }
  std::string dataStr1() const {
    base::Bstr text;
    EXPECT_EQ(data->get_DataStr1(text.receive()), S_OK);
    return text.toAnsi();
  }
  base::ComPtr<IXMLElement> item(const char *section, const std::string &name) const {
    return itemOf(sectionOf(data.get(), section).get(), name);
  }
};

// A new control of a ProgID, created as the host creates one; null (and a
// failure unless result takes the HRESULT) when that fails.
inline base::ComPtr<IUnknown> createControl(const std::string &progId, HRESULT *result = nullptr) {
  CLSID clsid;
  EXPECT_EQ(CLSIDFromProgID(base::Bstr(progId).get(), &clsid), S_OK) << progId;
  base::ComPtr<IUnknown> control;
  const HRESULT hr =
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, control.receiveVoid());
  if (result)
    *result = hr;
  else
    EXPECT_EQ(hr, S_OK) << progId;
  return control;
}

// Today as a fresh control writes it in CREATED ("10 Dec 2026"), from the
// clock of the machine and the English month names.
inline std::string englishDate() {
  static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%02u %s %04u", now.wDay, months[now.wMonth - 1], now.wYear);
  return text;
}

// The default value of a key under HKEY_CLASSES_ROOT, or "<missing>".
inline std::string registryText(const std::string &key) {
  char value[256] = {};
  LONG size = sizeof value;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS)
    return "<missing>";
  return value;
}

class ControlPage : public testing::Test {
protected:
  // Loads and registers the servers, in order, and opens the host with its
  // stencil. The host's own type library is registered as an installed
  // host has it: the File menu's macro passes a host page late bound.
  static void startServers(const std::vector<std::string> &dlls) {
    CoInitialize(nullptr);
    for (const std::string &dll : dlls) {
      HMODULE server = LoadLibraryA(testing_support::hostPath(dll).c_str());
      ASSERT_TRUE(server) << dll;
      servers_.push_back(server);
      ASSERT_EQ(testing_support::callExport(server, "DllRegisterServer"), S_OK) << dll;
    }
    host_ = new drawhost::StandInHost();
    host_->openStencil();
    base::Bstr hostLibraryPath(testing_support::hostPath(DRAWING_HOST_TLB));
    base::ComPtr<ITypeLib> hostLibrary;
    ASSERT_EQ(LoadTypeLibEx(hostLibraryPath.get(), REGKIND_REGISTER, hostLibrary.receive()), S_OK);
  }
  // Closes the host and unregisters the servers, the last loaded first.
  static void stopServers() {
    delete host_;
    host_ = nullptr;
    for (auto server = servers_.rbegin(); server != servers_.rend(); ++server)
      EXPECT_EQ(testing_support::callExport(*server, "DllUnregisterServer"), S_OK);
    servers_.clear();
    CoUninitialize();
  }

  void SetUp() override {
    ASSERT_EQ(CoCreateInstance(CLSID_QorLib, nullptr, CLSCTX_INPROC_SERVER, IID_IQorLib,
                               lib_.receiveVoid()),
              S_OK);
    static int pages = 0;
    document_ = host_->addDocument("C:\\Drawings\\", "Controls" + std::to_string(++pages) + ".vsd");
    page_ = document_->addPage("Page-1");
  }
  void TearDown() override {
    if (base::ComPtr<IQorSimCkt> ckt = circuit())
      ckt->Quit();
  }

  // The page's circuit, or null before anything bound to it.
  base::ComPtr<IQorSimCkt> circuit() { return qorsim_test::pageCircuit(page_); }

  // A component shape as the stencil's master makes it: a group with the
  // control's ProgID in User.QOR, its body, the label and error cells and
  // one connection point per pin.
  drawhost::Shape *componentShape(const ControlMaster &master, double x, double y) {
    drawhost::Shape *shape = page_->addShape(2, master.name + "." + std::to_string(++shapes_));
    shape->cell("User.QOR", true)->setQuietly("\"" + master.progId + "\"");
    shape->cell("User.Error", true)->setQuietly("FALSE");
    shape->cell("User.BodyText", true)->setQuietly("\"\"");
    shape->cell("PinX", true)->setQuietly(std::to_string(x));
    shape->cell("PinY", true)->setQuietly(std::to_string(y));
    drawhost::Shape *body = shape->addMember(3, "BODY");
    body->cell("User.Flip", true)->setQuietly("FALSE");
    for (const std::string &pin : master.pins) {
      shape->addConnectionPoint(pin);
      shape->cell("Connections." + pin + ".A", false)->setQuietly("FALSE");
    }
    return shape;
  }

  // Dropped as a person drops them: the controls' shapes are selected and
  // the drop macro runs; each control it inserts binds itself, and is
  // found in its shape's group.
  template <typename Control> void dropShapes(std::vector<Control> &controls) {
    std::vector<drawhost::Shape *> selected;
    for (const Control &control : controls)
      selected.push_back(control.shape);
    host_->setActiveWindow(page_, selected);
    EXPECT_EQ(lib_->CompOnDrop(host_->activeWindow()), S_OK);
    for (Control &control : controls) {
      for (const auto &member : control.shape->members()) {
        base::ComPtr<IUnknown> object;
        member->get_Object(object.receive());
        if (object) {
          control.ocx = object.query<IQorOcx>();
          control.data = object.query<IQorOcx2>();
        }
      }
      EXPECT_TRUE(control.ocx && control.data) << control.shape->name();
    }
  }

  // A connector glued from one pin (connection point index) to another.
  void wire(const DroppedControl &from, short fromPin, const DroppedControl &to, short toPin) {
    drawhost::Shape *connector = page_->addShape(3, "Wire." + std::to_string(++shapes_));
    connector->setOneD(true);
    page_->glue(connector, 9, from.shape, fromPin);
    page_->glue(connector, 12, to.shape, toPin);
    wires_.push_back(connector);
  }

  // A RESULT item's value from its IEEE text (NaN when there is none).
  double result(const DroppedControl &control, const std::string &name) {
    base::ComPtr<IXMLElement> found = control.item("RESULT", name);
    double value = std::numeric_limits<double>::quiet_NaN();
    if (found)
      lib_->BSTR2IEEE(base::Bstr(attribute(found.get(), "IEEE")).get(), &value);
    return value;
  }

  // Writes of cells, texts and layers in the host's record since from.
  int writesSince(std::size_t from) {
    int writes = 0;
    for (std::size_t i = from; i < host_->record().size(); ++i) {
      const std::string &line = host_->record()[i];
      for (const char *prefix :
           {"Formula", "SetFormulas", "Text ", "DrawRectangle", "Add layer", "Layer", "  batch"})
        if (line.rfind(prefix, 0) == 0) {
          ++writes;
          break;
        }
    }
    return writes;
  }

  // Saves the page's netlist through the File menu's "Save SP&ICE
  // Netlist..." as file in folder (below the test's binary folder, made when
  // missing); the netlist's path as the test reads it.
  std::string saveNetlistFromMenu(const std::string &folder, const std::string &file) {
    const std::string dir =
        testing_support::hostPath(testing_support::envOr("TEST_BINARY_DIR", ".") + "/" + folder);
    CreateDirectoryA(dir.c_str(), nullptr);
    qorsim_test::netlistSavePath = dir + "/" + file;
    DeleteFileA(qorsim_test::netlistSavePath.c_str());
    host_->setActiveWindow(page_, {});
    EXPECT_EQ(host_->chooseMenuItem(document_, "&File", "Save SP&ICE Netlist..."), S_OK);
    return qorsim_test::netlistSavePath;
  }

  inline static std::vector<HMODULE> servers_;
  inline static drawhost::StandInHost *host_ = nullptr;
  base::ComPtr<IQorLib> lib_;
  drawhost::Document *document_ = nullptr;
  drawhost::Page *page_ = nullptr;
  std::vector<drawhost::Shape *> wires_;
  int shapes_ = 0;
};

} // namespace passive_test

#endif
