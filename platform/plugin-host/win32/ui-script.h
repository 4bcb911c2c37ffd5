// The test host's UI script: drives a plug-in's windows from inside the
// host's thread, as a person at the editor would, while the plug-in's
// modal loops run. A thread timer takes the steps in order; each waits
// until its condition holds (deadline per step) and then acts by
// messages to the controls, never by screen positions. Results are
// reported as "ui.*" lines. Steps:
//
//   window:<caption>      wait for a visible window of this thread with that
//                         caption (top-level or a child); it becomes the
//                         target of the following steps
//   gone:<caption>        wait until no visible window has that caption
//   type:<id>=<text>      WM_SETTEXT to the target's visible control <id>
//   slide:<id>=<n>        move a trackbar as its thumb would (TBM_SETPOS and
//                         WM_HSCROLL with TB_THUMBPOSITION to its parent)
//   click:<id>            post BM_CLICK to a button, box or radio
//   notify:<id>           post the control's click notification (STN_CLICKED)
//                         to its parent, for pictures that take clicks
//   press:<id>            post WM_COMMAND <id> to the target (message-box
//                         buttons: 1 OK, 2 Cancel, 6 Yes, 7 No)
//   pick:<id>=<text>      select the combo-box item with that text (as a
//                         choice from its list)
//   tab:<n>               click tab <n> of the target's tab control
//   expect:<id>=<text>    wait until the control shows that text
//   checked:<id>=<0|1>    wait until the box has that state
//   enabled:<id>=<0|1>    wait until the control has that state
//   tabis:<n>             wait until tab <n> is selected
//   shown:<id>=<0|1>      wait until the control is shown or hidden
//   progress:<id>=<n>     wait until the progress bar (shown or not) is at n
//   saytext:<substring>   wait until a static text of the target holds it
//   settle:               wait one timer tick: a thread's timer comes only
//                         when no posted message is left, so whatever the
//                         steps before it posted has been handled
//   report:<id>           "ui.<n>.<id>=<text>" of the control now
//   file:<path>           type the path into the save dialog and accept it
//   shot:<path.bmp>       the target's top-level window as it shows on
//                         screen, BMP
//   drag:<id>=x,y>x,y>... the left button pressed at the first point of the
//                         control's client area, moved through the others
//                         and released at the last; after the press the
//                         messages go where real input would (the window
//                         holding the capture), the points kept in screen
//                         terms so a window that moves under the pointer
//                         sees the pointer's own movement; "<n>r" counts
//                         n pixels in from the right or bottom edge
//   hold:<id>=down|up     the left button pressed or released over the
//                         centre of control <id>, sent to its parent (for
//                         windows that take clicks on their own background)
//   shift:<0|1>           the thread's Shift key state, as GetKeyState sees it
//   key:<id>=<vk>[*n]     focus to control <id> and WM_KEYDOWN posted to it,
//                         repeat count n (1), through the dialog manager
//   exstyle:<id>=<hex>    wait until the control's extended style has all
//                         these bits
//   noexstyle:<id>=<hex>  wait until it has none of them
//   dump:<path>           where the host writes what its displayPixels draws
//                         from now on (empty: nowhere)
//   client:<id>           "ui.<n>.client.<id>=<width>,<height>" of the
//                         control's client area
//   above:<id>            "ui.<n>.above.<id>=<texts>": the visible static
//                         texts just over the control, left to right, as
//                         text|text|...
//   screen:<id>           "ui.<n>.screen.<id>=<left>,<top>,<right>,<bottom>":
//                         the control's rectangle on the screen, for input
//                         sent through the X server
//   fits:<name>           "ui.<n>.fits.<name>=<labels>": every visible label
//                         of the target that does not fit its control, as
//                         id:text|...; empty when all fit. Check boxes and
//                         radio buttons by what they paint when widened
//                         (their box, text and a disabled text's embossing);
//                         static texts, group boxes and one-line edits by
//                         their text measured with the control's own font
//                         (wrapped as a static wraps it)
//
// A step that posts (click, notify, press, tab, file) ends its tick, so the
// next step sees what the posted messages did. On a step that times out the script reports
// "ui.failed=<step>" and cancels every dialog of the thread, so the plug-in's run ends.
#ifndef PLATFORM_PLUGIN_HOST_UI_SCRIPT_H
#define PLATFORM_PLUGIN_HOST_UI_SCRIPT_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace plugin_host {

class UiScript {
public:
  using Reporter = std::function<void(const std::string &name, const std::string &value)>;
  using DumpPath = std::function<void(const std::string &path)>;
  UiScript(std::vector<std::string> steps, Reporter report, DWORD stepTimeoutMs = 20000);
  ~UiScript();
  UiScript(const UiScript &) = delete;
  UiScript &operator=(const UiScript &) = delete;

  // Steps taken so far; whether one failed.
  std::size_t Done() const { return next_; }
  bool Failed() const { return failed_; }
  // Reports what is left undone; called at the end of the run.
  void Finish();
  // Where the "dump" step sends the host's drawn pixels.
  void OnDumpPath(DumpPath dumpPath) { dumpPath_ = std::move(dumpPath); }

private:
  static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
  void Tick();
  // True when the step's condition held and its action ran.
  bool Try(const std::string &verb, const std::string &argument);
  HWND Control(int id, bool visibleOnly = true) const;
  bool Drag(HWND control, const std::string &points);
  void Fail(const std::string &why);
  void CancelEverything();

  static UiScript *active_;
  std::vector<std::string> steps_;
  Reporter report_;
  DumpPath dumpPath_;
  DWORD stepTimeout_;
  std::size_t next_ = 0;
  DWORD stepStarted_ = 0;
  HWND target_ = nullptr;
  UINT_PTR timer_ = 0;
  bool busy_ = false;
  bool settling_ = false;
  bool failed_ = false;
};

} // namespace plugin_host

#endif
