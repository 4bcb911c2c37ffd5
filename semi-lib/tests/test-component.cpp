// The native test component and the library PARAMS of the three kinds.
#include "semi-lib/tests/test-component.h"

namespace semi_test {

TestComponent::TestComponent(std::vector<semi::ParamItem> p, std::vector<std::string> names)
    : params(std::move(p)), resultNames(std::move(names)), results(resultNames.size(), NAN) {}

void TestComponent::putResult(std::size_t item, double value) { results.at(item) = value; }

double TestComponent::result(const std::string &name) const {
  for (std::size_t i = 0; i < resultNames.size(); ++i) {
    if (resultNames[i] == name)
      return results[i];
  }
  return NAN;
}

void TestComponent::setText(const std::string &name, const std::string &text) {
  for (semi::ParamItem &item : params) {
    if (item.name != name)
      continue;
    item.hasText = true;
    item.text = text;
    item.hasIeee = false;
    return;
  }
  semi::ParamItem item;
  item.name = name;
  item.hasText = true;
  item.text = text;
  params.push_back(item);
}

namespace {

std::vector<semi::ParamItem>
makeParams(const char *id, const std::vector<std::pair<const char *, const char *>> &defaults) {
  std::vector<semi::ParamItem> items;
  semi::ParamItem idItem;
  idItem.name = "ID";
  idItem.hasDefault = true;
  idItem.defaultText = id;
  items.push_back(idItem);
  semi::ParamItem type;
  type.name = "TYPE";
  type.hasDefault = type.hasText = true;
  type.defaultText = type.text = "DEFAULT";
  items.push_back(type);
  for (const auto &[name, value] : defaults) {
    semi::ParamItem item;
    item.name = name;
    item.hasDefault = true;
    item.defaultText = value;
    items.push_back(item);
  }
  return items;
}

} // namespace

std::vector<semi::ParamItem> diodeParams() {
  return makeParams("D?", {{"IS", "1E-14"},
                           {"N", "1"},
                           {"RS", "0"},
                           {"TT", "0"},
                           {"CJO", "0"},
                           {"VJ", "1"},
                           {"M", "0.5"},
                           {"GMIN", "1E-12"},
                           {"IMAX", "1E6"}});
}

std::vector<semi::ParamItem> transistorParams() {
  return makeParams("Q?", {{"IS", "1E-16"},   {"BF", "100"},  {"NF", "1"},     {"ISE", "0"},
                           {"NE", "1.5"},     {"VAF", "0"},   {"IKF", "0"},    {"BR", "1"},
                           {"NR", "1"},       {"ISC", "0"},   {"NC", "2"},     {"VAR", "0"},
                           {"IKR", "0"},      {"RC", "0"},    {"RE", "0"},     {"RB", "0"},
                           {"TF", "0"},       {"CJE", "0"},   {"VJE", "0.75"}, {"MJE", "0.33"},
                           {"TR", "0"},       {"CJC", "0"},   {"VJC", "0.75"}, {"MJC", "0.33"},
                           {"GMIN", "1E-12"}, {"IMAX", "1E6"}});
}

std::vector<std::string> diodeResultNames() {
  return {"Pdc", "Vdc", "Idc", "Vj", "Qj", "rd", "gd", "cd"};
}

std::vector<std::string> transistorResultNames() {
  return {"Pdc", "Vc",  "Vb",       "Ve",       "Ic",       "Ib",       "Ie",       "Vbe",
          "Vbc", "Vce", "Vbe(int)", "Vbc(int)", "Vce(int)", "beta(DC)", "beta(AC)", "gm",
          "rpi", "cpi", "rmu",      "cmu",      "ro",       "fT",       "fbeta"};
}

std::vector<semi::ParamItem>
withModel(std::vector<semi::ParamItem> params, const std::string &type,
          const std::vector<std::pair<std::string, std::string>> &values) {
  for (semi::ParamItem &item : params) {
    if (item.name == "ID")
      continue;
    item.hasText = true;
    item.text = item.name == "TYPE" ? type : item.defaultText;
    item.hasIeee = false;
  }
  for (const auto &[name, value] : values) {
    for (semi::ParamItem &item : params) {
      if (item.name == name)
        item.text = value;
    }
  }
  return params;
}

std::vector<semi::ParamItem> diode1N4148() {
  return withModel(diodeParams(), "1N4148",
                   {{"IS", "2.67E-9"},
                    {"N", "1.82"},
                    {"RS", "562E-3"},
                    {"TT", "11.5E-9"},
                    {"CJO", "4.02E-12"},
                    {"VJ", "0.5"},
                    {"M", "0.332"}});
}

} // namespace semi_test
