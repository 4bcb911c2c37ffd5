// The display formats move the decimal point of the C library's "%.*E" text
// to an engineering exponent and replace that exponent by a suffix. The
// exponent is read at any width, since C libraries write two or three
// digits.
#include "passive-lib/core/value-format.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace passive {
namespace {

// Exponent text of the "E" and "G" conversions: no "+" sign and no leading
// zeros beyond one digit (1.50E+005 becomes 1.50E5).
std::string shortExponent(const std::string &text) {
  const std::size_t e = text.find('E');
  if (e == std::string::npos)
    return text;
  std::string result = text.substr(0, e + 1);
  std::size_t at = e + 1;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    if (text[at] == '-')
      result += '-';
    ++at;
  }
  while (at + 1 < text.size() && text[at] == '0')
    ++at;
  return result + text.substr(at);
}

const char *const MetricUp[] = {"k", "M", "G", "T", "P", "E"};
const char *const MetricDown[] = {"m", "u", "n", "p", "f", "a"};

std::string suffix(int exponent, NumberFormat format) {
  const std::string plain = "E" + std::to_string(exponent);
  const int steps = exponent / 3;
  if (format == NumberFormat::Engineering)
    return plain;
  if (exponent == 0)
    return "";
  if (format == NumberFormat::Metric) {
    if (steps >= 1 && steps <= 6)
      return std::string(" ") + MetricUp[steps - 1];
    if (steps <= -1 && steps >= -6)
      return std::string(" ") + MetricDown[-steps - 1];
    return plain;
  }
  switch (exponent) {
  case 3:
    return "K";
  case 6:
    return "MEG";
  case 9:
    return "G";
  case 12:
    return "T";
  case -3:
    return "M";
  case -6:
    return "U";
  case -9:
    return "N";
  case -12:
    return "P";
  case -15:
    return "F";
  default:
    return plain;
  }
}

// "%.*E" text (mantissa with digits places) in an engineering exponent
// with the format's suffix; trim drops trailing zeros of the mantissa.
std::string engineeringText(const std::string &scientific, int digits, NumberFormat format,
                            bool trim) {
  const std::size_t e = scientific.find('E');
  if (e == std::string::npos)
    return scientific;
  std::string mantissa = scientific.substr(0, e);
  const long exponent = std::strtol(scientific.c_str() + e + 1, nullptr, 10);
  long engineering = exponent >= 0 ? exponent / 3 * 3 : -((-exponent + 2) / 3 * 3);
  const long shift = exponent - engineering;
  std::size_t point = mantissa.find('.');
  if (point == std::string::npos) {
    mantissa += '.';
    point = mantissa.size() - 1;
  }
  if (shift > digits)
    mantissa.append(static_cast<std::size_t>(shift - digits), '0');
  mantissa.erase(point, 1);
  mantissa.insert(point + static_cast<std::size_t>(shift), 1, '.');
  if (trim) {
    while (mantissa.back() == '0' && mantissa.find('.') != std::string::npos)
      mantissa.pop_back();
  }
  if (mantissa.back() == '.')
    mantissa.pop_back();
  return mantissa + suffix(static_cast<int>(engineering), format);
}

std::string printed(const char *pattern, int precision, double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, pattern, precision, value);
  return buffer;
}

bool isNumberChar(char c) {
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

} // namespace

bool formatValue(double value, int format, int digits, bool changeSign, std::string &text) {
  if (format < 0 || format > MaxFormat || digits < 0 || digits > MaxDigits)
    return false;
  if (!std::isfinite(value)) {
    text = "?";
    return true;
  }
  if (changeSign)
    value = -value;
  const NumberFormat kind = static_cast<NumberFormat>(format);
  if (kind == NumberFormat::General) {
    text = shortExponent(printed("%.*G", digits + 1, value));
  } else if (kind == NumberFormat::Scientific) {
    text = shortExponent(printed("%.*E", digits, value));
  } else {
    text = engineeringText(printed("%.*E", digits, value), digits, kind, false);
  }
  return true;
}

std::string spiceValue(double value) {
  if (!std::isfinite(value))
    return "?";
  int digits = 0;
  std::string text;
  for (; digits <= 16; ++digits) {
    text = printed("%.*E", digits, value);
    if (std::strtod(text.c_str(), nullptr) == value)
      break;
  }
  return engineeringText(text, digits, NumberFormat::Spice, true);
}

std::string ieeeText(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "0X%08lX%08lX", static_cast<unsigned long>(bits >> 32),
                static_cast<unsigned long>(bits & 0xFFFFFFFFu));
  return buffer;
}

bool parseIeeeText(const std::string &text, double &value) {
  value = 0.0;
  if (text.size() < 3 || text.size() > 18 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
    return false;
  std::uint64_t bits = 0;
  for (std::size_t i = 2; i < text.size(); ++i) {
    const char c = text[i];
    unsigned digit;
    if (c >= '0' && c <= '9')
      digit = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F')
      digit = static_cast<unsigned>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f')
      digit = static_cast<unsigned>(c - 'a' + 10);
    else
      return false;
    bits = bits << 4 | digit;
  }
  std::memcpy(&value, &bits, sizeof value);
  return true;
}

bool parseWholeNumber(const std::string &text, double &value) {
  std::size_t start = 0;
  while (start < text.size() && isBlank(text[start]))
    ++start;
  if (start == text.size() || text.find('\0') != std::string::npos)
    return false;
  for (std::size_t i = start; i < text.size(); ++i) {
    if (!isNumberChar(text[i]))
      return false;
  }
  const char *begin = text.c_str() + start;
  char *end = nullptr;
  value = std::strtod(begin, &end);
  return end != begin && *end == '\0';
}

double leadingNumber(const std::string &text) {
  std::size_t start = 0;
  while (start < text.size() && isBlank(text[start]))
    ++start;
  std::size_t stop = start;
  while (stop < text.size() && isNumberChar(text[stop]))
    ++stop;
  const std::string number = text.substr(start, stop - start);
  return std::strtod(number.c_str(), nullptr);
}

} // namespace passive
