// The parser factories over controls.
#include "spelling/win32/control-parsers.h"

#include "spelling/win32/edit-parser.h"
#include "spelling/win32/edit-window-parser.h"
#include "spelling/win32/memo-parser.h"
#include "spelling/win32/rich-edit-parser.h"

namespace spelling {

namespace {

enum SourceKind { RichEditKind = 2, WindowKind = 3, EditKind = 4, MemoKind = 5 };

} // namespace

std::unique_ptr<TParser> CreateControlParserForSource(int kind, void *source) {
  if (!source)
    return nullptr;
  auto *control = static_cast<components::TWinControl *>(source);
  switch (kind % 128) {
  case RichEditKind:
    if (auto *richEdit = dynamic_cast<components::TCustomRichEdit *>(control))
      return std::make_unique<TCustomRichEditParser>(*richEdit);
    return nullptr;
  case WindowKind:
    return std::make_unique<TWinAPIEditorSpellParser>(control->Handle());
  case EditKind:
    if (auto *edit = dynamic_cast<components::TCustomEdit *>(control))
      return std::make_unique<TCustomEditParser>(*edit);
    return nullptr;
  case MemoKind:
    if (auto *memo = dynamic_cast<components::TCustomMemo *>(control))
      return std::make_unique<TCustomMemoParser>(*memo);
    return nullptr;
  default:
    return CreateParserForSource(kind, source);
  }
}

std::unique_ptr<TParser> CreateParserForControl(components::TWinControl *control) {
  if (auto *richEdit = dynamic_cast<components::TCustomRichEdit *>(control))
    return std::make_unique<TCustomRichEditParser>(*richEdit);
  if (auto *memo = dynamic_cast<components::TCustomMemo *>(control))
    return std::make_unique<TCustomMemoParser>(*memo);
  if (auto *edit = dynamic_cast<components::TCustomEdit *>(control))
    return std::make_unique<TCustomEditParser>(*edit);
  return nullptr;
}

} // namespace spelling
