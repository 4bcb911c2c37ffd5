// Forms under Wine: ownership and release of controls and their windows,
// modal results, close queries, release from inside a form's own handler,
// private messages, the canvas, and message dialogs.
#include "platform/components/win32/forms.h"

#include "platform/components/core/exception.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/dialogs.h"
#include "platform/components/win32/std-controls.h"
#include "platform/components/win32/tests/win32-test-support.h"
#include "platform/components/win32/utility.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace components;
using win32_test::CapturedExceptions;
using win32_test::pumpUntil;

namespace {

// A button that records its destruction.
class RecordingButton : public TButton {
public:
  RecordingButton(TComponent *owner, std::vector<std::string> &log, std::string tag)
      : TButton(owner), log_(log), tag_(std::move(tag)) {}
  ~RecordingButton() override { log_.push_back(tag_); }

private:
  std::vector<std::string> &log_;
  std::string tag_;
};

} // namespace

TEST(FormOwnership, FormFreesItsControlsAndTheirWindows) {
  std::vector<std::string> log;
  HWND formWindow, panelWindow, buttonWindow, editWindow;
  {
    TForm form(nullptr);
    auto *panel = new TPanel(&form);
    panel->SetParent(&form);
    auto *button = new RecordingButton(&form, log, "button");
    button->SetParent(panel); // owned by the form, shown on the panel
    auto *edit = new TEdit(&form);
    edit->SetParent(&form);
    formWindow = form.Handle();
    panelWindow = panel->Handle();
    buttonWindow = button->Handle();
    editWindow = edit->Handle();
    EXPECT_EQ(GetParent(buttonWindow), panelWindow);
    EXPECT_EQ(GetParent(panelWindow), formWindow);
    EXPECT_EQ(form.ComponentCount(), 3);
  }
  EXPECT_EQ(log, std::vector<std::string>{"button"});
  for (HWND window : {formWindow, panelWindow, buttonWindow, editWindow})
    EXPECT_FALSE(IsWindow(window));
}

TEST(FormOwnership, ParentFreedBeforeItsChildLeavesTheChildUsable) {
  std::vector<std::string> log;
  TForm form(nullptr);
  auto *panel = new TPanel(&form);
  panel->SetParent(&form);
  auto *button = new RecordingButton(&form, log, "button");
  button->SetParent(panel);
  HWND buttonWindow = button->Handle();
  delete panel; // the button's window goes with the panel's
  EXPECT_FALSE(IsWindow(buttonWindow));
  EXPECT_EQ(button->Parent(), nullptr);
  button->SetParent(&form); // a new window on the form
  EXPECT_TRUE(IsWindow(button->Handle()));
  EXPECT_EQ(GetParent(button->Handle()), form.Handle());
  delete button;
  EXPECT_EQ(log, std::vector<std::string>{"button"});
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(form.ControlCount(), 0);
}

TEST(ModalForms, ButtonWithModalResultEndsShowModal) {
  TForm form(nullptr);
  auto *ok = new TButton(&form);
  ok->SetCaption("OK");
  ok->SetModalResult(mrOk);
  ok->SetParent(&form);
  auto *other = new TButton(&form);
  other->SetLeft(100);
  other->SetParent(&form);
  TForm bystander(nullptr);
  bystander.Show();
  int clicks = 0;
  ok->OnClick = [&](TObject *) { ++clicks; };
  bool bystanderDisabledMeanwhile = false;
  other->OnClick = [&](TObject *) {
    bystanderDisabledMeanwhile = !IsWindowEnabled(bystander.Handle());
  };
  // Clicks queued before the form runs: handled by its modal loop.
  PostMessageA(other->Handle(), BM_CLICK, 0, 0);
  PostMessageA(ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(bystanderDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(bystander.Handle()));
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST(ModalForms, CloseQueryCanRefuseAndCloseGivesCancel) {
  TForm form(nullptr);
  int queries = 0;
  form.OnCloseQuery = [&](TObject *, bool &canClose) { canClose = ++queries > 1; };
  std::vector<TCloseAction> closes;
  form.OnClose = [&](TObject *, TCloseAction &action) { closes.push_back(action); };
  // The close box twice: the first is refused by the query.
  PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
  PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_EQ(queries, 2);
  EXPECT_EQ(closes, std::vector<TCloseAction>{caHide});
}

TEST(ModalForms, ShowModalOnAVisibleFormIsRefused) {
  TForm form(nullptr);
  form.Show();
  EXPECT_THROW(form.ShowModal(), Exception);
}

TEST(FormRelease, FormReleasedFromItsOwnButtonHandlerIsFreedAfterTheHandler) {
  auto *form = new TForm(nullptr);
  auto *button = new TButton(form);
  button->SetParent(form);
  bool destroyed = false;
  bool aliveAfterRelease = false;
  form->OnDestroy = [&](TObject *) { destroyed = true; };
  button->OnClick = [&](TObject *) {
    form->Release();
    // Still whole while its own handler runs.
    aliveAfterRelease = !destroyed && IsWindow(form->Handle());
  };
  HWND formWindow = form->Handle(), buttonWindow = button->Handle();
  form->Show();
  PostMessageA(buttonWindow, BM_CLICK, 0, 0);
  ASSERT_TRUE(pumpUntil([&] { return destroyed; }));
  EXPECT_TRUE(aliveAfterRelease);
  EXPECT_FALSE(IsWindow(formWindow));
  EXPECT_FALSE(IsWindow(buttonWindow));
}

TEST(FormRelease, CloseActionFreeReleasesTheForm) {
  auto *form = new TForm(Application);
  bool destroyed = false;
  form->OnDestroy = [&](TObject *) { destroyed = true; };
  form->OnClose = [](TObject *, TCloseAction &action) { action = caFree; };
  int before = Application->ComponentCount();
  form->Show();
  PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(pumpUntil([&] { return destroyed; }));
  EXPECT_EQ(Application->ComponentCount(), before - 1);
}

TEST(FormRelease, CloseActionHideOnlyHides) {
  TForm form(nullptr);
  form.Show();
  form.Close();
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST(FormEvents, ShowFiresBeforeTheWindowAppearsAndPostedRequestsRunFromTheLoop) {
  TForm form(nullptr);
  bool visibleAtShow = true;
  int requests = 0;
  form.SetMessageHandler(WM_USER + 42, [&](TMessage &) { ++requests; });
  form.OnShow = [&](TObject *) {
    visibleAtShow = IsWindowVisible(form.Handle()) != FALSE;
    PostMessageA(form.Handle(), WM_USER + 42, 0, 0);
  };
  form.Show();
  EXPECT_FALSE(visibleAtShow);
  EXPECT_EQ(requests, 0); // posted, not sent
  ASSERT_TRUE(pumpUntil([&] { return requests == 1; }));
}

TEST(FormLayout, AlignedControlsShareTheClientArea) {
  TForm form(nullptr);
  form.SetClientWidth(300);
  form.SetClientHeight(200);
  auto *top = new TPanel(&form);
  top->SetHeight(28);
  top->SetAlign(alTop);
  top->SetParent(&form);
  auto *bottom = new TPanel(&form);
  bottom->SetHeight(15);
  bottom->SetAlign(alBottom);
  bottom->SetParent(&form);
  auto *client = new TMemo(&form);
  client->SetAlign(alClient);
  client->SetParent(&form);
  EXPECT_EQ(form.ClientWidth(), 300);
  EXPECT_EQ(form.ClientHeight(), 200);
  RECT expectedTop{0, 0, 300, 28}, expectedBottom{0, 185, 300, 200},
      expectedClient{0, 28, 300, 185};
  auto same = [](const RECT &a, const RECT &b) { return EqualRect(&a, &b) != FALSE; };
  EXPECT_TRUE(same(top->BoundsRect(), expectedTop));
  EXPECT_TRUE(same(bottom->BoundsRect(), expectedBottom));
  EXPECT_TRUE(same(client->BoundsRect(), expectedClient));
  // The windows themselves are where the controls say.
  RECT window;
  GetWindowRect(client->Handle(), &window);
  MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT *>(&window), 2);
  EXPECT_TRUE(same(window, expectedClient));
  form.SetClientHeight(300);
  EXPECT_EQ(bottom->Top(), 285);
  EXPECT_EQ(client->Height(), 257);
}

TEST(FormCanvas, MeasuresTextInTheFormFont) {
  TForm form(nullptr);
  TCanvas &canvas = form.Canvas();
  EXPECT_EQ(canvas.TextWidth(""), 0);
  int one = canvas.TextWidth("W"), three = canvas.TextWidth("WWW");
  EXPECT_GT(one, 0);
  EXPECT_EQ(three, 3 * one);
  int normal = canvas.TextWidth("&Change All");
  form.Font().SetHeight(-22);
  EXPECT_GT(form.Canvas().TextWidth("&Change All"), normal);
}

TEST(MessageDialogs, ButtonsOfTheSetAreShownAndThePressedOneAnswers) {
  struct Case {
    TMsgDlgButtons buttons;
    std::vector<std::string> captions;
    const char *press;
    int result;
  } cases[] = {
      {mbAbort, {"&Abort"}, "&Abort", mrAbort},
      {mbYes | mbNo, {"&Yes", "&No"}, "&No", mrNo},
      {mbOK, {"OK"}, "OK", mrOk},
  };
  for (const Case &c : cases) {
    std::unique_ptr<TForm> dialog(
        CreateMessageDialog("Exit without saving configuration?", mtConfirmation, c.buttons));
    EXPECT_EQ(dialog->Caption(), "Confirmation");
    std::vector<std::string> captions;
    TButton *press = nullptr;
    for (int i = 0; i < dialog->ControlCount(); ++i)
      if (auto *button = dynamic_cast<TButton *>(dialog->Controls(i))) {
        captions.push_back(button->Caption());
        if (button->Caption() == c.press)
          press = button;
      }
    EXPECT_EQ(captions, c.captions);
    ASSERT_NE(press, nullptr);
    auto *message = dynamic_cast<TLabel *>(dialog->FindComponent("Message"));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->Caption(), "Exit without saving configuration?");
    PostMessageA(press->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog->ShowModal(), c.result);
  }
}

TEST(ModalForms, EnterPressesTheDefaultButtonAndEscapeTheCancelButton) {
  struct Case {
    UINT key;
    int result;
  } cases[] = {{VK_RETURN, mrOk}, {VK_ESCAPE, mrCancel}};
  for (const Case &c : cases) {
    TForm form(nullptr);
    auto *edit = new TEdit(&form);
    edit->SetParent(&form);
    auto *ok = new TBitBtn(&form);
    ok->SetKind(bkOK);
    ok->SetBounds(10, 40, 75, 25);
    ok->SetParent(&form);
    auto *cancel = new TBitBtn(&form);
    cancel->SetKind(bkCancel);
    cancel->SetBounds(90, 40, 75, 25);
    cancel->SetParent(&form);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(cancel->Caption(), "Cancel");
    form.OnShow = [&](TObject *) {
      edit->SetFocus();
      // The key as the keyboard delivers it, to the focused edit.
      PostMessageA(edit->Handle(), WM_KEYDOWN, c.key, 1);
    };
    EXPECT_EQ(form.ShowModal(), c.result) << c.key;
  }
}
