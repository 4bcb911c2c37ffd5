// Exact conversions between doubles and decimal text (rules in the header).
// A finite double is m * 2^e exactly, and so has a finite decimal expansion:
// m * 2^e for e >= 0, or m * 5^-e * 10^e otherwise. Printing takes that
// expansion and rounds the digit string; parsing compares the decimal value
// with candidate doubles in big-integer arithmetic.
#include "invoice-mailer/core/number-text.h"

#include "invoice-mailer/core/big-integer.h"
#include "invoice-mailer/core/log-errors.h"

#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace billpost {

namespace {

// |value| = 0.digits * 10^exponent; digits has no leading or trailing zeros
// and is empty for zero.
struct DecimalDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;

  char digitAt(int index) const {
    return index >= 0 && index < static_cast<int>(digits.size()) ? digits[index] : '0';
  }
};

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

double doubleOf(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void stripTrailingZeros(std::string &digits) {
  while (!digits.empty() && digits.back() == '0')
    digits.pop_back();
}

DecimalDigits exactDigits(double value) {
  assert(std::isfinite(value) && "only finite numbers have digits");
  std::uint64_t bits = bitsOf(value);
  DecimalDigits result;
  result.negative = (bits >> 63) != 0;
  int biased = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t(1) << 52) - 1);
  int exponent = -1074;
  if (biased != 0) {
    mantissa |= std::uint64_t(1) << 52;
    exponent = biased - 1075;
  }
  if (mantissa == 0)
    return result;
  BigInteger n(mantissa);
  if (exponent >= 0)
    n.shiftLeft(static_cast<unsigned>(exponent));
  else
    n.multiplyPow5(static_cast<unsigned>(-exponent));
  result.digits = n.toDecimal();
  result.exponent = static_cast<int>(result.digits.size()) + (exponent < 0 ? exponent : 0);
  stripTrailingZeros(result.digits);
  return result;
}

// Keeps the first keep digits, rounding half away from zero.
void roundDigits(DecimalDigits &d, int keep) {
  if (keep >= static_cast<int>(d.digits.size()))
    return;
  bool up = keep >= 0 && d.digits[keep] >= '5';
  if (keep <= 0) {
    d.digits = up ? "1" : "";
    d.exponent += up ? 1 : 0;
    return;
  }
  d.digits.resize(keep);
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[i] == '9')
      d.digits[i--] = '0';
    if (i < 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    } else {
      ++d.digits[i];
    }
  }
  stripTrailingZeros(d.digits);
}

// Bit pattern of mantissa * 2^-shift (mantissa < 2^53, already rounded),
// or false when that overflows.
bool composeDouble(bool negative, std::uint64_t mantissa, int shift, double &value) {
  const std::uint64_t hidden = std::uint64_t(1) << 52;
  if (mantissa == 2 * hidden) {
    mantissa = hidden;
    --shift;
  }
  std::uint64_t bits = 0;
  if (mantissa >= hidden) {
    int biased = 52 - shift + 1023;
    if (biased >= 0x7FF)
      return false;
    bits = (static_cast<std::uint64_t>(biased) << 52) | (mantissa - hidden);
  } else {
    bits = mantissa; // subnormal: shift is 1074 here
  }
  if (negative)
    bits |= std::uint64_t(1) << 63;
  value = doubleOf(bits);
  return true;
}

// The double nearest to digits * 10^exponent (digits: no leading zeros).
bool nearestDouble(bool negative, const std::string &digits, int exponent, double &value) {
  if (digits.empty()) {
    value = negative ? -0.0 : 0.0;
    return true;
  }
  int magnitude = static_cast<int>(digits.size()) + exponent;
  // Beyond 1.8e308 nothing is representable; below 2.5e-324 everything
  // rounds to zero. The bounds keep the big integers small.
  if (magnitude > 310)
    return false;
  if (magnitude < -330) {
    value = negative ? -0.0 : 0.0;
    return true;
  }
  BigInteger numerator, denominator(1);
  for (char c : digits) {
    numerator.multiplySmall(10);
    numerator.addSmall(static_cast<std::uint32_t>(c - '0'));
  }
  if (exponent >= 0)
    numerator.multiplyPow10(static_cast<unsigned>(exponent));
  else
    denominator.multiplyPow10(static_cast<unsigned>(-exponent));

  // p: 2^p <= numerator / denominator < 2^(p + 1).
  int p = static_cast<int>(numerator.bitLength()) - static_cast<int>(denominator.bitLength());
  {
    BigInteger a = numerator, b = denominator;
    if (p >= 0)
      b.shiftLeft(static_cast<unsigned>(p));
    else
      a.shiftLeft(static_cast<unsigned>(-p));
    if (compare(a, b) < 0)
      --p;
  }
  if (p > 1023)
    return false;
  // Scale so that the quotient has 53 bits, or fewer for a subnormal.
  int shift = 52 - p;
  if (shift > 1074)
    shift = 1074;
  if (shift >= 0)
    numerator.shiftLeft(static_cast<unsigned>(shift));
  else
    denominator.shiftLeft(static_cast<unsigned>(-shift));
  std::uint64_t quotient = 0;
  for (int bit = 53; bit >= 0; --bit) {
    BigInteger part = denominator;
    part.shiftLeft(static_cast<unsigned>(bit));
    if (compare(numerator, part) >= 0) {
      numerator.subtract(part);
      quotient |= std::uint64_t(1) << bit;
    }
  }
  // Round to nearest, ties to even, on the remainder.
  numerator.shiftLeft(1);
  int c = compare(numerator, denominator);
  if (c > 0 || (c == 0 && (quotient & 1)))
    ++quotient;
  return composeDouble(negative, quotient, shift, value);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string formatFixed(double value) {
  DecimalDigits d = exactDigits(value);
  roundDigits(d, d.exponent + 2);
  if (d.digits.empty())
    return "0.00"; // no "-0.00": a sign on nothing only confuses a reader
  std::string text = d.negative ? "-" : "";
  if (d.exponent <= 0)
    text += '0';
  for (int i = 0; i < d.exponent; ++i)
    text += d.digitAt(i);
  text += '.';
  text += d.digitAt(d.exponent);
  text += d.digitAt(d.exponent + 1);
  return text;
}

std::string formatGeneral(double value) {
  const int precision = 15;
  DecimalDigits d = exactDigits(value);
  roundDigits(d, precision);
  if (d.digits.empty())
    return "0";
  std::string text = d.negative ? "-" : "";
  const int count = static_cast<int>(d.digits.size());
  if (d.exponent > precision || d.exponent < -3) {
    text += d.digits[0];
    if (count > 1)
      text += '.' + d.digits.substr(1);
    return text + 'E' + std::to_string(d.exponent - 1);
  }
  if (d.exponent <= 0)
    return text + "0." + std::string(static_cast<std::size_t>(-d.exponent), '0') + d.digits;
  for (int i = 0; i < d.exponent; ++i)
    text += d.digitAt(i);
  if (count > d.exponent)
    text += '.' + d.digits.substr(static_cast<std::size_t>(d.exponent));
  return text;
}

bool parseNumber(const std::string &text, double &value) {
  // Digits past this many only decide rounding; one sticky digit stands in
  // for them, which is exact because every halfway point between two
  // doubles has fewer significant digits.
  const std::size_t maxDigits = 800;
  std::size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ')
    ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-'))
    negative = text[i++] == '-';
  std::string digits;
  long exponent = 0;
  bool sawDigit = false, sticky = false;
  auto take = [&](char c, bool fraction) {
    sawDigit = true;
    if (digits.empty() && c == '0') {
      exponent -= fraction ? 1 : 0;
      return;
    }
    if (digits.size() < maxDigits) {
      digits += c;
      exponent -= fraction ? 1 : 0;
      return;
    }
    sticky = sticky || c != '0';
    exponent += fraction ? 0 : 1;
  };
  for (; i < n && isDigit(text[i]); ++i)
    take(text[i], false);
  if (i < n && text[i] == '.') {
    for (++i; i < n && isDigit(text[i]); ++i)
      take(text[i], true);
  }
  if (!sawDigit)
    return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
      negativeExponent = text[i++] == '-';
    if (i >= n || !isDigit(text[i]))
      return false;
    long written = 0;
    for (; i < n && isDigit(text[i]); ++i) {
      // Far beyond any double; clamping keeps the sum from overflowing.
      if (written < 100000)
        written = written * 10 + (text[i] - '0');
    }
    exponent += negativeExponent ? -written : written;
  }
  while (i < n && text[i] == ' ')
    ++i;
  if (i != n)
    return false;
  if (sticky) {
    digits += '1';
    --exponent;
  }
  // value = digits * 10^exponent; dropping a trailing zero raises the
  // exponent by one.
  while (!digits.empty() && digits.back() == '0') {
    digits.pop_back();
    ++exponent;
  }
  long magnitude = static_cast<long>(digits.size()) + exponent;
  if (digits.empty() || magnitude < -400)
    return nearestDouble(negative, "", 0, value);
  if (magnitude > 400)
    return false;
  return nearestDouble(negative, digits, static_cast<int>(exponent), value);
}

double textToFloat(const std::string &text) {
  double value = 0;
  if (!parseNumber(text, value))
    throw EConvertError("'" + text + "' is not a valid floating point value");
  return value;
}

} // namespace billpost
