// The COM calls behind the device core's host interfaces.
#include "semi-lib/win32/com-host.h"

#include "passive-lib/win32/xml-access.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"

namespace semi_win32 {
namespace {

void check(HRESULT hr) {
  if (FAILED(hr))
    throw semi::HostError(hr);
}

template <typename T> T *present(T *p) {
  if (!p)
    throw semi::HostError(E_POINTER);
  return p;
}

// The XML helpers and BSTR conversions throw base::ComError; the core
// expects HostError.
template <typename Body> auto hostCall(Body &&body) -> decltype(body()) {
  try {
    return body();
  } catch (const base::ComError &error) {
    throw semi::HostError(error.hr());
  }
}

} // namespace

double ComEntry::RealValue() {
  double value = 0.0;
  check(present(entry_)->get_RealValue(&value));
  return value;
}

void ComEntry::putRealValue(double value) { check(present(entry_)->put_RealValue(value)); }

ComCircuit::ComCircuit(IQorSimCkt *circuit) : circuit_(circuit), dc_(circuit_.query<IQorSimDC>()) {}

void ComCircuit::beginSetUp() {
  matrix_.reset();
  entries_.clear();
}

IQorSimDC *ComCircuit::dc() { return present(dc_.get()); }

IQorSparseMatrix *ComCircuit::matrix() {
  if (!matrix_)
    check(dc()->get_Matrix(matrix_.receive()));
  return present(matrix_.get());
}

semi::SparseEntry *ComCircuit::keep(IQorSparseEntry *entry) {
  // The matrix keeps its elements alive; the reference handed out is
  // returned at once (the elements do not count references).
  if (entry)
    entry->Release();
  entries_.push_back(std::make_unique<ComEntry>(entry));
  return entries_.back().get();
}

int ComCircuit::IndexMapInsert(const std::string &netName) {
  LONG index = -1;
  hostCall([&] {
    base::Bstr name(netName);
    check(circuit_->IndexMapInsert(name.get(), &index));
  });
  return index;
}

void ComCircuit::putVarType(int index, int type) {
  check(circuit_->put_VarType(index, static_cast<QorVariableTypes>(type)));
}

void ComCircuit::TopologyInsert(int index1, int index2, int nameIndex, int pathType) {
  check(circuit_->TopologyInsert(index1, index2, nameIndex, static_cast<QorPathTypes>(pathType)));
}

bool ComCircuit::NakedPin(int index) {
  VARIANT_BOOL flag = VARIANT_FALSE;
  check(circuit_->get_NakedPin(index, &flag));
  return flag != VARIANT_FALSE;
}

void ComCircuit::clearNakedPin(int index) { check(circuit_->put_NakedPin(index, VARIANT_FALSE)); }

std::string ComCircuit::SpiceNet(int index) {
  return hostCall([&] {
    base::Bstr net;
    check(circuit_->get_SpiceNet(index, net.receive()));
    return net.toAnsi();
  });
}

std::string ComCircuit::OcxMapPartID(const std::string &devName) {
  return hostCall([&] {
    base::Bstr name(devName), partId;
    check(circuit_->get_OcxMapPartID(name.get(), partId.receive()));
    return partId.toAnsi();
  });
}

void ComCircuit::ResetDC(bool rebuildMatrix) {
  check(circuit_->ResetDC(rebuildMatrix ? VARIANT_TRUE : VARIANT_FALSE));
}

double ComCircuit::Solution(int index) {
  double value = 0.0;
  check(dc()->get_Solution(index, &value));
  return value;
}

double ComCircuit::DeltaSolution(int index) {
  double value = 0.0;
  check(dc()->get_DeltaSolution(index, &value));
  return value;
}

void ComCircuit::putDeltaSolution(int index, double value) {
  check(dc()->put_DeltaSolution(index, value));
}

double ComCircuit::Rhs(int index) {
  double value = 0.0;
  check(dc()->get_Rhs(index, &value));
  return value;
}

void ComCircuit::putRhs(int index, double value) { check(dc()->put_Rhs(index, value)); }

double ComCircuit::AbsSum(int index) {
  double value = 0.0;
  check(dc()->get_AbsSum(index, &value));
  return value;
}

void ComCircuit::putAbsSum(int index, double value) { check(dc()->put_AbsSum(index, value)); }

semi::SparseEntry *ComCircuit::InstallMatrixEntry(int row, int col) {
  IQorSparseEntry *entry = nullptr;
  check(matrix()->InstallMatrixEntry(row, col, &entry));
  return keep(entry);
}

semi::Transadmittance ComCircuit::InstallMatrixTransadmittance(int row1, int row2, int col1,
                                                               int col2) {
  IQorSparseEntry *entries[4] = {};
  const HRESULT hr = matrix()->InstallMatrixTransadmittance(row1, row2, col1, col2, &entries[0],
                                                            &entries[1], &entries[2], &entries[3]);
  semi::Transadmittance group;
  group.entry1 = keep(entries[0]);
  group.entry2 = keep(entries[1]);
  group.entry3Neg = keep(entries[2]);
  group.entry4Neg = keep(entries[3]);
  check(hr);
  return group;
}

ComComponent::ComComponent(IUnknown *component, IQorLib *lib) : lib_(lib) {
  if (component)
    component->QueryInterface(IID_IQorOcx2, component_.receiveVoid());
}

ComPtr<IXMLElement> ComComponent::section(const char *name) {
  return hostCall([&] {
    ComPtr<IXMLElement> root;
    check(present(component_.get())->get_RootData1(root.receive()));
    return passive::childElement(present(root.get()), name);
  });
}

std::vector<semi::ParamItem> ComComponent::ParamItems() {
  std::vector<semi::ParamItem> items;
  ComPtr<IXMLElement> params = section("PARAMS");
  if (!params)
    return items;
  hostCall([&] {
    const passive::ItemAttributeNames &names = passive::itemAttributeNames();
    for (ComPtr<IXMLElement> &element : passive::childElements(params.get())) {
      semi::ParamItem item;
      passive::attributeText(element.get(), names.name, item.name);
      item.hasIeee = passive::attributeText(element.get(), names.ieee, item.ieee);
      item.hasText = passive::attributeText(element.get(), names.text, item.text);
      item.hasDefault = passive::attributeText(element.get(), names.defaultText, item.defaultText);
      items.push_back(std::move(item));
    }
  });
  return items;
}

std::vector<std::string> ComComponent::ResultNames() {
  results_.clear();
  std::vector<std::string> names;
  ComPtr<IXMLElement> results = section("RESULT");
  if (!results)
    return names;
  hostCall([&] {
    results_ = passive::childElements(results.get());
    const BSTR nameAttribute = passive::itemAttributeNames().name;
    for (ComPtr<IXMLElement> &element : results_) {
      std::string name;
      passive::attributeText(element.get(), nameAttribute, name);
      names.push_back(std::move(name));
    }
  });
  return names;
}

void ComComponent::putResult(std::size_t item, double value) {
  if (item >= results_.size())
    throw semi::HostError(E_INVALIDARG);
  hostCall([&] {
    base::Bstr hex;
    check(present(lib_.get())->IEEE2BSTR(value, hex.receive()));
    passive::setAttributeText(results_[item].get(), passive::itemAttributeNames().ieee, hex.get());
  });
}

void ComComponent::putDirtyFlag() { check(present(component_.get())->put_DirtyFlag(VARIANT_TRUE)); }

bool ComComponent::BSTR2IEEE(const std::string &text, double &value) {
  return hostCall([&] {
    base::Bstr hex(text);
    double converted = 0.0;
    const HRESULT hr = present(lib_.get())->BSTR2IEEE(hex.get(), &converted);
    check(hr);
    if (hr != S_OK)
      return false;
    value = converted;
    return true;
  });
}

} // namespace semi_win32
