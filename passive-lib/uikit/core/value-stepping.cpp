// The series search works on doubles, as the pages compare the value with
// each series value read back from its "%dE%d" text: both sides are
// correctly rounded, so a value entered as a series value finds itself and
// steps past it. The exponent is taken from the value's decimal text instead
// of a search loop, so every input ends after a bounded number of trials.
#include "passive-lib/uikit/core/value-stepping.h"

#include "passive-lib/core/value-format.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace passive {
namespace {

// E24 of IEC 60063 as two-digit mantissas, then the next decade's first
// values, so that a stride of 1, 2 or 4 closes the decade.
const int ListA[] = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24,  27,  30,  33,  36, 39,
                     43, 47, 51, 56, 62, 68, 75, 82, 91, 100, 110, 120, 130, 150};
// E96 of IEC 60063 as three-digit mantissas, then 1000, 1020, 1050.
const int ListB[] = {100, 102, 105, 107, 110, 113, 115,  118,  121, 124, 127, 130, 133, 137, 140,
                     143, 147, 150, 154, 158, 162, 165,  169,  174, 178, 182, 187, 191, 196, 200,
                     205, 210, 215, 221, 226, 232, 237,  243,  249, 255, 261, 267, 274, 280, 287,
                     294, 301, 309, 316, 324, 332, 340,  348,  357, 365, 374, 383, 392, 402, 412,
                     422, 432, 442, 453, 464, 475, 487,  499,  511, 523, 536, 549, 562, 576, 590,
                     604, 619, 634, 649, 665, 681, 698,  715,  732, 750, 768, 787, 806, 825, 845,
                     866, 887, 909, 931, 953, 976, 1000, 1020, 1050};

struct SeriesList {
  const int *mantissas;
  int top;
  int stride;
};

SeriesList seriesList(Series series) {
  const int topA = static_cast<int>(sizeof ListA / sizeof ListA[0]) - 1;
  const int topB = static_cast<int>(sizeof ListB / sizeof ListB[0]) - 1;
  switch (series) {
  case Series::E6:
    return {ListA, topA, 4};
  case Series::E12:
    return {ListA, topA, 2};
  case Series::E24:
    return {ListA, topA, 1};
  case Series::E48:
    return {ListB, topB, 2};
  case Series::E96:
    break;
  }
  return {ListB, topB, 1};
}

double seriesValue(int mantissa, int exponent) { return Neighbour{mantissa, exponent}.value(); }

// The magnitude's 15 significant digits and its decimal exponent, from the
// C library's correctly rounded "%.14e" text.
struct DecimalDigits {
  char digits[16];
  int exponent;
};

DecimalDigits decimalDigits(double magnitude) {
  char text[40];
  std::snprintf(text, sizeof text, "%.14e", magnitude);
  DecimalDigits result{};
  result.digits[0] = text[0];
  std::memcpy(result.digits + 1, text + 2, 14);
  result.digits[15] = '\0';
  result.exponent = std::atoi(std::strchr(text, 'e') + 1);
  return result;
}

bool finitePair(const NeighbourPair &pair) {
  return std::isfinite(pair.up.value()) && std::isfinite(pair.down.value());
}

const int DisplayDigits[] = {1, 1, 1, 2, 2, 1, 2, 3};

} // namespace

std::string Neighbour::text() const {
  char text[48];
  std::snprintf(text, sizeof text, "%lldE%d", mantissa, exponent);
  return text;
}

double Neighbour::value() const { return std::strtod(text().c_str(), nullptr); }

std::optional<NeighbourPair> seriesNeighbours(double x, Series series) {
  const double magnitude = std::fabs(x);
  if (!std::isfinite(x) || magnitude < DBL_MIN)
    return std::nullopt;
  const SeriesList list = seriesList(series);
  const int *m = list.mantissas;
  // A decade exponent e with m[0]·10^e < |x| < m[top]·10^e: the list's
  // mantissas are 10..150 or 100..1050, so one of the few exponents below
  // the value's own decimal exponent brackets it.
  const int decimal = decimalDigits(magnitude).exponent;
  int e = decimal + 2;
  bool bracketed = false;
  for (int trial = decimal - 4; trial <= decimal + 1 && !bracketed; ++trial) {
    if (seriesValue(m[0], trial) < magnitude && magnitude < seriesValue(m[list.top], trial)) {
      e = trial;
      bracketed = true;
    }
  }
  if (!bracketed)
    return std::nullopt;
  // Both scans stay inside the list: m[0]·10^e lies below the value and
  // m[top]·10^e above it, and the top index is a multiple of the stride.
  int upper = list.top;
  for (int i = list.top - list.stride; i >= 0; i -= list.stride) {
    if (seriesValue(m[i], e) <= magnitude) {
      upper = i + list.stride;
      break;
    }
  }
  int lower = 0;
  for (int j = list.stride; j <= list.top; j += list.stride) {
    if (seriesValue(m[j], e) >= magnitude) {
      lower = j - list.stride;
      break;
    }
  }
  const int sign = x < 0 ? -1 : 1;
  NeighbourPair pair{{sign * m[upper], e}, {sign * m[lower], e}};
  if (!finitePair(pair))
    return std::nullopt;
  return pair;
}

std::optional<NeighbourPair> digitNeighbours(double x, int digit) {
  if (digit < 1 || digit > 3 || std::isinf(x))
    return std::nullopt;
  if (x == 0 || std::isnan(x))
    return NeighbourPair{{1, -digit}, {-1, -digit}};
  // y = |x|·10^(digit - e) split at the stepped digit: whole . fraction.
  const DecimalDigits decimal = decimalDigits(std::fabs(x));
  long long whole = 0;
  for (int i = 0; i <= digit; ++i)
    whole = whole * 10 + (decimal.digits[i] - '0');
  const char *fraction = decimal.digits + digit + 1;
  const bool zero = std::strspn(fraction, "0") == std::strlen(fraction);
  const bool half =
      fraction[0] == '5' && std::strspn(fraction + 1, "0") == std::strlen(fraction + 1);
  const bool belowHalf = fraction[0] < '5';
  // ceil(y + 0.5) and floor(y - 0.5), exactly on the decimal digits.
  long long up = (zero || belowHalf || half) ? whole + 1 : whole + 2;
  long long down = (zero || belowHalf) ? whole - 1 : whole;
  if (x < 0) {
    const long long negatedDown = -down;
    down = -up;
    up = negatedDown;
  }
  const int exponent = decimal.exponent - digit;
  NeighbourPair pair{{up, exponent}, {down, exponent}};
  if (!finitePair(pair))
    return std::nullopt;
  return pair;
}

std::optional<StepRule> passiveRoundRule(int roundIndex) {
  if (roundIndex >= 0 && roundIndex < SeriesCount)
    return StepRule{true, static_cast<Series>(roundIndex), 0};
  if (roundIndex >= SeriesCount && roundIndex <= SeriesCount + 2)
    return StepRule{false, Series::E24, roundIndex - SeriesCount + 1};
  return std::nullopt;
}

std::optional<StepRule> sourceDigitRule(int digitIndex) {
  if (digitIndex < 0 || digitIndex > 2)
    return std::nullopt;
  return StepRule{false, Series::E24, digitIndex + 1};
}

std::optional<NeighbourPair> neighbours(double x, const StepRule &rule) {
  return rule.isSeries ? seriesNeighbours(x, rule.series) : digitNeighbours(x, rule.digit);
}

std::string adjustText(double x, const std::optional<NeighbourPair> &pair) {
  if (!pair || x == 0 || !std::isfinite(x))
    return "Adjust up/down";
  const double up = (pair->up.value() / x - 1) * 100;
  const double down = (pair->down.value() / x - 1) * 100;
  if (!std::isfinite(up) || !std::isfinite(down))
    return "Adjust up/down";
  char text[96];
  std::snprintf(text, sizeof text, "Adjust %+.2f%% (up) or %+.2f%% (down)", up, down);
  return text;
}

namespace {

std::string adjustTextFor(const std::string &valueText, const std::optional<StepRule> &rule) {
  if (!rule)
    return adjustText(0, std::nullopt);
  const double x = leadingNumber(valueText);
  return adjustText(x, neighbours(x, *rule));
}

} // namespace

std::string passiveAdjustText(const std::string &valueText, int roundIndex) {
  return adjustTextFor(valueText, passiveRoundRule(roundIndex));
}

std::string sourceAdjustText(const std::string &valueText, int digitIndex) {
  return adjustTextFor(valueText, sourceDigitRule(digitIndex));
}

std::optional<SteppedValue> passiveStep(const std::string &valueText, int roundIndex, bool up) {
  const std::optional<StepRule> rule = passiveRoundRule(roundIndex);
  if (!rule)
    return std::nullopt;
  const std::optional<NeighbourPair> pair = neighbours(leadingNumber(valueText), *rule);
  if (!pair)
    return std::nullopt;
  SteppedValue step;
  step.digits = DisplayDigits[roundIndex];
  const double value = (up ? pair->up : pair->down).value();
  if (!formatValue(value, static_cast<int>(NumberFormat::Engineering), step.digits, false,
                   step.text))
    return std::nullopt;
  return step;
}

std::optional<SteppedValue> sourceStep(const std::string &valueText, int digitIndex, bool up) {
  const std::optional<StepRule> rule = sourceDigitRule(digitIndex);
  if (!rule)
    return std::nullopt;
  const std::optional<NeighbourPair> pair = neighbours(leadingNumber(valueText), *rule);
  if (!pair)
    return std::nullopt;
  SteppedValue step;
  step.digits = digitIndex + 1;
  const double value = (up ? pair->up : pair->down).value();
  if (!formatValue(value, static_cast<int>(NumberFormat::General), step.digits, false, step.text))
    return std::nullopt;
  return step;
}

std::optional<std::string> raisedDigits(const std::optional<std::string> &digitsText, int digits) {
  double present = 0;
  if (!digitsText || !parseWholeNumber(*digitsText, present))
    return std::nullopt;
  const double rounded = std::nearbyint(present);
  if (!(rounded >= -32768 && rounded <= 32767) || rounded >= digits)
    return std::nullopt;
  return std::to_string(digits);
}

} // namespace passive
