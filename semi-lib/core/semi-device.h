// What the diode and the two transistors share: the references a device
// keeps from InstallDevice, node creation, parameter reading with its
// ResetDC rules, the index ordering for series resistances, stamping by
// get-add-put, junction step limiting on two nodes and result writing.
#ifndef SEMI_LIB_SEMI_DEVICE_H
#define SEMI_LIB_SEMI_DEVICE_H

#include "semi-lib/core/device-host.h"

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

namespace semi {

// One parameter the device reads from PARAMS.
struct ParamDefinition {
  const char *name;
  bool dc;        // a change resets the solver
  bool structure; // a change to or from zero also rebuilds the matrix
};

class SemiDevice : public SimDevice {
public:
  bool UpdateParams() override;

protected:
  explicit SemiDevice(std::vector<ParamDefinition> definitions);

  // Keeps the name and the references; throws on a null argument.
  void keep(const std::string &devName, DeviceComponent *component, SimCircuit *circuit);
  // IndexMapInsert of DevName + suffix with its variable type.
  int makeNode(const char *suffix, int type);
  double param(std::size_t i) const { return params_[i]; }

  void add(SparseEntry *entry, double value);
  void stamp(const Transadmittance &group, double value);
  void addRhs(int index, double value);
  void addAbsSum(int index, double value);
  // Limits the step of the junction from node a to node b, scaling both
  // node steps together.
  void limitJunctionStep(int a, int b, double is, double n, double imax);

  // Every RESULT item by name through value(name); +infinity for all when
  // solved is false. Sets the dirty flag. False after a host failure.
  template <typename ValueOf> bool WriteResults(bool solved, ValueOf value);

  std::string devName_;
  DeviceComponent *component_ = nullptr;
  SimCircuit *circuit_ = nullptr;

private:
  void readParams();
  std::vector<ParamDefinition> definitions_;
  std::vector<double> params_;
};

// The series resistance between a pin and its internal node: with R = 0 the
// internal node takes the smaller index, else the pin does (index 0 counts
// as larger than every other), so that a zero resistance puts the junction
// terminals on the pin's own node.
void orderSeriesPair(int &pin, int &internal, double resistance);

// The terminal the element line names: the smaller non-zero of the two.
int spiceTerminal(int pin, int internal);

template <typename ValueOf> bool SemiDevice::WriteResults(bool solved, ValueOf value) {
  try {
    const std::vector<std::string> names = component_->ResultNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
      const double v = solved ? value(names[i]) : HUGE_VAL;
      component_->putResult(i, v);
    }
    component_->putDirtyFlag();
    return true;
  } catch (const HostError &) {
    return false;
  }
}

} // namespace semi

#endif
