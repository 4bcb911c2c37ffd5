// The parser factories over controls.
#include "spelling/win32/control-parsers.h"

#include "spelling/win32/edit-parser.h"
#include "spelling/win32/edit-window-parser.h"
#include "spelling/win32/memo-parser.h"
#include "spelling/win32/rich-edit-parser.h"

#include "platform/components/win32/std-controls.h"

namespace spelling {

namespace {

enum SourceKind { RichEditKind = 2, WindowKind = 3, EditKind = 4, MemoKind = 5 };

} // namespace

std::unique_ptr<TParser> CreateControlParserForSource(int kind, void *source) {
  if (!source)
    return nullptr;
  if (kind % 128 < RichEditKind || kind % 128 > MemoKind)
    return CreateParserForSource(kind, source);
  auto *control =
      dynamic_cast<components::TWinControl *>(static_cast<components::TComponent *>(source));
  switch (kind % 128) {
  case RichEditKind:
    if (auto *richEdit = dynamic_cast<components::TCustomRichEdit *>(control))
      return std::make_unique<TCustomRichEditParser>(*richEdit);
    return nullptr;
  case WindowKind:
    if (control)
      return std::make_unique<TWinAPIEditorSpellParser>(control->Handle());
    return nullptr;
  case EditKind:
    if (auto *edit = dynamic_cast<components::TCustomEdit *>(control))
      return std::make_unique<TCustomEditParser>(*edit);
    return nullptr;
  case MemoKind:
    if (auto *memo = dynamic_cast<components::TCustomMemo *>(control))
      return std::make_unique<TCustomMemoParser>(*memo);
    return nullptr;
  }
  return nullptr;
}

std::unique_ptr<TParser> CreateParserForControl(components::TComponent *control) {
  if (auto *richEdit = dynamic_cast<components::TCustomRichEdit *>(control))
    return std::make_unique<TCustomRichEditParser>(*richEdit);
  if (auto *memo = dynamic_cast<components::TCustomMemo *>(control))
    return std::make_unique<TCustomMemoParser>(*memo);
  if (auto *edit = dynamic_cast<components::TCustomEdit *>(control))
    return std::make_unique<TCustomEditParser>(*edit);
  return nullptr;
}

void InstallControlParsers(TSpellPlatform &platform) {
  platform.CreateParserForSource = CreateControlParserForSource;
  platform.CreateParserForControl = [](components::TComponent *control) {
    return CreateParserForControl(control);
  };
}

} // namespace spelling
