#include "passive-lib/core/moniker-name.h"

namespace passive {

bool cutMonikerName(const std::string &name, MonikerNames &names) {
  const std::size_t tilde = name.rfind('~');
  if (tilde == std::string::npos || tilde == 0)
    return false;
  std::string front = name.substr(0, tilde - 1);
  const std::string back = name.substr(tilde + 1);
  names.shape = back.substr(0, back.find('\\'));
  std::size_t cut = front.rfind('\\');
  if (cut == std::string::npos)
    return false;
  names.page = front.substr(cut + 1);
  front.resize(cut);
  cut = front.rfind('\\');
  if (cut == std::string::npos)
    return false;
  front.resize(cut);
  cut = front.rfind('\\');
  names.document = cut == std::string::npos ? front : front.substr(cut + 1);
  return !names.shape.empty() && !names.page.empty() && !names.document.empty();
}

} // namespace passive
