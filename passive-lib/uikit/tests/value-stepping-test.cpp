// Stepping of parameter values, natively and under Wine from the same
// tables: the pages' examples, the series neighbours against a brute-force
// scan of every decade, and inputs that must end at once.
#include "passive-lib/uikit/core/value-stepping.h"

#include "passive-lib/core/value-format.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using passive::digitNeighbours;
using passive::NeighbourPair;
using passive::Series;
using passive::seriesNeighbours;

// IEC 60063 series as printed in the standard, one decade each.
const std::vector<int> E6 = {10, 15, 22, 33, 47, 68};
const std::vector<int> E12 = {10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};
const std::vector<int> E24 = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                              33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};
const std::vector<int> E48 = {100, 105, 110, 115, 121, 127, 133, 140, 147, 154, 162, 169,
                              178, 187, 196, 205, 215, 226, 237, 249, 261, 274, 287, 301,
                              316, 332, 348, 365, 383, 402, 422, 442, 464, 487, 511, 536,
                              562, 590, 619, 649, 681, 715, 750, 787, 825, 866, 909, 953};
const std::vector<int> E96 = {100, 102, 105, 107, 110, 113, 115, 118, 121, 124, 127, 130, 133, 137,
                              140, 143, 147, 150, 154, 158, 162, 165, 169, 174, 178, 182, 187, 191,
                              196, 200, 205, 210, 215, 221, 226, 232, 237, 243, 249, 255, 261, 267,
                              274, 280, 287, 294, 301, 309, 316, 324, 332, 340, 348, 357, 365, 374,
                              383, 392, 402, 412, 422, 432, 442, 453, 464, 475, 487, 499, 511, 523,
                              536, 549, 562, 576, 590, 604, 619, 634, 649, 665, 681, 698, 715, 732,
                              750, 768, 787, 806, 825, 845, 866, 887, 909, 931, 953, 976};

const std::vector<int> &standardSeries(Series series) {
  static const std::vector<int> *const all[] = {&E6, &E12, &E24, &E48, &E96};
  return *all[static_cast<int>(series)];
}

double decimalValue(long long mantissa, int exponent) {
  char text[48];
  std::snprintf(text, sizeof text, "%lldE%d", mantissa, exponent);
  return std::strtod(text, nullptr);
}

struct Pair {
  std::string up, down;
};

Pair texts(const std::optional<NeighbourPair> &pair) {
  if (!pair)
    return {"none", "none"};
  return {pair->up.text(), pair->down.text()};
}

struct SeriesCase {
  double x;
  Series series;
  const char *up, *down;
};

TEST(ValueStepping, SeriesExamplesOfTheParametersPage) {
  const SeriesCase cases[] = {
      {1000, Series::E6, "150E1", "68E1"},     // "std. 20%": 1500 and 680
      {1000, Series::E24, "110E1", "91E1"},    // "std. 5%": 1100 and 910
      {10, Series::E6, "150E-1", "68E-1"},     // on a series value: never itself
      {100, Series::E48, "1050E-1", "953E-1"}, // "std. 1%": 105, not 102
      {100, Series::E96, "1020E-1", "976E-1"}, // "std. ½%": 102
      {1200, Series::E12, "150E1", "100E1"},   {4700, Series::E6, "68E2", "33E2"},
      {-1000, Series::E6, "-150E1", "-68E1"}, // a positive step enlarges the magnitude
      {5.0e-7, Series::E12, "56E-8", "47E-8"}, {1e308, Series::E6, "150E306", "68E306"},
  };
  for (const SeriesCase &c : cases) {
    const Pair got = texts(seriesNeighbours(c.x, c.series));
    EXPECT_EQ(got.up, c.up) << c.x << " series " << static_cast<int>(c.series);
    EXPECT_EQ(got.down, c.down) << c.x << " series " << static_cast<int>(c.series);
  }
}

struct DigitCase {
  double x;
  int digit;
  const char *up, *down;
};

TEST(ValueStepping, DigitExamplesOfBothParametersPages) {
  const DigitCase cases[] = {
      {4760, 1, "49E2", "47E2"}, // ceil(48.1), floor(47.1)
      {4700, 1, "48E2", "46E2"},     {4750, 1, "48E2", "47E2"},
      {-4700, 1, "-46E2", "-48E2"}, // steps towards plus
      {0, 1, "1E-1", "-1E-1"},      // the exponent is minus the digit position
      {0, 3, "1E-3", "-1E-3"},       {4700, 2, "471E1", "469E1"},
      {4700, 3, "4701E0", "4699E0"}, {1000, 1, "11E2", "9E2"},
      {0.0015, 1, "16E-4", "14E-4"}, {1e308, 1, "11E307", "9E307"},
  };
  for (const DigitCase &c : cases) {
    const Pair got = texts(digitNeighbours(c.x, c.digit));
    EXPECT_EQ(got.up, c.up) << c.x << " digit " << c.digit;
    EXPECT_EQ(got.down, c.down) << c.x << " digit " << c.digit;
  }
}

// The exponent comes from the value's decimal digits: every power of ten
// steps in the chosen digit, also those whose binary logarithm scaled to a
// decimal one falls just below the integer (1E23, 1E-25, ...).
TEST(ValueStepping, EveryPowerOfTenStepsTheChosenDigit) {
  for (int k = -300; k <= 300; ++k) {
    const Pair got = texts(digitNeighbours(decimalValue(1, k), 1));
    EXPECT_EQ(got.up, "11E" + std::to_string(k - 1)) << k;
    EXPECT_EQ(got.down, "9E" + std::to_string(k - 1)) << k;
  }
}

struct RoundCase {
  const char *value;
  int roundIndex;
  bool up;
  double stepped;
  int digits;
};

TEST(ValueStepping, PassivePageStepsInEngineeringFormat) {
  const RoundCase cases[] = {
      {"1000", 0, true, 1500, 1},    {"1.00E3", 0, false, 680, 1}, {"1000", 2, true, 1100, 1},
      {"100", 3, true, 105, 2},      {"100", 4, true, 102, 2},     {"4760", 5, true, 4900, 1},
      {"4.70E3", 5, false, 4600, 1}, {"4700", 6, true, 4710, 2},   {"4700", 7, false, 4699, 3},
      {"10ohm", 0, false, 6.8, 1},
  };
  for (const RoundCase &c : cases) {
    const auto step = passive::passiveStep(c.value, c.roundIndex, c.up);
    ASSERT_TRUE(step) << c.value << " " << c.roundIndex;
    std::string expected;
    ASSERT_TRUE(passive::formatValue(c.stepped, 2, c.digits, false, expected));
    EXPECT_EQ(step->text, expected) << c.value << " " << c.roundIndex;
    EXPECT_EQ(step->digits, c.digits);
    // The written text reads back as the stepped value's shown digits.
    EXPECT_NEAR(passive::leadingNumber(step->text), c.stepped, c.stepped * 1e-12);
  }
  EXPECT_FALSE(passive::passiveStep("1000", 8, true));
  EXPECT_FALSE(passive::passiveStep("1000", -1, true));
  EXPECT_FALSE(passive::passiveStep("0", 0, true)); // a series leaves 0 alone
}

TEST(ValueStepping, SourcePageStepsInGeneralFormat) {
  const RoundCase cases[] = {
      {"4700", 0, true, 4800, 1}, {"4700", 0, false, 4600, 1}, {"-4700", 0, true, -4600, 1},
      {"0", 0, true, 0.1, 1},     {"0", 0, false, -0.1, 1},    {"12", 2, true, 12.01, 3},
  };
  for (const RoundCase &c : cases) {
    const auto step = passive::sourceStep(c.value, c.roundIndex, c.up);
    ASSERT_TRUE(step) << c.value;
    std::string expected;
    ASSERT_TRUE(passive::formatValue(c.stepped, 0, c.digits, false, expected));
    EXPECT_EQ(step->text, expected) << c.value;
    EXPECT_EQ(step->digits, c.digits);
  }
  EXPECT_FALSE(passive::sourceStep("12", 3, true));
}

TEST(ValueStepping, DigitsAreRaisedNeverLowered) {
  using passive::raisedDigits;
  EXPECT_EQ(raisedDigits(std::string("1"), 2), std::optional<std::string>("2")); // "std. 1%"
  EXPECT_EQ(raisedDigits(std::string("3"), 2), std::nullopt);
  EXPECT_EQ(raisedDigits(std::string("1"), 3), std::optional<std::string>("3")); // 4th digit
  EXPECT_EQ(raisedDigits(std::string("2"), 2), std::nullopt);
  EXPECT_EQ(raisedDigits(std::nullopt, 3), std::nullopt); // absent: stays absent
  EXPECT_EQ(raisedDigits(std::string("x"), 3), std::nullopt);
  EXPECT_EQ(raisedDigits(std::string("-40000"), 3), std::nullopt); // not a 16-bit integer
}

TEST(ValueStepping, AdjustTexts) {
  EXPECT_EQ(passive::passiveAdjustText("1000", 0), "Adjust +50.00% (up) or -32.00% (down)");
  EXPECT_EQ(passive::passiveAdjustText("1000", 2), "Adjust +10.00% (up) or -9.00% (down)");
  EXPECT_EQ(passive::sourceAdjustText("4700", 0), "Adjust +2.13% (up) or -2.13% (down)");
  EXPECT_EQ(passive::sourceAdjustText("-4700", 0), "Adjust -2.13% (up) or +2.13% (down)");
  // A value of 0 has neighbours at the digits but no ratio to them.
  EXPECT_EQ(passive::sourceAdjustText("0", 0), "Adjust up/down");
  EXPECT_EQ(passive::passiveAdjustText("0", 5), "Adjust up/down");
  EXPECT_EQ(passive::passiveAdjustText("0", 0), "Adjust up/down");
  EXPECT_EQ(passive::passiveAdjustText("ERROR", 1), "Adjust up/down");
  EXPECT_EQ(passive::passiveAdjustText("1000", 9), "Adjust up/down");
  EXPECT_EQ(passive::adjustText(std::nan(""), digitNeighbours(std::nan(""), 1)), "Adjust up/down");
}

// 0, NaN, a subnormal, the largest decade and infinities end after a few
// trials: no exponent search or index scan runs away.
TEST(ValueStepping, DegenerateValuesReturnAtOnce) {
  const double inputs[] = {0.0,
                           -0.0,
                           std::numeric_limits<double>::quiet_NaN(),
                           1e-320,
                           1e308,
                           -1e308,
                           1.7e308,
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           DBL_MIN,
                           std::numeric_limits<double>::denorm_min()};
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < 100; ++round) {
    for (double x : inputs) {
      for (int s = 0; s < passive::SeriesCount; ++s)
        (void)seriesNeighbours(x, static_cast<Series>(s));
      for (int digit = 1; digit <= 3; ++digit)
        (void)digitNeighbours(x, digit);
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 10.0) << "35,200 calls, each bounded by a few dozen trials";

  for (int s = 0; s < passive::SeriesCount; ++s) {
    const Series series = static_cast<Series>(s);
    EXPECT_FALSE(seriesNeighbours(0.0, series));
    EXPECT_FALSE(seriesNeighbours(std::nan(""), series));
    EXPECT_FALSE(seriesNeighbours(1e-320, series));
    EXPECT_FALSE(seriesNeighbours(std::numeric_limits<double>::infinity(), series));
    EXPECT_FALSE(seriesNeighbours(1.79e308, series)) << "its upper neighbour is not finite";
    const auto top = seriesNeighbours(1e308, series);
    ASSERT_TRUE(top);
    EXPECT_GT(top->up.value(), 1e308);
    EXPECT_LT(top->down.value(), 1e308);
  }
  EXPECT_EQ(texts(digitNeighbours(std::nan(""), 1)).up, "1E-1");
  EXPECT_FALSE(digitNeighbours(std::numeric_limits<double>::infinity(), 1));
  // A subnormal steps at its own digits: 1e-320 is 9.99988671826831e-321.
  const Pair tiny = texts(digitNeighbours(1e-320, 1));
  EXPECT_EQ(tiny.up, "101E-322");
  EXPECT_EQ(tiny.down, "99E-322");
}

// Every series value from the smallest subnormal decade to the largest
// finite one, for a brute-force scan.
std::vector<double> everySeriesValue(Series series) {
  std::vector<double> values;
  for (int exponent = -330; exponent <= 310; ++exponent) {
    for (int mantissa : standardSeries(series)) {
      const double v = decimalValue(mantissa, exponent);
      if (v > 0 && std::isfinite(v))
        values.push_back(v);
    }
  }
  return values;
}

TEST(ValueStepping, SeriesNeighboursMatchABruteForceScanOfEveryDecade) {
  std::mt19937_64 random(20261209);
  std::uniform_real_distribution<double> decade(-300.0, 300.0);
  std::uniform_int_distribution<int> exponent(-300, 300);
  std::bernoulli_distribution negative(0.5), onSeries(0.25);
  for (int s = 0; s < passive::SeriesCount; ++s) {
    const Series series = static_cast<Series>(s);
    const std::vector<double> values = everySeriesValue(series);
    const std::vector<int> &mantissas = standardSeries(series);
    std::uniform_int_distribution<std::size_t> pick(0, mantissas.size() - 1);
    int failures = 0;
    for (int n = 0; n < 10000 && failures < 10; ++n) {
      // A quarter of the values are series values themselves, which must
      // step past themselves.
      double x = onSeries(random) ? decimalValue(mantissas[pick(random)], exponent(random))
                                  : std::pow(10.0, decade(random));
      if (negative(random))
        x = -x;
      const double magnitude = std::fabs(x);
      double above = std::numeric_limits<double>::infinity();
      double below = 0;
      for (double v : values) {
        if (v > magnitude && v < above)
          above = v;
        if (v < magnitude && v > below)
          below = v;
      }
      const auto pair = seriesNeighbours(x, series);
      const double sign = x < 0 ? -1 : 1;
      if (!pair || pair->up.value() != sign * above || pair->down.value() != sign * below) {
        ++failures;
        ADD_FAILURE() << "series " << s << " x " << x << ": got " << texts(pair).up << " "
                      << texts(pair).down << ", scan " << sign * above << " " << sign * below;
      }
    }
  }
}

TEST(ValueStepping, DigitNeighboursBracketTheValueWithinTwoUnits) {
  std::mt19937_64 random(4700);
  std::uniform_real_distribution<double> decade(-300.0, 300.0);
  std::bernoulli_distribution negative(0.5);
  for (int n = 0; n < 10000; ++n) {
    double x = std::pow(10.0, decade(random));
    if (negative(random))
      x = -x;
    for (int digit = 1; digit <= 3; ++digit) {
      const auto pair = digitNeighbours(x, digit);
      ASSERT_TRUE(pair) << x;
      ASSERT_EQ(pair->up.exponent, pair->down.exponent);
      const double unit = decimalValue(1, pair->up.exponent);
      EXPECT_GT(pair->up.value(), x) << x << " digit " << digit;
      EXPECT_LT(pair->down.value(), x) << x << " digit " << digit;
      const long long span = pair->up.mantissa - pair->down.mantissa;
      EXPECT_TRUE(span == 1 || span == 2) << x << " digit " << digit;
      // The unit is that of the chosen significant digit.
      EXPECT_GE(std::fabs(x) / unit, std::pow(10.0, digit) * (1 - 1e-12)) << x;
      EXPECT_LT(std::fabs(x) / unit, std::pow(10.0, digit + 1) * (1 + 1e-12)) << x;
    }
  }
}

} // namespace
