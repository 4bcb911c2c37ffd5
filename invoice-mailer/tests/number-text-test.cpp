// Number forms of the invoice text and the search. Expected texts come from
// the exact decimal value of each double (worked out by hand or with
// Python's decimal module); natively, the C library's exact printf and
// strtod also judge thousands of random values.
#include "invoice-mailer/core/number-text.h"

#include "invoice-mailer/core/log-errors.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

using billpost::formatFixed;
using billpost::formatGeneral;
using billpost::parseNumber;

namespace {

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

} // namespace

TEST(NumberText, FixedFormKeepsEveryIntegerDigitAndRoundsCentsHalfAway) {
  struct Case {
    double value;
    const char *text;
  } cases[] = {
      {0, "0.00"},
      {1.5, "1.50"},
      {4.5, "4.50"},
      {0.125, "0.13"}, // exactly halfway: away from zero
      {-0.125, "-0.13"},
      {2.675, "2.67"},      // 2.67499999999999982...
      {1.005, "1.00"},      // 1.00499999999999989...
      {0.005, "0.01"},      // 0.00500000000000000010...
      {999.995, "1000.00"}, // 999.99500000000000045...: carries into a new digit
      {9.995, "9.99"},      // 9.99499999999999921...
      {-0.004, "0.00"},     // no sign on a zero amount
      {1234567.89, "1234567.89"},
      {123456789012.34, "123456789012.34"},
      {1e20, "100000000000000000000.00"},
      {5e-324, "0.00"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(formatFixed(c.value), c.text) << c.value;
}

TEST(NumberText, FixedFormOfTheLargestDoubleHasAll309Digits) {
  std::string text = formatFixed(DBL_MAX);
  EXPECT_EQ(text.size(), 309u + 3u);
  EXPECT_EQ(text.substr(0, 20), "17976931348623157081");
  EXPECT_EQ(text.substr(text.size() - 3), ".00");
}

TEST(NumberText, GeneralFormHasFifteenDigitsAndSwitchesToExponents) {
  struct Case {
    double value;
    const char *text;
  } cases[] = {
      {0, "0"},
      {7.5, "7.5"},
      {8.25, "8.25"},
      {20, "20"},
      {-2.5, "-2.5"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"}, // 0.30000000000000004 has 17 significant digits
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {1234567.89, "1234567.89"},
      {999999999999999, "999999999999999"},
      {999999999999999.875, "1E15"}, // rounding to 15 digits adds a digit
      {1e15, "1E15"},
      {1e20, "1E20"},
      {1.5e20, "1.5E20"},
      {123456789012345678.0, "1.23456789012346E17"},
      {3965714192520745.0, "3.96571419252075E15"}, // exactly halfway: away from zero
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {0.000015, "1.5E-5"},
      {DBL_MAX, "1.79769313486232E308"},
      {5e-324, "4.94065645841247E-324"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(formatGeneral(c.value), c.text) << c.value;
}

TEST(NumberText, ParsesNumbersToTheNearestDouble) {
  struct Case {
    const char *text;
    double value;
  } cases[] = {
      {"4.50", 4.5},
      {" 12 ", 12},
      {"-3.25", -3.25},
      {"+1", 1},
      {".5", 0.5},
      {"5.", 5},
      {"1e3", 1000},
      {"1E-2", 0.01},
      {"0.1", 0.1},
      {"1234567.89", 1234567.89},
      {"0000000000000000000000000012.5", 12.5},
      {"1e-400", 0},
      {"4.9e-324", 4.9e-324},
      {"2.2250738585072011e-308", 2.2250738585072011e-308},
      {"1.7976931348623157e308", DBL_MAX},
      {"9007199254740993", 9007199254740992.0}, // a tie: to even
      {"9007199254740995", 9007199254740996.0},
      {"0.30000000000000004", 0.30000000000000004},
  };
  for (const Case &c : cases) {
    double value = -999;
    EXPECT_TRUE(parseNumber(c.text, value)) << c.text;
    EXPECT_EQ(bitsOf(value), bitsOf(c.value)) << c.text;
  }
}

TEST(NumberText, RejectsWhatIsNotANumber) {
  const char *texts[] = {"",     " ",     "12,50", "abc", "1e", "--1", "1 2",
                         "$5",   "1e400", "nan",   "inf", ".",  "e5",  "1.7976931348623159e308",
                         "0x10", "1.2.3", "\xE9"};
  for (const char *text : texts) {
    double value = 42;
    EXPECT_FALSE(parseNumber(text, value)) << text;
    EXPECT_EQ(value, 42) << text;
  }
}

TEST(NumberText, ConversionErrorNamesTheText) {
  try {
    billpost::textToFloat("12,50");
    FAIL() << "no conversion error";
  } catch (const billpost::EConvertError &error) {
    EXPECT_EQ(error.Message(), "'12,50' is not a valid floating point value");
  }
}

#ifndef _WIN32
// The C library's printf and strtod are exact on this platform; they are
// the peers for random values. Exact cent ties are skipped: printf breaks
// them towards even, the invoice text away from zero.
namespace {

double doubleOf(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

double randomFinite(std::mt19937_64 &rng) {
  for (;;) {
    double value = doubleOf(rng());
    if (std::isfinite(value))
      return value;
  }
}

// A value of ordinary size: up to 12 integer digits and a few decimals.
double randomAmount(std::mt19937_64 &rng) {
  std::uniform_int_distribution<std::int64_t> cents(-100000000000000, 100000000000000);
  std::uniform_int_distribution<int> scale(0, 4);
  return static_cast<double>(cents(rng)) / std::pow(10.0, scale(rng));
}

bool isCentTie(double value) {
  char text[512];
  std::snprintf(text, sizeof text, "%.400f", value);
  const char *point = std::strchr(text, '.');
  if (point[3] != '5')
    return false;
  for (const char *p = point + 4; *p; ++p) {
    if (*p != '0')
      return false;
  }
  return true;
}

// Exactly halfway between two 15-digit values.
bool isFifteenDigitTie(double value) {
  char text[800];
  std::snprintf(text, sizeof text, "%.700e", std::fabs(value));
  // d.dddddddddddddd then the sixteenth significant digit
  if (text[16] != '5')
    return false;
  for (const char *p = text + 17; *p != 'e'; ++p) {
    if (*p != '0')
      return false;
  }
  return true;
}

} // namespace

TEST(NumberTextPeer, FixedFormMatchesPrintf) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 20000; ++i) {
    double value = i % 2 ? randomAmount(rng) : randomFinite(rng);
    if (isCentTie(value))
      continue;
    static char expected[400];
    std::snprintf(expected, sizeof expected, "%.2f", value);
    std::string want = expected;
    if (want == "-0.00")
      want = "0.00";
    ASSERT_EQ(formatFixed(value), want) << std::hexfloat << value;
  }
}

TEST(NumberTextPeer, GeneralFormHasPrintfsFifteenDigits) {
  // The significant digits and the exponent of a value, whatever the form.
  auto significant = [](double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", std::fabs(value));
    std::string digits = std::string(1, text[0]) + std::string(text + 2, 14);
    while (digits.size() > 1 && digits.back() == '0')
      digits.pop_back();
    return digits + "e" + std::to_string(std::atoi(std::strchr(text, 'e') + 1));
  };
  std::mt19937_64 rng(11);
  for (int i = 0; i < 20000; ++i) {
    double value = i % 2 ? randomAmount(rng) : randomFinite(rng);
    if (value == 0 || isFifteenDigitTie(value))
      continue;
    std::string ours = formatGeneral(value);
    ASSERT_EQ(ours[0] == '-', value < 0) << ours;
    ASSERT_EQ(significant(std::strtod(ours.c_str(), nullptr)), significant(value)) << ours;
  }
}

TEST(NumberTextPeer, ParsingMatchesStrtod) {
  std::mt19937_64 rng(13);
  std::uniform_int_distribution<int> digit(0, 9), length(1, 25), exponent(-340, 320), coin(0, 3);
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    if (coin(rng) == 0)
      text += '-';
    int count = length(rng);
    int point = coin(rng) ? std::uniform_int_distribution<int>(0, count)(rng) : -1;
    for (int d = 0; d < count; ++d) {
      if (d == point)
        text += '.';
      text += static_cast<char>('0' + digit(rng));
    }
    if (coin(rng) != 0)
      text += "e" + std::to_string(exponent(rng));
    double expected = std::strtod(text.c_str(), nullptr);
    double value = 0;
    bool parsed = parseNumber(text, value);
    if (!std::isfinite(expected)) {
      ASSERT_FALSE(parsed) << text;
      continue;
    }
    ASSERT_TRUE(parsed) << text;
    ASSERT_EQ(bitsOf(value), bitsOf(expected)) << text;
  }
}
#endif
