// How much processor time a pumped wait takes, as the mail client waits:
// a one-second timer counts two ticks while the program pumps messages. A
// wait that sleeps between messages uses next to none of the two seconds;
// one that spins uses all of them. scripts/bench-message-pump.sh runs it
// under Wine; the window tests keep only the wait's functional rules.
#include "platform/components/win32/application.h"
#include "platform/components/win32/utility.h"

#include <windows.h>

#include <cstdio>

using namespace components;

namespace {

double processorSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME &time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7; // 100 ns units
  };
  return seconds(kernel) + seconds(user);
}

} // namespace

int main() {
  int status = 0;
  for (int round = 0; round < 3; ++round) {
    int ticks = 0;
    TTimer timer(nullptr);
    timer.SetInterval(1000);
    timer.OnTimer = [&](TObject *) { ++ticks; };
    double processorBefore = processorSeconds();
    DWORD start = GetTickCount();
    bool ended = Application->WaitUntil([&] { return ticks >= 2; }, 10000);
    DWORD elapsed = GetTickCount() - start;
    double processor = processorSeconds() - processorBefore;
    std::printf("two-second pumped wait: %lu ms, %.3f s of processor time (sleeping wait: under "
                "0.2 s; spinning: about 2 s)\n",
                static_cast<unsigned long>(elapsed), processor);
    if (!ended || processor >= 0.2)
      status = 1;
  }
  return status;
}
