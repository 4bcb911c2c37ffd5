// The cross-check's quantities and files.
#include "semi-lib/tests/check-report.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace semi_test {
namespace {

const double Gmin = 1e-12;
const char *Options = ".options temp=26.99423 tnom=26.99423 reltol=1e-9 vntol=1e-12 abstol=1e-18";

} // namespace

std::string lower(std::string text) {
  for (char &ch : text)
    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

std::vector<Compared> nodeVoltages(TestCircuit &c,
                                   const std::function<double(const std::string &net)> &voltage) {
  std::vector<Compared> list;
  for (const std::string &net : c.netNames()) {
    const std::string spice = c.SpiceNet(c.netIndex(net));
    if (spice != "0")
      list.push_back(
          {"V(" + net + ")", "v(" + spice + ")", voltage(net), 1.0, 1e-6, 1e-5, "", net});
  }
  return list;
}

std::vector<Compared> checkQuantities(TestCircuit &c, const CheckCircuit &cc) {
  std::vector<Compared> list =
      nodeVoltages(c, [&c](const std::string &net) { return c.netVoltage(net); });
  for (const std::string &id : cc.sources) {
    const int branch = static_cast<VoltageSourceDevice &>(c.device(id)).branch();
    list.push_back(
        {"I(" + id + ")", "i(" + lower(id) + ")", c.Solution(branch), 1.0, 1e-5, 0, id, "I"});
  }
  for (const std::string &id : cc.transistors) {
    const TestComponent &q = c.component(id);
    const bool pnp =
        dynamic_cast<semi::BjtDevice &>(c.device(id)).polarity() == semi::Polarity::Pnp;
    const double currentSign = pnp ? -1.0 : 1.0;
    const std::string at = "@" + lower(id) + "[";
    auto item = [&](const char *label, const char *peer, const char *name, bool inverse,
                    double sign, double absolute) {
      const double v = q.result(name);
      list.push_back({id + " " + label, at + peer + "]", inverse ? 1 / v : v, sign,
                      LastLoadTolerance, absolute, id, name, inverse});
    };
    item("Ic", "ic", "Ic", false, currentSign, 0);
    item("Ib", "ib", "Ib", false, currentSign, 0);
    // Conductances agree to GMIN: ngspice puts it across each junction,
    // the device into the junction term that BF and BR divide.
    item("gm", "gm", "gm", false, 1.0, Gmin);
    item("gpi", "gpi", "rpi", true, 1.0, Gmin);
    item("go", "go", "ro", true, 1.0, Gmin);
    item("cmu", "cmu", "cmu", false, 1.0, 0);
    const double vbe = q.result("Vbe(int)"), vbc = q.result("Vbc(int)");
    if (vbe > 0 && vbc < 0)
      item("cpi", "cpi", "cpi", false, 1.0, 0);
    if (vbc > 0)
      item("gmu", "gmu", "rmu", true, 1.0, Gmin);
  }
  return list;
}

void writeCheckFiles(const std::string &base, std::string netlist, const std::string &title,
                     const std::string &passes, const std::vector<Compared> &list,
                     const std::string &extraControl) {
  std::ostringstream control;
  control << Options << "\n.control\nset numdgt=12\nop\n" << extraControl;
  for (const Compared &q : list)
    control << "print " << q.peerName << "\n";
  control << "quit 0\n.endc\n";
  netlist.insert(netlist.rfind(".END"), control.str());
  std::ofstream(base + ".cir") << netlist;
  // The same bytes on every platform: the builds' results are compared.
  std::ofstream ours(base + ".ours", std::ios::binary);
  ours << "# " << title << "\t" << passes << "\n";
  char line[400];
  for (const Compared &q : list) {
    std::snprintf(line, sizeof line, "%s\t%s\t%g\t%g\t%g\t%.17g\n", q.what.c_str(),
                  q.peerName.c_str(), q.sign, q.relative, q.absolute, q.ours);
    ours << line;
  }
}

} // namespace semi_test
