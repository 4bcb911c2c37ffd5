// The component of a device in the native tests: PARAMS items as the
// component XML holds them, RESULT items with the values the device wrote,
// the dirty flag, and the hexadecimal double text of the "IEEE" attribute
// read as the QorLib service reads it.
#ifndef SEMI_LIB_TESTS_TEST_COMPONENT_H
#define SEMI_LIB_TESTS_TEST_COMPONENT_H

#include "passive-lib/core/value-format.h"
#include "semi-lib/core/device-host.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace semi_test {

class TestComponent : public semi::DeviceComponent {
public:
  TestComponent(std::vector<semi::ParamItem> params, std::vector<std::string> resultNames);
  virtual ~TestComponent() = default;

  std::vector<semi::ParamItem> ParamItems() override { return params; }
  std::vector<std::string> ResultNames() override { return resultNames; }
  void putResult(std::size_t item, double value) override;
  void putDirtyFlag() override { dirty = true; }
  bool BSTR2IEEE(const std::string &text, double &value) override {
    return passive::parseIeeeText(text, value);
  }

  // The value last written into a RESULT item (NaN before any write).
  double result(const std::string &name) const;
  // Sets an item's TEXT (added at the end when missing) and drops IEEE.
  void setText(const std::string &name, const std::string &text);

  std::vector<semi::ParamItem> params;
  std::vector<std::string> resultNames;
  std::vector<double> results;
  bool dirty = false;
};

// PARAMS of the libraries as a fresh control holds them (every item with
// its DEFAULT, TEXT only on TYPE) and the RESULT item names of each kind.
std::vector<semi::ParamItem> diodeParams();
std::vector<semi::ParamItem> transistorParams();
std::vector<std::string> diodeResultNames();
std::vector<std::string> transistorResultNames();

// A library model chosen on the parameters page: every item but ID gets
// TEXT (its DEFAULT), then TYPE and the model's own values.
std::vector<semi::ParamItem>
withModel(std::vector<semi::ParamItem> params, const std::string &type,
          const std::vector<std::pair<std::string, std::string>> &values);
// The library's 1N4148.
std::vector<semi::ParamItem> diode1N4148();

} // namespace semi_test

#endif
