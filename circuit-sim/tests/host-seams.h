// QorSim's seams in the process of a benchmark or test that runs it
// unattended: the netlist dialogs answered without a person (every
// question with dialogLog.answer, Yes unless a test says otherwise; the
// save dialog with netlistSavePath unless dialogLog.cancel), what they were
// asked kept in dialogLog, and the phases of each work event collected in
// workPhases. Include it in one source file of the executable: it defines
// the exports QorSim looks for there.
#ifndef CIRCUIT_SIM_TESTS_HOST_SEAMS_H
#define CIRCUIT_SIM_TESTS_HOST_SEAMS_H

#include "circuit-sim/win32/netlist-dialogs.h"

#include <string>
#include <utility>
#include <vector>

namespace qorsim_test {

// Where the next netlist is saved (a Windows path).
std::string netlistSavePath;

struct DialogMessage {
  std::string text, caption;
  UINT style;
};
// What the netlist dialogs were asked, and how they answer.
struct DialogLog {
  std::vector<DialogMessage> messages;
  std::vector<std::string> initialNames; // the save dialog's proposed names
  int answer = IDYES;
  bool cancel = false;
};
DialogLog dialogLog;
// The phases QorSim reported, in order.
std::vector<std::pair<std::string, double>> workPhases;

namespace seams {

int __cdecl answerMessage(HWND, const char *text, const char *caption, UINT style) {
  dialogLog.messages.push_back({text, caption, style});
  return dialogLog.answer;
}

bool __cdecl answerSave(const char *initialName, char *path, DWORD size) {
  dialogLog.initialNames.push_back(initialName);
  if (dialogLog.cancel)
    return false;
  lstrcpynA(path, netlistSavePath.c_str(), static_cast<int>(size));
  return true;
}

const qorsim::NetlistDialogs unattendedDialogs = {answerMessage, answerSave};

} // namespace seams

} // namespace qorsim_test

extern "C" __declspec(dllexport) const qorsim::NetlistDialogs *__cdecl QorSimNetlistDialogs() {
  return &qorsim_test::seams::unattendedDialogs;
}

extern "C" __declspec(dllexport) void __cdecl QorSimWorkPhase(const char *phase, double seconds) {
  qorsim_test::workPhases.emplace_back(phase, seconds);
}

#endif
