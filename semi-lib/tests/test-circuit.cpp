// The native circuit host of the semiconductor tests.
#include "semi-lib/tests/test-circuit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace semi_test {

using semi::HostError;
using semi::ResultInvalidArg;

// A matrix element as the devices see it.
class TestCircuit::Entry final : public semi::SparseEntry {
public:
  explicit Entry(qorsim::SparseElement *element) : element_(element) {}
  double RealValue() override { return element_->real; }
  void putRealValue(double value) override { element_->real = value; }

private:
  qorsim::SparseElement *element_;
};

// The Newton iteration's view of the devices, in the order of their names.
class TestCircuit::Devices final : public qorsim::DcDevices {
public:
  explicit Devices(std::map<std::string, Member> &members) : members_(members) {}
  void loadStart() override {
    for (auto &[name, m] : members_)
      m.device->LoadDevicePWL();
  }
  void loadNewton() override {
    for (auto &[name, m] : members_)
      m.device->LoadDeviceDC();
  }
  void limitDelta() override {
    for (auto &[name, m] : members_)
      m.device->LimitDeltaDC();
  }

private:
  std::map<std::string, Member> &members_;
};

TestCircuit::TestCircuit() : names_{"0"}, types_{semi::VarVoltage} {}
TestCircuit::~TestCircuit() = default;

semi::SimDevice &TestCircuit::add(const std::string &devName, const std::string &partId,
                                  std::unique_ptr<semi::SimDevice> device,
                                  std::unique_ptr<TestComponent> component,
                                  const std::vector<std::pair<std::string, std::string>> &pins) {
  for (const auto &[pin, net] : pins)
    pinNets_[devName + pin] = net;
  Member &m = members_[devName];
  m.partId = partId;
  m.device = std::move(device);
  m.component = std::move(component);
  built_ = false;
  return *m.device;
}

TestComponent &TestCircuit::component(const std::string &devName) {
  return *members_.at(devName).component;
}

semi::SimDevice &TestCircuit::device(const std::string &devName) {
  return *members_.at(devName).device;
}

void TestCircuit::build() {
  matrix_.destroy();
  entries_.clear();
  indices_.clear();
  names_ = {"0"};
  types_ = {semi::VarVoltage};
  nakedPins_.clear();
  topology_.clear();
  solved_ = false;
  installing_ = true;
  pinNames_.clear();
  for (auto &[name, m] : members_)
    m.device->InstallDevice(name, m.component.get(), this);
  installing_ = false;
  // A pin is naked when no other pin shares its node.
  for (const auto &[index, names] : pinNames_) {
    if (names.size() == 1 && types_[static_cast<std::size_t>(index)] == semi::VarVoltage)
      nakedPins_.insert(index);
  }
  for (auto &[name, m] : members_)
    m.device->TopologyFix();
  topologyOk_ = nakedPins_.empty();
  built_ = true;
}

void TestCircuit::makeMatrix() {
  matrix_.Create(nodeCount() - 1);
  vectors_.assign(static_cast<std::size_t>(nodeCount()));
  entries_.clear();
  ++setUpCount;
  for (auto &[name, m] : members_)
    m.device->SetUpDeviceDC();
}

void TestCircuit::prepareMatrix() {
  if (!built_)
    build();
  makeMatrix();
}

void TestCircuit::clearLoad() {
  matrix_.Clear();
  std::fill(vectors_.rhs.begin(), vectors_.rhs.end(), 0.0);
  std::fill(vectors_.absSum.begin(), vectors_.absSum.end(), 0.0);
}

double TestCircuit::matrixValue(int row, int col) {
  if (row == 0 || col == 0)
    return 0.0;
  return matrix_.element(row, col)->real;
}

void TestCircuit::publishInfinity() {
  vectors_.assign(static_cast<std::size_t>(nodeCount()));
  std::fill(vectors_.solution.begin(), vectors_.solution.end(),
            std::numeric_limits<double>::infinity());
  vectors_.solution[0] = 0.0;
}

SolveReport TestCircuit::SolveDC() {
  if (!built_)
    build();
  SolveReport report;
  if (!topologyOk_) {
    publishInfinity();
  } else {
    if (!matrix_.created())
      makeMatrix();
    if (!solved_) {
      Devices devices(members_);
      try {
        const qorsim::DcOutcome outcome = qorsim::solveNewton(matrix_, vectors_, types_, devices);
        lastReport_ = {true, outcome.converged, outcome.passes, false};
      } catch (qorsim::CSparse::Error) {
        // A failed solve advises nobody; the next solve starts afresh.
        report.factorFailed = true;
        return report;
      }
      solved_ = true;
    }
    report = lastReport_;
  }
  for (auto &[name, m] : members_)
    m.device->UpdateResult();
  return report;
}

std::string TestCircuit::netlist(const std::string &title) {
  std::string text = title + "\n";
  for (auto &[name, m] : members_) {
    std::string element, model;
    m.device->SpiceInfo(element, model);
    if (!element.empty())
      text += element + "\n";
    if (!model.empty())
      text += model + "\n";
  }
  return text + ".OP\n.END\n";
}

int TestCircuit::netIndex(const std::string &net) const { return indices_.at(net); }

std::vector<std::string> TestCircuit::netNames() const {
  std::set<std::string> nets;
  for (const auto &[pin, net] : pinNets_)
    nets.insert(net);
  return {nets.begin(), nets.end()};
}

double TestCircuit::netVoltage(const std::string &net) { return Solution(netIndex(net)); }

int TestCircuit::IndexMapInsert(const std::string &netName) {
  const auto pin = pinNets_.find(netName);
  const std::string &net = pin == pinNets_.end() ? netName : pin->second;
  const auto known = indices_.find(net);
  if (known != indices_.end()) {
    if (installing_)
      pinNames_[known->second].insert(netName);
    return known->second;
  }
  const int index = nodeCount();
  if (installing_)
    pinNames_[index].insert(netName);
  indices_[net] = index;
  names_.push_back(net);
  types_.push_back(0);
  return index;
}

std::size_t TestCircuit::checked(int index) const {
  if (index < 0 || index >= nodeCount())
    throw HostError(ResultInvalidArg);
  return static_cast<std::size_t>(index);
}

void TestCircuit::putVarType(int index, int type) { types_[checked(index)] = type; }

void TestCircuit::TopologyInsert(int index1, int index2, int nameIndex, int pathType) {
  if (index1 < 0 || index2 < 0 || nameIndex < 0)
    throw HostError(ResultInvalidArg);
  topology_.push_back({index1, index2, pathType});
}

bool TestCircuit::NakedPin(int index) { return nakedPins_.count(static_cast<int>(checked(index))); }

void TestCircuit::clearNakedPin(int index) { nakedPins_.erase(static_cast<int>(checked(index))); }

// "0" for the reference and everything joined to it by net shorts; the
// other nets numbered from 1 in the order of their lowest index.
std::string TestCircuit::SpiceNet(int index) {
  std::vector<int> parent(static_cast<std::size_t>(nodeCount()));
  std::iota(parent.begin(), parent.end(), 0);
  auto root = [&](int i) {
    while (parent[static_cast<std::size_t>(i)] != i)
      i = parent[static_cast<std::size_t>(i)];
    return i;
  };
  const int netShort = 32;
  for (const Branch &b : topology_) {
    if (b.path & netShort) {
      const int ra = root(b.a), rb = root(b.b);
      parent[static_cast<std::size_t>(std::max(ra, rb))] = std::min(ra, rb);
    }
  }
  const int target = root(static_cast<int>(checked(index)));
  if (target == 0)
    return "0";
  int number = 0;
  for (int i = 1; i < nodeCount(); ++i) {
    if (root(i) == i && (types_[static_cast<std::size_t>(i)] & 1))
      ++number;
    if (root(i) == target)
      return std::to_string(number);
  }
  return std::to_string(number);
}

std::string TestCircuit::OcxMapPartID(const std::string &devName) {
  const auto m = members_.find(devName);
  if (m == members_.end())
    throw HostError(1);
  return m->second.partId;
}

void TestCircuit::ResetDC(bool rebuildMatrix) {
  resetCalls.push_back(rebuildMatrix);
  solved_ = false;
  if (rebuildMatrix) {
    matrix_.destroy();
    entries_.clear();
    vectors_ = qorsim::DcVectors();
  }
}

// Every index is out of range while no vectors exist.
std::size_t TestCircuit::vectorIndex(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= vectors_.solution.size())
    throw HostError(ResultInvalidArg);
  return static_cast<std::size_t>(index);
}

double TestCircuit::Solution(int index) { return vectors_.solution[vectorIndex(index)]; }
double TestCircuit::DeltaSolution(int index) { return vectors_.delta[vectorIndex(index)]; }
void TestCircuit::putDeltaSolution(int index, double value) {
  vectors_.delta[vectorIndex(index)] = value;
}
double TestCircuit::Rhs(int index) { return vectors_.rhs[vectorIndex(index)]; }
void TestCircuit::putRhs(int index, double value) { vectors_.rhs[vectorIndex(index)] = value; }
double TestCircuit::AbsSum(int index) { return vectors_.absSum[vectorIndex(index)]; }
void TestCircuit::putAbsSum(int index, double value) {
  vectors_.absSum[vectorIndex(index)] = value;
}

semi::SparseEntry *TestCircuit::InstallMatrixEntry(int row, int col) {
  if (!matrix_.created())
    throw HostError(ResultInvalidArg);
  qorsim::SparseElement *element =
      matrix_.element(static_cast<int>(checked(row)), static_cast<int>(checked(col)));
  std::unique_ptr<Entry> &entry = entries_[element];
  if (!entry)
    entry = std::make_unique<Entry>(element);
  return entry.get();
}

semi::Transadmittance TestCircuit::InstallMatrixTransadmittance(int row1, int row2, int col1,
                                                                int col2) {
  semi::Transadmittance t{InstallMatrixEntry(row1, col1), InstallMatrixEntry(row2, col2),
                          InstallMatrixEntry(row2, col1), InstallMatrixEntry(row1, col2)};
  if (row1 == 0 || col1 == 0)
    std::swap(t.entry1, t.entry2);
  return t;
}

} // namespace semi_test
