// Numbers as Billpost writes and reads them. The conversions are exact and
// our own, so that the native and the Windows builds print every amount
// byte for byte alike, whatever the C runtime or the locale would do:
//
// - general form (the search text of a rate or price): at most 15
//   significant digits, rounded half away from zero, no trailing zeros;
//   plain decimals from 0.0001 up to 15 integer digits, otherwise a
//   mantissa with "E" and a signed-only-when-negative exponent ("1.5E20",
//   "1E-5");
// - fixed form (amounts in the invoice text): exactly two decimals,
//   rounded half away from zero from the exact binary value, with every
//   integer digit kept, so that amounts of a million and more keep their
//   cents;
// - text to number: blanks around, an optional sign, digits with an
//   optional "." and an optional exponent; the result is the double
//   nearest to the exact decimal value.
#ifndef INVOICE_MAILER_CORE_NUMBER_TEXT_H
#define INVOICE_MAILER_CORE_NUMBER_TEXT_H

#include <string>

namespace billpost {

// value must be finite (callers check; the records guarantee it).
std::string formatGeneral(double value);
std::string formatFixed(double value);

// False when text is not a number or lies outside the double range; value
// is left alone then.
bool parseNumber(const std::string &text, double &value);
// As parseNumber, but throws EConvertError with the conversion error's
// standard message.
double textToFloat(const std::string &text);

} // namespace billpost

#endif
