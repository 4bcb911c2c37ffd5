// The values of a host's scripting descriptor as the test host keeps them,
// and their text form on its command line and in its report:
// "<key>=<type>:<value>", for example "Lmnc=long:20", "tCvL=doub:12.5",
// "pRgr=bool:1", "tExp=TEXT:th_".
#ifndef PLATFORM_PLUGIN_HOST_DESCRIPTOR_ITEMS_H
#define PLATFORM_PLUGIN_HOST_DESCRIPTOR_ITEMS_H

#include "platform/plugin-host/core/plugin-interface.h"

#include <string>
#include <vector>

namespace plugin {

struct DescriptorItem {
  OSType key = 0;
  OSType type = 0;
  std::int32_t integer = 0;
  double number = 0;
  bool flag = false;
  std::string text;
};

using DescriptorItems = std::vector<DescriptorItem>;

// False for text that is not of the form above or names an unknown type.
bool ParseDescriptorItem(const std::string &text, DescriptorItem &item);
std::string FormatDescriptorItem(const DescriptorItem &item);

} // namespace plugin

#endif
