// The rules of the semiconductor parameters page that need no window: the
// type rule (the TYPE row keeps the current type in TEXT and the type last
// taken from the library in DEFAULT; they differ once the parameters were
// edited, the type then reading "CUSTOM"), the questions it asks before an
// edit, the model list's first selection and the entry check.
#ifndef SEMI_LIB_CORE_TYPE_RULE_H
#define SEMI_LIB_CORE_TYPE_RULE_H

#include <string>
#include <vector>

namespace semi {

const char *const CustomType = "CUSTOM";

// A row's kind by its RANGE: "ID", "TYPE", "POS", "NONNEG"; anything else
// is a number with no bound.
enum class RowRange { Id, Type, Positive, NonNegative, Number };
RowRange rowRange(const std::string &range);

// Whether the parameters are no longer those of a library model.
inline bool isCustomType(const std::string &typeText, const std::string &typeDefault) {
  return typeText != typeDefault;
}

enum class Question {
  None,
  SelectModel,   // before the model list opens on a custom type
  EditParameter, // before the first edit of a SPICE parameter
  StepParameter, // before the first step of a SPICE parameter
};

// The question asked when a row is activated, and when a value is stepped.
Question activationQuestion(RowRange row, const std::string &typeText,
                            const std::string &typeDefault);
Question stepQuestion(const std::string &typeText, const std::string &typeDefault);
// The question's text (OK and Cancel, exclamation icon); empty for None.
const char *questionText(Question question);

// The entry the model list opens on: the type, else the library type, else
// the first; -1 for an empty list.
int modelListSelection(const std::vector<std::string> &types, const std::string &typeText,
                       const std::string &typeDefault);

enum class EntryVerdict { Accepted, IdFormat, NotPositive, Negative, NumberFormat };

// The check at the end of an in-place edit. TYPE entries are always
// accepted (they select a model).
EntryVerdict checkEntry(RowRange row, const std::string &text);
// The message box text of a refused entry; empty for Accepted.
const char *entryMessage(EntryVerdict verdict);

// One decimal floating-point number as a formatted stream read takes it,
// leading white space allowed and nothing after it.
bool readNumber(const std::string &text, double &value);

} // namespace semi

#endif
