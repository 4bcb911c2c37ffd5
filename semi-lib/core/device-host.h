// What a semiconductor device sees of the circuit simulator and of its own
// component: the circuit object with its registries and DC vectors, the
// sparse matrix and its elements, and the component's data (PARAMS and
// RESULT items). The server adapts the simulator's COM interfaces to these;
// the native tests implement them on the simulator's own matrix and Newton
// iteration. Member names are those of the COM contract.
//
// A failed call throws HostError with the code the COM call returned; the
// device lets it end the operation (UpdateParams and UpdateResult catch it).
#ifndef SEMI_LIB_DEVICE_HOST_H
#define SEMI_LIB_DEVICE_HOST_H

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace semi {

// Result codes of the contract, for the errors a device raises itself.
const long ResultInvalidArg = static_cast<long>(0x80070057L);
const long ResultPointer = static_cast<long>(0x80004003L);

// Variable and branch kinds of the contract (QorVariableTypes, QorPathTypes).
const int VarVoltage = 17;
const int VarCurrent = 18;
const int PathDcResist = 2;

class HostError : public std::runtime_error {
public:
  explicit HostError(long code) : std::runtime_error("circuit host call failed"), code_(code) {}
  long code() const { return code_; }

private:
  long code_;
};

// One matrix element; the matrix owns it.
class SparseEntry {
public:
  virtual double RealValue() = 0;
  virtual void putRealValue(double value) = 0;

protected:
  ~SparseEntry() = default;
};

// The four elements of one transadmittance stamp: +g on the first two,
// -g on the last two.
struct Transadmittance {
  SparseEntry *entry1, *entry2, *entry3Neg, *entry4Neg;
};

// The circuit object of a page (its registries and its DC interface).
class SimCircuit {
public:
  virtual int IndexMapInsert(const std::string &netName) = 0;
  virtual void putVarType(int index, int type) = 0;
  virtual void TopologyInsert(int index1, int index2, int nameIndex, int pathType) = 0;
  virtual bool NakedPin(int index) = 0;
  virtual void clearNakedPin(int index) = 0; // NakedPin put VARIANT_FALSE
  virtual std::string SpiceNet(int index) = 0;
  virtual std::string OcxMapPartID(const std::string &devName) = 0;
  virtual void ResetDC(bool rebuildMatrix) = 0;

  virtual double Solution(int index) = 0;
  virtual double DeltaSolution(int index) = 0;
  virtual void putDeltaSolution(int index, double value) = 0;
  virtual double Rhs(int index) = 0;
  virtual void putRhs(int index, double value) = 0;
  virtual double AbsSum(int index) = 0;
  virtual void putAbsSum(int index, double value) = 0;

  virtual SparseEntry *InstallMatrixEntry(int row, int col) = 0;
  virtual Transadmittance InstallMatrixTransadmittance(int row1, int row2, int col1, int col2) = 0;

protected:
  ~SimCircuit() = default;
};

// An ITEM of the component's PARAMS, with the attributes a device reads.
struct ParamItem {
  std::string name;
  bool hasIeee = false, hasText = false, hasDefault = false;
  std::string ieee, text, defaultText;
};

// The component control of the device's shape and the library service.
class DeviceComponent {
public:
  virtual std::vector<ParamItem> ParamItems() = 0; // document order
  virtual std::vector<std::string> ResultNames() = 0;
  // Writes value (as hexadecimal IEEE text) into the RESULT item's "IEEE".
  virtual void putResult(std::size_t item, double value) = 0;
  virtual void putDirtyFlag() = 0;
  // The hexadecimal double text of an "IEEE" attribute; false when malformed.
  virtual bool BSTR2IEEE(const std::string &text, double &value) = 0;

protected:
  ~DeviceComponent() = default;
};

// The simulation side of a component, in the slot order of its interface.
class SimDevice {
public:
  virtual ~SimDevice() = default;
  // Throws HostError(ResultInvalidArg) when an argument is null.
  virtual void InstallDevice(const std::string &devName, DeviceComponent *component,
                             SimCircuit *circuit) = 0;
  virtual void TopologyFix() = 0;
  virtual void SpiceInfo(std::string &element, std::string &model) = 0;
  virtual void SetUpDeviceDC() = 0;
  virtual void LoadDevicePWL() = 0;
  virtual void LoadDeviceDC() = 0;
  virtual void LimitDeltaDC() = 0;
  // False (S_FALSE) when a host call failed; what was done stays done.
  virtual bool UpdateParams() = 0;
  virtual bool UpdateResult() = 0;
};

} // namespace semi

#endif
