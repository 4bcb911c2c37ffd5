// What the spelling component needs of the platform, as hooks the Windows
// side fills in: the application's message processing, message boxes,
// help, the screen, the check and options dialogs and the parsers over
// controls. The core never includes a window header; controls are the
// component library's components, passed through as they are.
//
// The Windows side sets DefaultSpellPlatform() once at start-up; every
// TVerbaSpell copies it when created, and tests give one instance their own
// hooks (a scripted dialog, a fixed random source).
#ifndef SPELLING_SPELL_PLATFORM_H
#define SPELLING_SPELL_PLATFORM_H

#include "platform/components/core/component.h"
#include "platform/components/core/string-list.h"
#include "spelling/core/dialog-control.h"
#include "spelling/core/parser.h"
#include "spelling/core/spell-options.h"

#include <functional>
#include <memory>
#include <string>

namespace spelling {

class TVerbaSpell;
class TConfiguration;
struct TLanguageModule;

struct TDialogRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

// The check dialog's form as the component drives it. A form the component
// had made is released (Release) at the end of the check; a form supplied
// through OnCreateDialog is handed to OnFreeDialog instead.
class TDialogForm {
public:
  virtual ~TDialogForm() = default;
  // The form as a component: its first owned TDialogControl is linked.
  virtual components::TComponent *FormComponent() = 0;
  virtual void SetCaption(const std::string &caption) = 0;
  virtual void SetFontSize(int points) = 0;
  virtual TDialogRect Bounds() const = 0;
  // Moves the form, keeping its size.
  virtual void MoveTo(int left, int top) = 0;
  virtual void Show() = 0; // modeless
  virtual void Hide() = 0;
  // Frees the form once the message it is handling, if any, is done; the
  // component does not touch it afterwards.
  virtual void Release() = 0;
  // With help: the help button in the title bar. Without: no help button,
  // and every windowed control's help context becomes 0.
  virtual void SetHelpEnabled(bool enabled) = 0;
};

enum class TMessageKind { Information, Error, Confirmation };
enum class TMessageButtons { OK, Abort, YesNo };
enum class TMessageResult { OK, Abort, Yes, No };

// What Setup gives the options dialog. The dialog edits a working copy of
// Configuration and copies it back on OK; it only reads the three lists
// (to enable its two reset buttons).
struct TSetupRequest {
  TVerbaSpell *Spell = nullptr; // fires OnSetupCreate before the dialog runs
  TConfiguration *Configuration = nullptr;
  std::string Caption;
  TSpellOptions VisibleOptions;
  const components::TStringList *IgnoreAllList = nullptr;
  const components::TStringList *ChangeAllReplacements = nullptr;
  const components::TStringList *ChangeAllWords = nullptr;
  const TLanguageModule *Language = nullptr;
  int HelpContext1 = 0;
  int HelpContext2 = 0;
  bool HelpEnabled = true;
};

struct TSpellPlatform {
  // Lets the application process the messages waiting (the check loop's
  // and the background search's yields).
  std::function<void()> ProcessMessages;
  // Waits for one message and handles it (WaitForCompletion's loop);
  // ProcessMessages is used when unset. With neither, a check returns as
  // soon as it waits for the dialog.
  std::function<void()> HandleMessage;
  // Whether the application is ending: a check that waits for its dialog
  // then ends as cancelled instead of waiting on.
  std::function<bool()> ApplicationEnding;
  // A uniform number in [0, 1) for the check loop's yield.
  std::function<double()> Random;
  std::function<TMessageResult(const std::string &text, TMessageKind kind, TMessageButtons buttons)>
      ShowMessage;
  // The application's help file, and a topic of the current one.
  std::function<std::string()> GetHelpFile;
  std::function<void(const std::string &file)> SetHelpFile;
  std::function<void(int context)> ShowHelp;
  // Where "VERBA.CFG" lives when ConfigInAppDir (with a trailing separator).
  std::function<std::string()> ProgramDirectory;
  // Screen width and height in pixels (Left and Top unused).
  std::function<TDialogRect()> Screen;
  // The hourglass over the dialog while suggestions are made (on / off).
  std::function<void(bool on)> HourGlass;

  // The component's own check dialog; none when unset.
  std::function<TDialogForm *(TVerbaSpell &spell)> CreateDialog;
  // Runs the options dialog modally; true for OK.
  std::function<bool(TSetupRequest &request)> RunSetupDialog;
  // Parsers over controls: by source kind (2 to 5; the core makes 0 and 1
  // itself) and by a control's class (rich edit, then memo, then edit).
  std::function<std::unique_ptr<TParser>(int kind, void *source)> CreateParserForSource;
  std::function<std::unique_ptr<TParser>(components::TComponent *control)> CreateParserForControl;
};

// The hooks new components start with.
TSpellPlatform &DefaultSpellPlatform();

} // namespace spelling

#endif
