// The device core's view of its circuit and component (device-host.h),
// served by the simulator's and the component's COM interfaces: the circuit
// object with its DC vectors and matrix, the component control's XML
// through IQorOcx2 and the QorLib service. A failed call throws
// semi::HostError with the HRESULT, which the device lets end the operation.
#ifndef SEMI_LIB_COM_HOST_H
#define SEMI_LIB_COM_HOST_H

#include "QorLib02.h"

#include "semi-lib/core/device-host.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/xml/win32/xml-guids.h"

#include <memory>
#include <string>
#include <vector>

namespace semi_win32 {

using base::ComPtr;

// One element of the simulator's matrix. The matrix owns the element; this
// holds no reference.
class ComEntry final : public semi::SparseEntry {
public:
  explicit ComEntry(IQorSparseEntry *entry) : entry_(entry) {}
  double RealValue() override;
  void putRealValue(double value) override;

private:
  IQorSparseEntry *entry_;
};

class ComCircuit final : public semi::SimCircuit {
public:
  // IQorSimDC is asked for here; a circuit without it fails at first use.
  explicit ComCircuit(IQorSimCkt *circuit);

  // Drops the elements of an earlier matrix: the next installs come from
  // the matrix the circuit holds now.
  void beginSetUp();

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
  IQorSimDC *dc();
  IQorSparseMatrix *matrix();
  semi::SparseEntry *keep(IQorSparseEntry *entry);

  ComPtr<IQorSimCkt> circuit_;
  ComPtr<IQorSimDC> dc_;
  ComPtr<IQorSparseMatrix> matrix_;
  std::vector<std::unique_ptr<ComEntry>> entries_;
};

class ComComponent final : public semi::DeviceComponent {
public:
  // The component's IQorOcx2 is asked for here; without it every call
  // fails with E_POINTER.
  ComComponent(IUnknown *component, IQorLib *lib);

  std::vector<semi::ParamItem> ParamItems() override;
  // Also keeps the RESULT elements, which putResult addresses by position.
  std::vector<std::string> ResultNames() override;
  void putResult(std::size_t item, double value) override;
  void putDirtyFlag() override;
  bool BSTR2IEEE(const std::string &text, double &value) override;

private:
  ComPtr<IXMLElement> section(const char *name);

  ComPtr<IQorOcx2> component_;
  ComPtr<IQorLib> lib_;
  std::vector<ComPtr<IXMLElement>> results_;
};

} // namespace semi_win32

#endif
