// Descriptor items as text.
#include "platform/plugin-host/core/descriptor-items.h"

#include "platform/plugin-host/core/plugin-resources.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

namespace plugin {

namespace {

OSType codeOf(const std::string &text) {
  return text.size() == 4 ? fourCC({text[0], text[1], text[2], text[3], '\0'}) : 0;
}

} // namespace

bool ParseDescriptorItem(const std::string &text, DescriptorItem &item) {
  item = DescriptorItem();
  if (text.size() < 10 || text[4] != '=' || text[9] != ':')
    return false;
  item.key = codeOf(text.substr(0, 4));
  item.type = codeOf(text.substr(5, 4));
  std::string value = text.substr(10);
  char *end = nullptr;
  if (item.type == typeChar) {
    item.text = value;
    return true;
  }
  if (value.empty())
    return false;
  if (item.type == typeInteger || item.type == typeBoolean) {
    long number = std::strtol(value.c_str(), &end, 10);
    item.integer = static_cast<std::int32_t>(number);
    item.flag = number != 0;
  } else if (item.type == typeFloat) {
    item.number = std::strtod(value.c_str(), &end);
  } else {
    return false;
  }
  return end && *end == '\0';
}

std::string FormatDescriptorItem(const DescriptorItem &item) {
  std::ostringstream out;
  out.precision(17);
  out << fourCCText(item.key) << '=' << fourCCText(item.type) << ':';
  if (item.type == typeInteger)
    out << item.integer;
  else if (item.type == typeBoolean)
    out << (item.flag ? 1 : 0);
  else if (item.type == typeFloat)
    out << item.number;
  else
    out << item.text;
  return out.str();
}

} // namespace plugin
