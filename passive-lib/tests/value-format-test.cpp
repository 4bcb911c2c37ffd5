// The number texts of the component library: display formats, the IEEE
// text against Python's struct module, the netlist values, the label texts.
// The same tables run natively and under Wine, so both give the same text.
#include "passive-lib/core/item-format.h"
#include "passive-lib/core/value-format.h"
#include "passive-lib/uikit/tests/memory-element.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using passive::formatValue;

std::string formatted(double value, int format, int digits, bool changeSign = false) {
  std::string text = "unset";
  EXPECT_TRUE(formatValue(value, format, digits, changeSign, text));
  return text;
}

struct FormatCase {
  double value;
  int digits;
  const char *engineering, *metric, *spice;
};

TEST(PassiveFormatValue, EngineeringMetricAndSpiceExamples) {
  const FormatCase cases[] = {
      {12345, 2, "12.3E3", "12.3 k", "12.3K"},
      {12345, 0, "10E3", "10 k", "10K"},
      {123456, 1, "120E3", "120 k", "120K"},
      {0.0123, 2, "12.3E-3", "12.3 m", "12.3M"},
      {0, 2, "0.00E0", "0.00", "0.00"},
      {1E-15, 2, "1.00E-15", "1.00 f", "1.00F"},
      {1E-16, 2, "100E-18", "100 a", "100E-18"},
      {1E-20, 2, "10.0E-21", "10.0E-21", "10.0E-21"},
      {1E21, 2, "1.00E21", "1.00E21", "1.00E21"},
      {1E6, 1, "1.0E6", "1.0 M", "1.0MEG"},
      {-4.7E-6, 1, "-4.7E-6", "-4.7 u", "-4.7U"},
      {2.2E-9, 1, "2.2E-9", "2.2 n", "2.2N"},
      {3.3E-12, 1, "3.3E-12", "3.3 p", "3.3P"},
      {1E9, 0, "1E9", "1 G", "1G"},
      {5E12, 0, "5E12", "5 T", "5T"},
      {7E15, 0, "7E15", "7 P", "7E15"},
      {8E18, 0, "8E18", "8 E", "8E18"},
      {1E-18, 0, "1E-18", "1 a", "1E-18"},
      {1E300, 2, "1.00E300", "1.00E300", "1.00E300"},
      {1.5E-300, 1, "1.5E-300", "1.5E-300", "1.5E-300"},
  };
  for (const FormatCase &c : cases) {
    EXPECT_EQ(formatted(c.value, 2, c.digits), c.engineering) << c.value;
    EXPECT_EQ(formatted(c.value, 3, c.digits), c.metric) << c.value;
    EXPECT_EQ(formatted(c.value, 4, c.digits), c.spice) << c.value;
  }
}

TEST(PassiveFormatValue, GeneralAndScientificShortenTheExponent) {
  EXPECT_EQ(formatted(1, 1, 2), "1.00E0");
  EXPECT_EQ(formatted(1E5, 0, 2), "1E5");
  EXPECT_EQ(formatted(0.5, 0, 2), "0.5");
  EXPECT_EQ(formatted(150000, 1, 2), "1.50E5");
  EXPECT_EQ(formatted(1.5E-5, 0, 1), "1.5E-5");
  EXPECT_EQ(formatted(1E-300, 1, 0), "1E-300");
  EXPECT_EQ(formatted(123.456, 0, 14), "123.456");
}

TEST(PassiveFormatValue, ChangeSignAndNonFiniteValues) {
  EXPECT_EQ(formatted(0.006, 3, 2, true), "-6.00 m");
  EXPECT_EQ(formatted(-0.006, 3, 2, true), "6.00 m");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (double value : {nan, inf, -inf})
    for (int format = 0; format <= 4; ++format)
      EXPECT_EQ(formatted(value, format, 3), "?");
}

TEST(PassiveFormatValue, RangeIsCheckedBeforeTheValue) {
  std::string text = "kept";
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(formatValue(nan, 9, 2, false, text));
  EXPECT_FALSE(formatValue(1.0, -1, 2, false, text));
  EXPECT_FALSE(formatValue(1.0, 2, 15, false, text));
  EXPECT_FALSE(formatValue(1.0, 2, -1, false, text));
  EXPECT_EQ(text, "kept");
  // The widest texts still fit: 14 digits of a negative value of three
  // exponent digits.
  EXPECT_EQ(formatted(-1.2345678901234E-300, 1, 14), "-1.23456789012340E-300");
  EXPECT_EQ(formatted(-1.2345678901234E-300, 0, 14), "-1.2345678901234E-300");
}

// Bit patterns of every class: zeros, subnormals, normals, infinities and
// NaNs with payloads, then random ones.
std::vector<std::uint64_t> bitPatterns(std::size_t count) {
  std::vector<std::uint64_t> patterns = {0,
                                         0x8000000000000000ull,
                                         1,
                                         0x000FFFFFFFFFFFFFull,
                                         0x800FFFFFFFFFFFFFull,
                                         0x0010000000000000ull,
                                         0x3FF0000000000000ull,
                                         0x7FEFFFFFFFFFFFFFull,
                                         0x7FF0000000000000ull,
                                         0xFFF0000000000000ull,
                                         0x7FF8000000000000ull,
                                         0x7FF0000000000001ull,
                                         0x7FF4000000000123ull,
                                         0xFFFFFFFFFFFFFFFFull};
  std::mt19937_64 random(20261209);
  while (patterns.size() < count) {
    std::uint64_t bits = random();
    switch (patterns.size() % 4) {
    case 0: // subnormal
      bits &= 0x800FFFFFFFFFFFFFull;
      break;
    case 1: // NaN or infinity
      bits |= 0x7FF0000000000000ull;
      break;
    default:
      break;
    }
    patterns.push_back(bits);
  }
  return patterns;
}

double fromBits(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::uint64_t toBits(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

TEST(PassiveIeeeText, RoundTripsEveryBitPattern) {
  for (std::uint64_t bits : bitPatterns(100000)) {
    const std::string text = passive::ieeeText(fromBits(bits));
    ASSERT_EQ(text.size(), 18u);
    double back = 1.0;
    ASSERT_TRUE(passive::parseIeeeText(text, back)) << text;
    ASSERT_EQ(toBits(back), bits) << text;
  }
  EXPECT_EQ(passive::ieeeText(1.0), "0X3FF0000000000000");
}

#ifndef _WIN32
// Python's struct module writes the same 16 digits for every pattern.
TEST(PassiveIeeeText, MatchesPythonStruct) {
  const std::vector<std::uint64_t> patterns = bitPatterns(100000);
  const std::string input = testing_support::envOr("TEST_BINARY_DIR", ".") + "/ieee-bits.txt";
  {
    std::ofstream out(input);
    for (std::uint64_t bits : patterns)
      out << bits << '\n';
  }
  const std::string command = "python3 -c \"import struct,sys\n"
                              "for line in open(sys.argv[1]):\n"
                              "  x = struct.unpack('>d', int(line).to_bytes(8, 'big'))[0]\n"
                              "  print('0X' + struct.pack('>d', x).hex().upper())\" " +
                              input;
  FILE *pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[64];
  std::size_t index = 0, mismatches = 0;
  while (std::fgets(line, sizeof line, pipe)) {
    std::string expected(line);
    expected.erase(expected.find_last_not_of("\r\n") + 1);
    ASSERT_LT(index, patterns.size());
    if (passive::ieeeText(fromBits(patterns[index])) != expected && ++mismatches < 5)
      ADD_FAILURE() << expected << " vs " << passive::ieeeText(fromBits(patterns[index]));
    ++index;
  }
  EXPECT_EQ(pclose(pipe), 0);
  EXPECT_EQ(index, patterns.size());
  EXPECT_EQ(mismatches, 0u);
}
#endif

TEST(PassiveIeeeText, RejectsMalformedTexts) {
  double value = 5.0;
  EXPECT_TRUE(passive::parseIeeeText("0x1", value));
  EXPECT_EQ(toBits(value), 1u);
  EXPECT_TRUE(passive::parseIeeeText("0xabcdef0123456789", value));
  EXPECT_EQ(toBits(value), 0xABCDEF0123456789ull);
  for (const char *bad :
       {"0X", "1X00", "0XG0", "0X0000000000000000F", "", "0", "X0", "0X 1", "0X1-", "00X1"}) {
    value = 5.0;
    EXPECT_FALSE(passive::parseIeeeText(bad, value)) << bad;
    EXPECT_EQ(toBits(value), 0u) << bad;
  }
}

TEST(PassiveSpiceValue, ReadsBackAsTheSameDouble) {
  const std::map<double, std::string> known = {
      {6.25, "6.25"},   {4700, "4.7K"},    {1000, "1K"},
      {1E-12, "1P"},    {1E-9, "1N"},      {0.0, "0"},
      {6.0, "6"},       {1.5E6, "1.5MEG"}, {0.1, "100M"},
      {2.2E-6, "2.2U"}, {1E-15, "1F"},     {1E-18, "1E-18"},
      {1E15, "1E15"},   {-3.3, "-3.3"},    {12345.678, "12.345678K"}};
  for (const auto &[value, text] : known)
    EXPECT_EQ(passive::spiceValue(value), text) << value;
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    double value = fromBits(random());
    if (!std::isfinite(value))
      continue;
    const std::string text = passive::spiceValue(value);
    // Expand the suffix back into an exponent and read the number.
    static const std::map<std::string, const char *> suffixes = {
        {"K", "E3"},  {"MEG", "E6"}, {"G", "E9"},   {"T", "E12"}, {"M", "E-3"},
        {"U", "E-6"}, {"N", "E-9"},  {"P", "E-12"}, {"F", "E-15"}};
    std::string number = text;
    for (const auto &[suffix, exponent] : suffixes) {
      if (number.size() > suffix.size() &&
          number.compare(number.size() - suffix.size(), suffix.size(), suffix) == 0 &&
          std::isdigit(static_cast<unsigned char>(number[number.size() - suffix.size() - 1]))) {
        number = number.substr(0, number.size() - suffix.size()) + exponent;
        break;
      }
    }
    ASSERT_EQ(std::strtod(number.c_str(), nullptr), value) << text;
  }
}

using passive_test::MemoryElement;

TEST(PassiveFormatItem, LabelTexts) {
  const struct {
    const char *attributes, *label;
  } cases[] = {
      {"NAME=Idc;SHOWNAME;SHOWDIM;DIM=A;FORMAT=3;DIGITS=2;IEEE=0X0000000000000000", "Idc = 0.00 A"},
      {"NAME=Idc;SHOWNAME;SHOWDIM;DIM=A;IEEE=0XFFFFFFFFFFFFFFFF", "Idc = ?"},
      {"NAME=R;SHOWDIM;DIM=ohm;FORMAT=3;DIGITS=1;DEFAULT=1000", "1.0 kohm"},
      {"NAME=R;SHOWDIM;DIM=ohm;FORMAT=4;DIGITS=1;DEFAULT=1000", "1.0Kohm"},
      {"NAME=I;SHOWDIM;DIM=A;FORMAT=3;DIGITS=2;TEXT=12.3;DEFAULT=99", "12.3 A"},
      {"NAME=L;SHOWDIM;DIM=H;FORMAT=3;DIGITS=1;DEFAULT=1E-9", "1.0 nH"},
      {"NAME=Idc;FORMAT=3;DIGITS=2;CHS=1;IEEE=0X3F789374BC6A7EFA", "-6.00 m"},
      {"NAME=V;IEEE=0XNOTHEX;SHOWDIM;DIM=V", "ERRORV"},
      {"NAME=V;SHOWNAME", "V = ERROR"},
      {"NAME=T;TEXTONLY;TEXT=1k text", "1k text"},
      {"NAME=V;DEFAULT=  6", "6.000E0"},
  };
  for (const auto &c : cases) {
    std::string text;
    EXPECT_EQ(passive::formatItem(MemoryElement(c.attributes), nullptr, text),
              passive::ItemStatus::Ok)
        << c.label;
    EXPECT_EQ(text, c.label);
  }
}

TEST(PassiveFormatItem, IdentifierItemTakesThePartId) {
  const std::string part = "R12";
  std::string text;
  EXPECT_EQ(passive::formatItem(MemoryElement("NAME=ID;DEFAULT=R?;TEXTONLY"), &part, text),
            passive::ItemStatus::Ok);
  EXPECT_EQ(text, "R12");
  MemoryElement named("NAME=ID;SHOWNAME;SHOWDIM;DIM=x");
  EXPECT_EQ(passive::formatItem(named, &part, text), passive::ItemStatus::Ok);
  EXPECT_EQ(text, "ID = R12");
  EXPECT_EQ(passive::formatItem(named, nullptr, text), passive::ItemStatus::NoPartId);
}

TEST(PassiveFormatItem, UnreadableNumbersAndSettingsAreErrors) {
  for (const char *attributes :
       {"NAME=R;TEXT=1k", "NAME=R;DEFAULT=1000 ", "NAME=R;DEFAULT=", "NAME=R;DEFAULT=0x10",
        "NAME=R;DEFAULT=1;FORMAT=5", "NAME=R;DEFAULT=1;FORMAT=-1", "NAME=R;DEFAULT=1;DIGITS=15",
        "NAME=R;DEFAULT=1;DIGITS=99999", "NAME=R;DEFAULT=1;FORMAT=two",
        "NAME=R;DEFAULT=1;CHS=yes"}) {
    std::string text = "kept";
    EXPECT_EQ(passive::formatItem(MemoryElement(attributes), nullptr, text),
              passive::ItemStatus::InvalidArgument)
        << attributes;
    EXPECT_EQ(text, "kept");
  }
  std::string text;
  EXPECT_EQ(passive::formatSpiceItem(MemoryElement("NAME=R;TEXT=1k"), text),
            passive::ItemStatus::InvalidArgument);
}

TEST(PassiveFormatSpiceItem, NetlistValuesKeepEveryDigit) {
  const struct {
    const char *attributes, *text;
  } cases[] = {
      {"NAME=Vdc;DEFAULT=6.25;DIGITS=1", "6.25"},
      {"NAME=R;TEXT=4700;DIGITS=0;FORMAT=0;CHS=1", "4.7K"},
      {"NAME=C;DEFAULT=1E-12;SHOWDIM;DIM=F", "1P"},
      {"NAME=R;IEEE=0X40B3880000000000", "5K"},
      {"NAME=ID;DEFAULT=R?;TEXTONLY", "R?"},
      {"NAME=R;IEEE=0X1G", "ERROR"},
      {"NAME=R", "ERROR"},
  };
  for (const auto &c : cases) {
    std::string text;
    EXPECT_EQ(passive::formatSpiceItem(MemoryElement(c.attributes), text), passive::ItemStatus::Ok);
    EXPECT_EQ(text, c.text);
  }
}

TEST(PassiveNumberText, LeadingNumberReadsLikeAtof) {
  EXPECT_EQ(passive::leadingNumber("1k"), 1.0);
  EXPECT_EQ(passive::leadingNumber("  2.5E3ohm"), 2500.0);
  EXPECT_EQ(passive::leadingNumber("ohm"), 0.0);
  EXPECT_EQ(passive::leadingNumber(""), 0.0);
  EXPECT_EQ(passive::leadingNumber("0x10"), 0.0);
}

} // namespace
