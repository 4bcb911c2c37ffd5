// Stepping a parameter value on the parameters pages: the two neighbours of
// a value in a standard resistor series (E6 .. E96) or at one significant
// digit. A neighbour is kept as mantissa and decimal exponent, the text
// "48E2" the pages hand on, so that every page reads back the same double.
// Platform-free: the passive pages and the semiconductor page share it.
#ifndef PASSIVE_LIB_UIKIT_CORE_VALUE_STEPPING_H
#define PASSIVE_LIB_UIKIT_CORE_VALUE_STEPPING_H

#include <optional>
#include <string>

namespace passive {

struct Neighbour {
  long long mantissa = 0;
  int exponent = 0;
  // "%lldE%d", as in "150E-1".
  std::string text() const;
  // The text read back as a double (correctly rounded).
  double value() const;
};

// up is the neighbour a positive spin step takes, down the other one.
struct NeighbourPair {
  Neighbour up;
  Neighbour down;
};

// The standard series of the passive page's rounding choices 0..4.
enum class Series { E6 = 0, E12 = 1, E24 = 2, E48 = 3, E96 = 4 };
const int SeriesCount = 5;

// The smallest series value strictly above |x| (up) and the largest strictly
// below (down), both with the sign of x, so that a positive step enlarges
// the magnitude. No pair for 0, values that are not finite, magnitudes
// below the smallest normal double, or when a neighbour is not finite.
std::optional<NeighbourPair> seriesNeighbours(double x, Series series);

// Steps of one unit in the significant digit after the first `digit` ones
// (1: the 2nd digit, 2: the 3rd, 3: the 4th); up is always the algebraically
// larger neighbour. The digits are taken from the value's 15-digit decimal
// text, so 4700 steps to 48E2 and 46E2 without rounding noise. 0 and NaN
// step to 1 and -1 at exponent -digit; no pair for infinities, for a digit
// outside 1..3 or when a neighbour is not finite.
std::optional<NeighbourPair> digitNeighbours(double x, int digit);

// A rounding choice of a parameters page: a series, or a digit 1..3.
struct StepRule {
  bool isSeries = false;
  Series series = Series::E24;
  int digit = 1;
};

// The passive page's combo: 0..4 the series "std. 20%" .. "std. ½%",
// 5..7 "2nd digit" .. "4th digit". Nothing for other indices.
std::optional<StepRule> passiveRoundRule(int roundIndex);
// The source page's combo: 0..2 "2nd digit" .. "4th digit".
std::optional<StepRule> sourceDigitRule(int digitIndex);

std::optional<NeighbourPair> neighbours(double x, const StepRule &rule);

// The spin tooltip of a value x: "Adjust +50.00% (up) or -32.00% (down)";
// "Adjust up/down" when there is no pair or x is 0 or not finite.
std::string adjustText(double x, const std::optional<NeighbourPair> &pair);
// The same for a row's value text (read as atof reads it) and the page's
// combo index; "Adjust up/down" for an index outside the combo.
std::string passiveAdjustText(const std::string &valueText, int roundIndex);
std::string sourceAdjustText(const std::string &valueText, int digitIndex);

// A stepped value as the page writes it: the cell and TEXT text, and the
// display digits of the step (DIGITS is raised to them).
struct SteppedValue {
  std::string text;
  int digits = 0;
};

// The passive page's step of a value text (read as atof reads it) with the
// combo index 0..7: Engineering format with 1, 1, 1, 2, 2, 1, 2, 3 digits.
std::optional<SteppedValue> passiveStep(const std::string &valueText, int roundIndex, bool up);
// The source page's step with the digit combo index 0..2: General format
// with index + 1 digits.
std::optional<SteppedValue> sourceStep(const std::string &valueText, int digitIndex, bool up);

// The new DIGITS text after a step with `digits`, or nothing when DIGITS
// stays: only a present DIGITS that reads as a 16-bit integer smaller than
// digits is raised.
std::optional<std::string> raisedDigits(const std::optional<std::string> &digitsText, int digits);

} // namespace passive

#endif
