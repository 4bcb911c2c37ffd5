// Forms built in code: top-level windows owned by the application window,
// with modal results, close queries, deferred release, handlers for
// private messages and a canvas for measuring text.
#ifndef COMPONENTS_WIN32_FORMS_H
#define COMPONENTS_WIN32_FORMS_H

#include "platform/components/win32/controls.h"

#include <functional>
#include <map>

namespace components {

class TMainMenu;

// Modal results, as buttons and message dialogs report them.
constexpr int mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
              mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrAll = 8;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition { poDesigned, poScreenCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsStayOnTop };
using TBorderIcons = unsigned;
constexpr TBorderIcons biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8;

using TCloseEvent = Event<TObject *, TCloseAction &>;
using TCloseQueryEvent = Event<TObject *, bool &>;
using TMessageHandler = std::function<void(TMessage &)>;

class TForm : public TWinControl {
public:
  explicit TForm(TComponent *owner);
  ~TForm() override;

  // Shows the form and handles messages until ModalResult is set (by a
  // button, Close or the program), then hides it; the other windows of the
  // program are disabled meanwhile. Answers the modal result.
  int ShowModal();
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

  // Asks OnCloseQuery, then OnClose, and hides, frees or minimises the
  // form as the close action says; closing the main form ends the program.
  void Close();
  bool CloseQuery();
  // Frees the form once the messages now pending are handled; safe from
  // the form's own handlers.
  void Release();

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  void SetPosition(TPosition position) { position_ = position; }
  void SetFormStyle(TFormStyle style);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);
  void SetClientWidth(int width);
  void SetClientHeight(int height);
  TMainMenu *Menu() const { return menu_; }
  void SetMenu(TMainMenu *menu);
  void Notification(TComponent *component, bool removing) override;

  // A canvas with the form's font, for measuring text.
  TCanvas &Canvas();
  // Handles one private message: the handler sets message.Result.
  void SetMessageHandler(UINT msg, TMessageHandler handler);

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

protected:
  void CreateParams(TCreateParams &params) override;
  void WndProc(TMessage &message) override;
  void visibleChanged() override;

private:
  void applyStyles();
  // Enter and Escape: the form's default or cancel button, if any.
  bool pressButton(bool cancel);
  void showHelp(HWND window);
  void closeModal();
  void centre();

  int modalResult_ = mrNone;
  bool modal_ = false;
  bool shownOnce_ = false;
  bool releasing_ = false;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = poDesigned;
  TFormStyle formStyle_ = fsNormal;
  TMainMenu *menu_ = nullptr;
  TCanvas canvas_;
  std::map<UINT, TMessageHandler> messageHandlers_;
};

} // namespace components

#endif
