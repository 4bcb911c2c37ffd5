#include "platform/components/win32/message-dialogs.h"

#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/std-controls.h"

#include <commdlg.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace components {

namespace {

struct ButtonInfo {
  TMsgDlgButtons button;
  const char *caption;
  int result;
};

const ButtonInfo buttonTable[] = {
    {mbYes, "&Yes", mrYes},          {mbNo, "&No", mrNo},          {mbOK, "OK", mrOk},
    {mbCancel, "Cancel", mrCancel},  {mbAbort, "&Abort", mrAbort}, {mbRetry, "&Retry", mrRetry},
    {mbIgnore, "&Ignore", mrIgnore}, {mbAll, "&All", mrAll},       {mbHelp, "&Help", mrNone}};

const char *captionOf(TMsgDlgType type) {
  switch (type) {
  case mtWarning:
    return "Warning";
  case mtError:
    return "Error";
  case mtInformation:
    return "Information";
  case mtConfirmation:
    return "Confirmation";
  case mtCustom:
    break;
  }
  return nullptr;
}

LPCSTR iconOf(TMsgDlgType type) {
  switch (type) {
  case mtWarning:
    return reinterpret_cast<LPCSTR>(IDI_EXCLAMATION);
  case mtError:
    return reinterpret_cast<LPCSTR>(IDI_HAND);
  case mtInformation:
    return reinterpret_cast<LPCSTR>(IDI_ASTERISK);
  case mtConfirmation:
    return reinterpret_cast<LPCSTR>(IDI_QUESTION);
  case mtCustom:
    break;
  }
  return nullptr;
}

// The message dialog's icon: a static control showing a system icon.
class TMessageIcon : public TWinControl {
public:
  TMessageIcon(TComponent *owner, LPCSTR icon) : TWinControl(owner), icon_(icon) {
    SetBounds(16, 16, 32, 32);
  }

protected:
  void CreateParams(TCreateParams &params) override {
    params.className = "STATIC";
    params.ownClass = false;
    params.style = WS_CHILD | SS_ICON;
  }
  void handleCreated() override {
    SendMessageA(Handle(), STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, icon_)), 0);
  }

private:
  LPCSTR icon_;
};

} // namespace

TForm *CreateMessageDialog(const std::string &message, TMsgDlgType type, TMsgDlgButtons buttons) {
  auto form = std::make_unique<TForm>(Application);
  form->SetBorderStyle(bsDialog);
  form->SetBorderIcons(biSystemMenu);
  form->SetPosition(poScreenCenter);
  const char *caption = captionOf(type);
  form->SetCaption(caption ? caption : Application->Title());
  TCanvas &canvas = form->Canvas();
  RECT textRect{0, 0, 400, 0};
  canvas.DrawText(message, textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  int textLeft = 16;
  int top = 16;
  if (LPCSTR icon = iconOf(type)) {
    auto *image = new TMessageIcon(form.get(), icon);
    image->SetParent(form.get());
    textLeft = 16 + 32 + 16;
  }
  auto *label = new TLabel(form.get());
  label->SetName("Message");
  label->SetBounds(textLeft, top, static_cast<int>(textRect.right) + 4,
                   static_cast<int>(textRect.bottom));
  label->SetCaption(message);
  label->SetParent(form.get());

  std::vector<const ButtonInfo *> chosen;
  for (const ButtonInfo &info : buttonTable)
    if (buttons & info.button)
      chosen.push_back(&info);
  const int buttonWidth = 75, buttonHeight = 25, gap = 8;
  int rowWidth = static_cast<int>(chosen.size()) * (buttonWidth + gap) - gap;
  int clientWidth = std::max(textLeft + static_cast<int>(textRect.right) + 16, rowWidth + 32);
  int buttonTop = top + std::max(static_cast<int>(textRect.bottom), 32) + 16;
  int left = (clientWidth - rowWidth) / 2;
  bool hasDefault = false;
  for (const ButtonInfo *info : chosen) {
    auto *button = new TButton(form.get());
    button->SetCaption(info->caption);
    button->SetModalResult(info->result);
    button->SetBounds(left, buttonTop, buttonWidth, buttonHeight);
    if (!hasDefault && info->button != mbHelp) {
      button->SetDefault(true);
      hasDefault = true;
    }
    button->SetParent(form.get());
    left += buttonWidth + gap;
  }
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(buttonTop + buttonHeight + 16);
  return form.release();
}

int MessageDlg(const std::string &message, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext) {
  std::unique_ptr<TForm> form(CreateMessageDialog(message, type, buttons));
  form->SetHelpContext(helpContext);
  return form->ShowModal();
}

} // namespace components
