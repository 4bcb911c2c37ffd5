// The netlist's text.
#include "circuit-sim/core/netlist-text.h"

#include <cctype>

namespace qorsim {

std::string netlistTitleLine(const std::string &title) {
  return "*** \"" + title + "\" netlist created by Netweave\n";
}

std::string wrapModelText(const std::string &text) {
  std::string out, rest = text;
  // A continuation's own "+ " is no place to break: it would never end.
  std::size_t firstUsable = 0;
  while (rest.size() > ModelLineWidth) {
    const std::size_t space = rest.rfind(' ', ModelLineWidth);
    if (space == std::string::npos || space < firstUsable)
      break; // no space to break at: the rest goes on one line
    out += rest.substr(0, space) + "\n";
    rest = "+ " + rest.substr(space + 1);
    firstUsable = 2;
  }
  if (!rest.empty())
    out += rest + "\n";
  return out;
}

std::string netlistText(const std::string &title, const std::vector<std::string> &elements,
                        const std::set<std::string> &models) {
  std::string text = netlistTitleLine(title);
  for (const std::string &element : elements)
    text += element + "\n";
  if (!models.empty())
    text += "\n";
  for (const std::string &model : models)
    text += wrapModelText(model);
  return text + "\n.OP\n.END\n";
}

std::string titleFromDocumentName(const std::string &name) {
  std::string title = name.substr(0, name.find('.'));
  if (!title.empty())
    title[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(title[0])));
  return title;
}

} // namespace qorsim
