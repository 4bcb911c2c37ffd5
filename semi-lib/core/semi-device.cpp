// The mechanisms the semiconductor devices share.
#include "semi-lib/core/semi-device.h"

#include "semi-lib/core/junction.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace semi {

SemiDevice::SemiDevice(std::vector<ParamDefinition> definitions)
    : definitions_(std::move(definitions)), params_(definitions_.size(), HUGE_VAL) {}

void SemiDevice::keep(const std::string &devName, DeviceComponent *component, SimCircuit *circuit) {
  if (!component || !circuit)
    throw HostError(ResultInvalidArg);
  devName_ = devName;
  component_ = component;
  circuit_ = circuit;
}

int SemiDevice::makeNode(const char *suffix, int type) {
  const int index = circuit_->IndexMapInsert(devName_ + suffix);
  circuit_->putVarType(index, type);
  return index;
}

void SemiDevice::add(SparseEntry *entry, double value) {
  entry->putRealValue(entry->RealValue() + value);
}

void SemiDevice::stamp(const Transadmittance &group, double value) {
  add(group.entry1, value);
  add(group.entry2, value);
  add(group.entry3Neg, -value);
  add(group.entry4Neg, -value);
}

void SemiDevice::addRhs(int index, double value) {
  circuit_->putRhs(index, circuit_->Rhs(index) + value);
}

void SemiDevice::addAbsSum(int index, double value) {
  circuit_->putAbsSum(index, circuit_->AbsSum(index) + std::fabs(value));
}

void SemiDevice::limitJunctionStep(int a, int b, double is, double n, double imax) {
  const double v = circuit_->Solution(a) - circuit_->Solution(b);
  const double delta = circuit_->DeltaSolution(a) - circuit_->DeltaSolution(b);
  const JunctionLimit limit = LimitJunction(is, n, v, delta, imax);
  if (!limit.changed)
    return;
  const double ratio = limit.delta / delta;
  circuit_->putDeltaSolution(a, circuit_->DeltaSolution(a) * ratio);
  circuit_->putDeltaSolution(b, circuit_->DeltaSolution(b) * ratio);
}

namespace {

// NaN on either side counts as equal: such a value changes nothing.
bool differs(double a, double b) { return a != b && !std::isnan(a) && !std::isnan(b); }

} // namespace

void SemiDevice::readParams() {
  for (const ParamItem &item : component_->ParamItems()) {
    for (std::size_t i = 0; i < definitions_.size(); ++i) {
      if (item.name != definitions_[i].name)
        continue;
      double value = HUGE_VAL;
      if (item.hasIeee) {
        if (!component_->BSTR2IEEE(item.ieee, value))
          value = HUGE_VAL;
      } else if (item.hasText) {
        value = std::atof(item.text.c_str());
      } else if (item.hasDefault) {
        value = std::atof(item.defaultText.c_str());
      }
      if (!differs(value, params_[i]))
        continue;
      if (definitions_[i].dc) {
        const bool rebuild = definitions_[i].structure && (value == 0 || params_[i] == 0);
        circuit_->ResetDC(rebuild);
      }
      params_[i] = value;
    }
  }
}

bool SemiDevice::UpdateParams() {
  try {
    readParams();
    return true;
  } catch (const HostError &) {
    return false;
  }
}

namespace {

int orderKey(int index) { return index == 0 ? INT_MAX : index; }

} // namespace

void orderSeriesPair(int &pin, int &internal, double resistance) {
  const bool internalSmaller = orderKey(internal) < orderKey(pin);
  const bool wantInternalSmaller = resistance == 0;
  if (internalSmaller != wantInternalSmaller && pin != internal) {
    const int t = pin;
    pin = internal;
    internal = t;
  }
}

int spiceTerminal(int pin, int internal) {
  if (pin == 0)
    return internal;
  if (internal == 0)
    return pin;
  return pin < internal ? pin : internal;
}

} // namespace semi
