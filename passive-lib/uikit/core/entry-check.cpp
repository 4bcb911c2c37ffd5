// The number check follows the stream read rather than strtod: no "inf",
// "nan" or hexadecimal forms, an exponent letter must have digits, and
// overflow fails. The digits are then converted by strtod (correctly
// rounded in every tree).
#include "passive-lib/uikit/core/entry-check.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace passive {
namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlphanumeric(char c) { return isAsciiLetter(c) || isDigit(c); }
bool isStreamSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

} // namespace

const char *entryMessage(EntryVerdict verdict) {
  switch (verdict) {
  case EntryVerdict::Accepted:
    return "";
  case EntryVerdict::IdentifierFormat:
    return "Component ID format error. Please re-enter.";
  case EntryVerdict::NumberFormat:
    return "Number format error. Please re-enter.";
  case EntryVerdict::NotPositive:
    return "Value must be positive. Please re-enter.";
  }
  return "";
}

bool isComponentIdentifier(const std::string &text) {
  if (text.empty() || !isAsciiLetter(text[0]))
    return false;
  const std::size_t question = text.find('?');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool ok = i < question ? isAlphanumeric(text[i]) : text[i] == '?';
    if (!ok)
      return false;
  }
  return true;
}

bool readOneNumber(const std::string &text, double &value) {
  std::size_t at = 0;
  const std::size_t size = text.size();
  while (at < size && isStreamSpace(text[at]))
    ++at;
  const std::size_t start = at;
  if (at < size && (text[at] == '+' || text[at] == '-'))
    ++at;
  std::size_t digits = 0;
  while (at < size && isDigit(text[at]))
    ++at, ++digits;
  if (at < size && text[at] == '.') {
    ++at;
    while (at < size && isDigit(text[at]))
      ++at, ++digits;
  }
  if (digits == 0)
    return false;
  if (at < size && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < size && (text[at] == '+' || text[at] == '-'))
      ++at;
    std::size_t exponentDigits = 0;
    while (at < size && isDigit(text[at]))
      ++at, ++exponentDigits;
    if (exponentDigits == 0)
      return false;
  }
  if (at != size)
    return false;
  const double read = std::strtod(text.c_str() + start, nullptr);
  if (std::isinf(read))
    return false;
  value = read;
  return true;
}

EntryVerdict checkEntry(EntryRule rule, const std::string &text) {
  double value = 0;
  switch (rule) {
  case EntryRule::Unchecked:
    return EntryVerdict::Accepted;
  case EntryRule::Identifier:
    return isComponentIdentifier(text) ? EntryVerdict::Accepted : EntryVerdict::IdentifierFormat;
  case EntryRule::Number:
    return readOneNumber(text, value) ? EntryVerdict::Accepted : EntryVerdict::NumberFormat;
  case EntryRule::Positive:
    break;
  }
  if (!readOneNumber(text, value))
    return EntryVerdict::NumberFormat;
  return value > 0 ? EntryVerdict::Accepted : EntryVerdict::NotPositive;
}

EntryRule passiveEntryRule(const std::optional<std::string> &range) {
  if (range == "ID")
    return EntryRule::Identifier;
  if (range == "POS")
    return EntryRule::Positive;
  return EntryRule::Unchecked;
}

EntryRule sourceEntryRule(const std::optional<std::string> &range, bool textOnly) {
  if (range == "ID")
    return EntryRule::Identifier;
  return textOnly ? EntryRule::Unchecked : EntryRule::Number;
}

} // namespace passive
