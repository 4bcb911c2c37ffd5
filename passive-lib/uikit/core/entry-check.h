// The checks a parameters page applies to a value typed into its list: the
// component identifier, one number as a formatted stream read takes it, and
// the positive and non-negative ranges. Platform-free and shared by the
// passive pages and the semiconductor page; the page shows the message.
#ifndef PASSIVE_LIB_UIKIT_CORE_ENTRY_CHECK_H
#define PASSIVE_LIB_UIKIT_CORE_ENTRY_CHECK_H

#include <optional>
#include <string>

namespace passive {

enum class EntryVerdict { Accepted, IdentifierFormat, NumberFormat, NotPositive };

// The refusal's message box text; empty for Accepted.
const char *entryMessage(EntryVerdict verdict);

// A letter first; then letters and digits, or letters and digits up to a
// first '?' and nothing but '?' from there on ("R?", "Q12??").
bool isComponentIdentifier(const std::string &text);

// The whole text as one decimal floating-point number as the standard
// stream read of a double takes it: leading white space, an optional sign,
// digits with an optional point, an optional exponent, nothing after it.
// A magnitude beyond the double range fails as the stream read does; one
// below it reads as 0 or a subnormal.
bool readOneNumber(const std::string &text, double &value);

// What a page checks of an entry.
enum class EntryRule { Unchecked, Identifier, Number, Positive };

EntryVerdict checkEntry(EntryRule rule, const std::string &text);

// The rule of an item by its RANGE (absent: nothing) on each page:
// resistor, inductor and capacitor page: "ID" and "POS", all else unchecked;
EntryRule passiveEntryRule(const std::optional<std::string> &range);
// source page: "ID", then every item without TEXTONLY one number;
EntryRule sourceEntryRule(const std::optional<std::string> &range, bool textOnly);

} // namespace passive

#endif
