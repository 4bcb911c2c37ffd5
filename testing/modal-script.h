// Runs a test's steps inside the modal loop of the dialog or sheet it
// opens: a thread timer runs one step per tick, in order, once the loop
// is running; each step answers true once it has acted (false: try again
// at the next tick). Past the deadline the give-up action runs at every
// tick (it should end the dialog), so no test can hang.
#ifndef TESTING_MODAL_SCRIPT_H
#define TESTING_MODAL_SCRIPT_H

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace testing_support {

class ModalScript {
public:
  using Step = std::function<bool()>;

  ModalScript(std::vector<Step> steps, std::function<void()> giveUp, DWORD deadlineMs = 20000)
      : steps_(std::move(steps)), giveUp_(std::move(giveUp)),
        deadline_(GetTickCount() + deadlineMs) {
    current() = this;
    timer_ = SetTimer(nullptr, 0, 30, tick);
  }
  ~ModalScript() {
    KillTimer(nullptr, timer_);
    current() = nullptr;
  }
  ModalScript(const ModalScript &) = delete;
  ModalScript &operator=(const ModalScript &) = delete;

  bool finished() const { return next_ >= steps_.size(); }
  std::size_t stepsDone() const { return next_; }
  bool gaveUp() const { return gaveUp_; }

private:
  static ModalScript *&current() {
    static ModalScript *script = nullptr;
    return script;
  }
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript *self = current();
    if (!self || self->busy_)
      return;
    self->busy_ = true;
    if (static_cast<LONG>(GetTickCount() - self->deadline_) > 0) {
      self->gaveUp_ = true;
      if (self->giveUp_)
        self->giveUp_();
    } else if (!self->finished() && self->steps_[self->next_]()) {
      ++self->next_;
    }
    self->busy_ = false;
  }

  std::vector<Step> steps_;
  std::function<void()> giveUp_;
  DWORD deadline_;
  UINT_PTR timer_ = 0;
  std::size_t next_ = 0;
  bool busy_ = false;
  bool gaveUp_ = false;
};

} // namespace testing_support

#endif
