// The parser factories with the control parsers: the core's factory makes
// the buffer and string parsers, these add the edit, memo, rich-edit and
// edit-window parsers.
#ifndef SPELLING_WIN32_CONTROL_PARSERS_H
#define SPELLING_WIN32_CONTROL_PARSERS_H

#include "platform/components/core/component.h"
#include "spelling/core/parser.h"
#include "spelling/core/spell-platform.h"

#include <memory>

namespace spelling {

// A parser for a source kind, taken modulo 128: 0 a TParserBuffer, 1 a
// std::string, 2 to 5 a components::TComponent (passed as that type): 2 a
// rich edit, 3 any windowed control answering the edit-control messages,
// 4 an edit, 5 a memo. A component of another class than its kind asks
// for, or an unknown kind, gives none.
std::unique_ptr<TParser> CreateControlParserForSource(int kind, void *source);

// The parser a control's class calls for: a rich edit's, else a memo's,
// else an edit's (a rich edit is also a memo, and a memo also an edit);
// none for any other control.
std::unique_ptr<TParser> CreateParserForControl(components::TComponent *control);

// Points the spelling component's parser hooks at these factories.
void InstallControlParsers(TSpellPlatform &platform);

} // namespace spelling

#endif
