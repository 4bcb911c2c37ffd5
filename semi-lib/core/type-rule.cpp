#include "semi-lib/core/type-rule.h"

#include <sstream>

namespace semi {

RowRange rowRange(const std::string &range) {
  if (range == "ID")
    return RowRange::Id;
  if (range == "TYPE")
    return RowRange::Type;
  if (range == "POS")
    return RowRange::Positive;
  if (range == "NONNEG")
    return RowRange::NonNegative;
  return RowRange::Number;
}

Question activationQuestion(RowRange row, const std::string &typeText,
                            const std::string &typeDefault) {
  switch (row) {
  case RowRange::Id:
    return Question::None;
  case RowRange::Type:
    return isCustomType(typeText, typeDefault) ? Question::SelectModel : Question::None;
  default:
    return isCustomType(typeText, typeDefault) ? Question::None : Question::EditParameter;
  }
}

Question stepQuestion(const std::string &typeText, const std::string &typeDefault) {
  return isCustomType(typeText, typeDefault) ? Question::None : Question::StepParameter;
}

const char *questionText(Question question) {
  switch (question) {
  case Question::SelectModel:
    return "You are about to select a model from the library.\n\n"
           "This will reset SPICE parameters to their library values.";
  case Question::EditParameter:
    return "You are about to edit a SPICE parameter.\n\n"
           "This will change the component type to \"CUSTOM\".";
  case Question::StepParameter:
    return "You are changing the value of a SPICE parameter.\n\n"
           "This will change the component type to \"CUSTOM\".";
  case Question::None:
    break;
  }
  return "";
}

int modelListSelection(const std::vector<std::string> &types, const std::string &typeText,
                       const std::string &typeDefault) {
  for (const std::string *wanted : {&typeText, &typeDefault}) {
    for (size_t i = 0; i < types.size(); ++i) {
      if (types[i] == *wanted)
        return static_cast<int>(i);
    }
  }
  return types.empty() ? -1 : 0;
}

bool readNumber(const std::string &text, double &value) {
  std::istringstream stream(text);
  if (!(stream >> value))
    return false;
  return stream.peek() == std::char_traits<char>::eof();
}

namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isIdentifier(const std::string &text) {
  if (text.empty() || !isLetter(text[0]))
    return false;
  size_t at = 0;
  while (at < text.size() && text[at] != '?') {
    if (!isLetter(text[at]) && !isDigit(text[at]))
      return false;
    ++at;
  }
  for (; at < text.size(); ++at) {
    if (text[at] != '?')
      return false;
  }
  return true;
}

} // namespace

EntryVerdict checkEntry(RowRange row, const std::string &text) {
  if (row == RowRange::Type)
    return EntryVerdict::Accepted;
  if (row == RowRange::Id)
    return isIdentifier(text) ? EntryVerdict::Accepted : EntryVerdict::IdFormat;
  double value = 0;
  if (!readNumber(text, value))
    return EntryVerdict::NumberFormat;
  if (row == RowRange::Positive && !(value > 0))
    return EntryVerdict::NotPositive;
  if (row == RowRange::NonNegative && !(value >= 0))
    return EntryVerdict::Negative;
  return EntryVerdict::Accepted;
}

const char *entryMessage(EntryVerdict verdict) {
  switch (verdict) {
  case EntryVerdict::IdFormat:
    return "Component ID format error. Please re-enter.";
  case EntryVerdict::NotPositive:
    return "Value must be positive. Please re-enter.";
  case EntryVerdict::Negative:
    return "Value must be non-negative. Please re-enter.";
  case EntryVerdict::NumberFormat:
    return "Number format error. Please re-enter.";
  case EntryVerdict::Accepted:
    break;
  }
  return "";
}

} // namespace semi
