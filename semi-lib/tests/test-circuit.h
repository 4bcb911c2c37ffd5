// A native circuit host for the semiconductor devices, following the
// simulator's solve contract: devices installed in the order of their
// names, naked pins marked and cleared by TopologyFix, a failed check
// publishing +infinity, SetUpDeviceDC when the matrix is made, a start pass
// and Newton passes of the simulator's own core, then UpdateResult on every
// device. Pins join nets by name: a device's pin name (DevName + pin
// letter) that the test connected reads as the net's index, so no wire
// devices are needed. It records every ResetDC and writes SPICE netlists
// from the devices' own lines.
#ifndef SEMI_LIB_TESTS_TEST_CIRCUIT_H
#define SEMI_LIB_TESTS_TEST_CIRCUIT_H

#include "circuit-sim/core/dc-newton.h"
#include "semi-lib/core/device-host.h"
#include "semi-lib/tests/test-component.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace semi_test {

struct SolveReport {
  bool solved = false; // the topology check passed and Newton ran
  bool converged = false;
  int passes = 0;            // Newton passes after the start pass
  bool factorFailed = false; // the matrix could not be factored
};

// What the circuit builders put in, so that the same circuit can be drawn
// again elsewhere (on a page of the real simulator).
struct PartRecord {
  enum Kind { Ground, Resistor, Source, Diode, Npn, Pnp } kind;
  std::string partId;
  double value = 0; // ohms or volts
  std::vector<semi::ParamItem> params;
  std::vector<std::pair<std::string, std::string>> pins; // pin letter, net
};

class TestCircuit : public semi::SimCircuit {
public:
  TestCircuit();
  ~TestCircuit();

  // Adds a device under devName (its name orders it among the devices),
  // with its part identifier and the nets of its pins ({"C", "out"}, ...).
  // The circuit owns the device and its component.
  semi::SimDevice &add(const std::string &devName, const std::string &partId,
                       std::unique_ptr<semi::SimDevice> device,
                       std::unique_ptr<TestComponent> component,
                       const std::vector<std::pair<std::string, std::string>> &pins);
  TestComponent &component(const std::string &devName);
  semi::SimDevice &device(const std::string &devName);

  // Installs every device, marks naked pins and runs TopologyFix; the
  // check passes when every naked pin was cleared.
  void build();
  // The solve of the contract (builds first when never built).
  SolveReport SolveDC();
  // Title, each device's element and model line, ".OP" and ".END".
  std::string netlist(const std::string &title);

  int netIndex(const std::string &net) const;
  // The nets the test joined pins to, each once, in name order.
  std::vector<std::string> netNames() const;
  double netVoltage(const std::string &net);
  bool topologyOk() const { return topologyOk_; }
  bool hasMatrix() const { return matrix_.created(); }
  int nodeCount() const { return static_cast<int>(names_.size()); }
  qorsim::DcVectors &vectors() { return vectors_; }
  // For the Jacobian tests: the matrix made and every device set up; the
  // values and the right-hand side zeroed; one value of the matrix.
  void prepareMatrix();
  void clearLoad();
  double matrixValue(int row, int col);
  // The parts as the builders added them, in that order.
  std::vector<PartRecord> parts;
  // Every ResetDC since the last clear: its RebuildMatrix flag.
  std::vector<bool> resetCalls;
  int setUpCount = 0; // matrices made

  // SimCircuit
  int IndexMapInsert(const std::string &netName) override;
  void putVarType(int index, int type) override;
  void TopologyInsert(int index1, int index2, int nameIndex, int pathType) override;
  bool NakedPin(int index) override;
  void clearNakedPin(int index) override;
  std::string SpiceNet(int index) override;
  std::string OcxMapPartID(const std::string &devName) override;
  void ResetDC(bool rebuildMatrix) override;
  double Solution(int index) override;
  double DeltaSolution(int index) override;
  void putDeltaSolution(int index, double value) override;
  double Rhs(int index) override;
  void putRhs(int index, double value) override;
  double AbsSum(int index) override;
  void putAbsSum(int index, double value) override;
  semi::SparseEntry *InstallMatrixEntry(int row, int col) override;
  semi::Transadmittance InstallMatrixTransadmittance(int row1, int row2, int col1,
                                                     int col2) override;

private:
  struct Member {
    std::string partId;
    std::unique_ptr<semi::SimDevice> device;
    std::unique_ptr<TestComponent> component;
  };
  class Entry;
  class Devices;
  std::size_t checked(int index) const;
  std::size_t vectorIndex(int index) const;
  void makeMatrix();
  void publishInfinity();

  std::map<std::string, Member> members_;      // by device name
  std::map<std::string, std::string> pinNets_; // pin name -> net name
  std::map<std::string, int> indices_;         // net name -> index
  std::vector<std::string> names_;             // index -> name (0: reference)
  std::vector<int> types_;
  std::set<int> nakedPins_;
  // While devices install: the names each node was asked for (its pins).
  bool installing_ = false;
  std::map<int, std::set<std::string>> pinNames_;
  struct Branch {
    int a, b, path;
  };
  std::vector<Branch> topology_;
  bool built_ = false;
  bool topologyOk_ = false;
  bool solved_ = false;
  SolveReport lastReport_;
  qorsim::CSparse matrix_;
  qorsim::DcVectors vectors_;
  std::unordered_map<qorsim::SparseElement *, std::unique_ptr<Entry>> entries_;
};

} // namespace semi_test

#endif
