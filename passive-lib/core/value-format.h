// Number texts of the component library: the five display formats of a
// value, the SPICE text that a netlist carries, and the IEEE text ("0X" and
// 16 hexadecimal digits) in which the component XML keeps a double exactly.
// Platform-free, so that the same texts come out natively and under Windows.
#ifndef PASSIVE_LIB_CORE_VALUE_FORMAT_H
#define PASSIVE_LIB_CORE_VALUE_FORMAT_H

#include <string>

namespace passive {

enum class NumberFormat { General = 0, Scientific = 1, Engineering = 2, Metric = 3, Spice = 4 };

const int MaxFormat = 4;
const int MaxDigits = 14;

// The display text of value: "?" when it is not finite. Returns false (and
// leaves text alone) when format is not 0..4 or digits not 0..14.
bool formatValue(double value, int format, int digits, bool changeSign, std::string &text);

// The SPICE text of value with the fewest digits that read back as the same
// double (trailing zeros trimmed): 6.25 gives "6.25", 4700 "4.7K".
std::string spiceValue(double value);

// "0X" and the 16 upper-case hexadecimal digits of value's bit pattern.
std::string ieeeText(double value);
// Reads "0x"/"0X" and 1 to 16 hexadecimal digits (right-aligned pattern).
// False for any other text, value then 0.0.
bool parseIeeeText(const std::string &text, double &value);

// The whole text as one number (leading blanks allowed, nothing after it),
// in the classic locale. False when it is not.
bool parseWholeNumber(const std::string &text, double &value);
// The number the text starts with, as atof reads it; 0.0 when there is none.
double leadingNumber(const std::string &text);

} // namespace passive

#endif
