// The value of an item comes from IEEE, else TEXT, else DEFAULT; "ERROR"
// stands for a value that cannot be had.
#include "passive-lib/core/item-format.h"

#include "passive-lib/core/value-format.h"

#include <cstdlib>

namespace passive {
namespace {

const int DefaultFormat = 2;
const int DefaultDigits = 3;

bool has(const ItemAttributes &item, const char *name) {
  std::string ignored;
  return item.attribute(name, ignored);
}

// A 16-bit integer attribute; fallback when absent, false when it does not
// read as one.
bool integerAttribute(const ItemAttributes &item, const char *name, int fallback, int &value) {
  std::string text;
  if (!item.attribute(name, text)) {
    value = fallback;
    return true;
  }
  char *end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || number < -32768 || number > 32767)
    return false;
  value = static_cast<int>(number);
  return true;
}

// Finds the value text of the item; numbers go through format.
template <typename Format>
ItemStatus valueText(const ItemAttributes &item, Format &&format, std::string &text) {
  std::string raw;
  if (item.attribute("IEEE", raw)) {
    double value;
    if (!parseIeeeText(raw, value)) {
      text = "ERROR";
      return ItemStatus::Ok;
    }
    return format(value, text);
  }
  if (!item.attribute("TEXT", raw) && !item.attribute("DEFAULT", raw)) {
    text = "ERROR";
    return ItemStatus::Ok;
  }
  if (has(item, "TEXTONLY")) {
    text = raw;
    return ItemStatus::Ok;
  }
  double value;
  if (!parseWholeNumber(raw, value))
    return ItemStatus::InvalidArgument;
  return format(value, text);
}

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

} // namespace

ItemStatus formatItem(const ItemAttributes &item, const std::string *partId, std::string &text) {
  std::string name;
  item.attribute("NAME", name);
  std::string result = has(item, "SHOWNAME") ? name + " = " : "";
  int format, digits, changeSign;
  if (!integerAttribute(item, "FORMAT", DefaultFormat, format) ||
      !integerAttribute(item, "DIGITS", DefaultDigits, digits) ||
      !integerAttribute(item, "CHS", 0, changeSign))
    return ItemStatus::InvalidArgument;
  if (name == "ID") {
    if (!partId)
      return ItemStatus::NoPartId;
    text = result + *partId;
    return ItemStatus::Ok;
  }
  if (format < 0 || format > MaxFormat || digits < 0 || digits > MaxDigits)
    return ItemStatus::InvalidArgument;
  std::string value;
  const ItemStatus status = valueText(
      item,
      [&](double number, std::string &out) {
        formatValue(number, format, digits, changeSign != 0, out);
        return ItemStatus::Ok;
      },
      value);
  if (status != ItemStatus::Ok)
    return status;
  result += value;
  std::string unit;
  if (has(item, "SHOWDIM") && item.attribute("DIM", unit)) {
    const char last = result.empty() ? ' ' : result.back();
    if (last != '?') {
      if (format != static_cast<int>(NumberFormat::Spice) && !isLetter(last))
        result += ' ';
      result += unit;
    }
  }
  text = result;
  return ItemStatus::Ok;
}

ItemStatus formatSpiceItem(const ItemAttributes &item, std::string &text) {
  return valueText(
      item,
      [](double number, std::string &out) {
        out = spiceValue(number);
        return ItemStatus::Ok;
      },
      text);
}

} // namespace passive
