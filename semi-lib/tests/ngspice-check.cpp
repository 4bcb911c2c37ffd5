// The cross-check against ngspice: every circuit of check-circuits.cpp is
// solved by our devices on the native circuit host, written as a netlist
// from the devices' own SPICE lines, run by "ngspice -b" with options that
// make its thermal voltage equal ours, and compared: node voltages to
// 1e-5 V + 1e-6 |V|, source currents to 1e-5 relative, and per transistor
// Ic, Ib, gm, gpi, go, cmu (and cpi in forward-active operation, gmu with a
// forward-biased collector junction) to 1e-4 relative. ngspice counts PNP
// currents the other way round. Each of our solves must converge within 50
// Newton passes; the counts are printed.
//
//   semi-ngspice-check <scratch dir>   exit 0 all agree, 1 a mismatch,
//                                      77 when ngspice is not installed
#include "semi-lib/tests/check-circuits.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

namespace {

using namespace semi_test;

const int MostPasses = 50;
const double Gmin = 1e-12;
const char *Options = ".options temp=26.99423 tnom=26.99423 reltol=1e-9 vntol=1e-12 abstol=1e-18";

struct Compared {
  std::string what, peerName;
  double ours;
  double sign;     // ngspice's sign relative to ours
  double relative; // tolerance
  double absolute;
};

std::map<std::string, double> readPeerValues(const std::string &log) {
  std::map<std::string, double> values;
  std::ifstream in(log);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t eq = line.find(" = ");
    if (eq == std::string::npos)
      continue;
    char *end = nullptr;
    const std::string number = line.substr(eq + 3);
    const double v = std::strtod(number.c_str(), &end);
    if (end == number.c_str())
      continue;
    values[line.substr(0, eq)] = v;
  }
  return values;
}

std::string lower(std::string s) {
  for (char &ch : s)
    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

std::vector<Compared> quantities(TestCircuit &c, const CheckCircuit &cc) {
  std::vector<Compared> list;
  for (const std::string &net : c.netNames()) {
    const std::string spice = c.SpiceNet(c.netIndex(net));
    if (spice == "0")
      continue;
    const double v = c.netVoltage(net);
    list.push_back({"V(" + net + ")", "v(" + spice + ")", v, 1.0, 1e-6, 1e-5});
  }
  for (const std::string &id : cc.sources) {
    const int branch = static_cast<VoltageSourceDevice &>(c.device(id)).branch();
    list.push_back({"I(" + id + ")", "i(" + lower(id) + ")", c.Solution(branch), 1.0, 1e-5, 0});
  }
  for (const std::string &id : cc.transistors) {
    const TestComponent &q = c.component(id);
    const bool pnp =
        dynamic_cast<semi::BjtDevice &>(c.device(id)).polarity() == semi::Polarity::Pnp;
    const double currentSign = pnp ? -1.0 : 1.0;
    const std::string at = "@" + lower(id) + "[";
    list.push_back({id + " Ic", at + "ic]", q.result("Ic"), currentSign, 1e-4, 0});
    list.push_back({id + " Ib", at + "ib]", q.result("Ib"), currentSign, 1e-4, 0});
    // Conductances agree to GMIN: ngspice puts it across each junction,
    // the device into the junction term that BF and BR divide.
    list.push_back({id + " gm", at + "gm]", q.result("gm"), 1.0, 1e-4, Gmin});
    list.push_back({id + " gpi", at + "gpi]", 1 / q.result("rpi"), 1.0, 1e-4, Gmin});
    list.push_back({id + " go", at + "go]", 1 / q.result("ro"), 1.0, 1e-4, Gmin});
    list.push_back({id + " cmu", at + "cmu]", q.result("cmu"), 1.0, 1e-4, 0});
    const double vbe = q.result("Vbe(int)"), vbc = q.result("Vbc(int)");
    if (vbe > 0 && vbc < 0)
      list.push_back({id + " cpi", at + "cpi]", q.result("cpi"), 1.0, 1e-4, 0});
    if (vbc > 0)
      list.push_back({id + " gmu", at + "gmu]", 1 / q.result("rmu"), 1.0, 1e-4, Gmin});
  }
  return list;
}

bool checkCircuit(const CheckCircuit &cc, int number, const std::string &dir) {
  TestCircuit c;
  cc.build(c);
  const SolveReport report = c.SolveDC();
  std::cout << cc.name << ": " << report.passes << " Newton passes";
  if (!report.converged || report.passes > MostPasses) {
    std::cout << " -- FAILED to converge within " << MostPasses << "\n";
    return false;
  }
  const std::vector<Compared> list = quantities(c, cc);
  std::string netlist = c.netlist(cc.name);
  const std::size_t end = netlist.rfind(".END");
  std::ostringstream control;
  control << Options << "\n.control\nset numdgt=12\nop\n";
  for (const Compared &q : list)
    control << "print " << q.peerName << "\n";
  control << "quit 0\n.endc\n";
  netlist.insert(end, control.str());
  const std::string base = dir + "/check-" + std::to_string(number);
  std::ofstream(base + ".cir") << netlist;
  const std::string command = "ngspice -b " + base + ".cir > " + base + ".log 2>&1";
  if (std::system(command.c_str()) != 0) {
    std::cout << " -- ngspice failed, see " << base << ".log\n";
    return false;
  }
  const std::map<std::string, double> peer = readPeerValues(base + ".log");
  bool ok = true;
  std::ostringstream detail;
  for (const Compared &q : list) {
    const auto found = peer.find(q.peerName);
    if (found == peer.end()) {
      detail << "  " << q.what << ": ngspice printed no " << q.peerName << "\n";
      ok = false;
      continue;
    }
    const double theirs = q.sign * found->second;
    const double allowed = q.absolute + q.relative * std::fabs(theirs);
    const bool agrees = std::fabs(q.ours - theirs) <= allowed;
    ok = ok && agrees;
    char line[200];
    std::snprintf(line, sizeof line, "  %-14s ours %-22.15g ngspice %-22.15g %s\n", q.what.c_str(),
                  q.ours, theirs, agrees ? "" : "MISMATCH");
    detail << line;
  }
  std::cout << (ok ? ", agrees with ngspice" : " -- MISMATCH") << " (" << list.size()
            << " values)\n"
            << detail.str();
  return ok;
}

// The fault the distinct default names mend: with the PNP's model line
// under the NPN's default name, ngspice takes one of the two lines for
// both transistors, and the PNP follower's emitter lands elsewhere.
bool sharedNameWouldDisagree(const std::string &dir) {
  for (const CheckCircuit &cc : checkCircuits()) {
    if (cc.name != "default NPN and PNP on one page")
      continue;
    TestCircuit c;
    cc.build(c);
    c.SolveDC();
    std::string netlist = c.netlist(cc.name);
    for (std::size_t at; (at = netlist.find("QPMOD")) != std::string::npos;)
      netlist.replace(at, 5, "QMOD");
    const std::string spice = c.SpiceNet(c.netIndex("e2"));
    netlist.insert(netlist.rfind(".END"), std::string(Options) +
                                              "\n.control\nset numdgt=12\nop\nprint v(" + spice +
                                              ")\nquit 0\n.endc\n");
    const std::string base = dir + "/shared-name";
    std::ofstream(base + ".cir") << netlist;
    if (std::system(("ngspice -b " + base + ".cir > " + base + ".log 2>&1").c_str()) != 0)
      return false;
    const std::map<std::string, double> peer = readPeerValues(base + ".log");
    const auto found = peer.find("v(" + spice + ")");
    const double ours = c.netVoltage("e2");
    std::cout << "one shared default name: PNP emitter ours " << ours << " V, ngspice "
              << (found == peer.end() ? NAN : found->second) << " V\n";
    return found != peer.end() && std::fabs(found->second - ours) > 0.1;
  }
  return false;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::cerr << "usage: semi-ngspice-check <scratch dir>\n";
    return 2;
  }
  if (std::system("ngspice --version > /dev/null 2>&1") != 0) {
    std::cout << "ngspice is not installed: the cross-check cannot run\n";
    return 77;
  }
  const std::string dir = argv[1];
  std::system(("mkdir -p '" + dir + "'").c_str());
  bool ok = true;
  int number = 0;
  for (const CheckCircuit &cc : checkCircuits())
    ok = checkCircuit(cc, ++number, dir) && ok;
  std::cout << (ok ? "every circuit agrees with ngspice\n" : "some circuits disagree\n");
  if (!sharedNameWouldDisagree(dir)) {
    std::cout << "a shared default model name went unnoticed by ngspice\n";
    ok = false;
  }
  return ok ? 0 : 1;
}
