// A circuit of the native test host drawn again on a page of the stand-in
// drawing host and solved by the real QorSim: QorLib01's sources and
// resistors, QorLib02's diodes and transistors, the simulator tests'
// TestGnd as ground (its load count gives the Newton passes). Each part
// gets its shape with one connection point per pin and a stand-in control
// holding its component XML; pins on one net are joined by wires to the
// net's first pin. Used by the QorLib02 circuit tests and the benchmark.
#ifndef SEMI_LIB_TESTS_QORSIM_PAGE_H
#define SEMI_LIB_TESTS_QORSIM_PAGE_H

#include "passive-lib/tests/test-component.h"
#include "semi-lib/tests/check-report.h"

#include "platform/drawing-host/win32/stand-in-host.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace semi_test {

// QorSim, QorLib01, QorLib02 and the simulator tests' devices, loaded and
// registered for the life of the object.
class QorServers {
public:
  QorServers(const char *qorSim, const char *qorLib01, const char *qorLib02,
             const char *testDevices);
  ~QorServers(); // unregisters
  bool ready() const { return ready_; }
  // LoadDeviceDC calls of the test devices so far.
  LONG testDeviceLoads() const;

private:
  HMODULE modules_[4] = {};
  bool ready_ = false;
};

// "QOR.DiodeDev.1", "QOR.BjtNpnDev.1" or "QOR.BjtPnpDev.1".
const char *semiProgId(PartRecord::Kind kind);

struct DrawnPart {
  PartRecord record;
  drawhost::Shape *shape = nullptr;
  passive_test::ComPtr<com::Object<passive_test::TestComponent>> control;
  std::string key;               // the shape's unique identifier: the device name
  std::vector<std::string> pins; // in connection-row order
};

class QorSimPage {
public:
  // A new document with one page, and the page's circuit from SimRoot.
  QorSimPage(drawhost::StandInHost &host, IQorLib *lib, const std::string &documentName);
  ~QorSimPage(); // quits the circuit
  bool ready() const { return circuit_ && vectors_; }

  void draw(const std::vector<PartRecord> &records);
  // Builds the circuit from the page, then solves it.
  HRESULT solve();

  DrawnPart &part(const std::string &partId);
  double netVoltage(const std::string &net);
  // The page's value of one quantity of the cross-check.
  double value(const Compared &q);

  IQorSimCkt *circuit() const { return circuit_.get(); }
  IQorSimDC *vectors() const { return vectors_.get(); }
  std::vector<DrawnPart> parts;

private:
  passive_test::ComPtr<IQorLib> lib_;
  drawhost::Page *page_ = nullptr;
  passive_test::ComPtr<IQorSimCkt> circuit_;
  passive_test::ComPtr<IQorSimDC> vectors_;
  std::map<std::string, std::pair<std::size_t, std::size_t>> firstPin_; // net: part, pin
};

} // namespace semi_test

#endif
