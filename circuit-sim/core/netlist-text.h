// The text of a SPICE netlist as the circuit writes it: the title line,
// the element lines as the devices gave them, the sorted distinct model
// lines wrapped to 72 characters, and the operating-point tail. Lines end
// in "\n"; the file is written in text mode, which makes them CR LF.
#ifndef CIRCUIT_SIM_NETLIST_TEXT_H
#define CIRCUIT_SIM_NETLIST_TEXT_H

#include <set>
#include <string>
#include <vector>

namespace qorsim {

const std::size_t ModelLineWidth = 72;

std::string netlistTitleLine(const std::string &title);

// A model text broken at its last space within 72 characters, continued on
// lines that start with "+ ". A stretch without such a space is written
// unbroken: the wrap always ends.
std::string wrapModelText(const std::string &text);

std::string netlistText(const std::string &title, const std::vector<std::string> &elements,
                        const std::set<std::string> &models);

// The title of a drawing that has no file on disk: its name up to the
// first ".", the first character in upper case.
std::string titleFromDocumentName(const std::string &name);

} // namespace qorsim

#endif
