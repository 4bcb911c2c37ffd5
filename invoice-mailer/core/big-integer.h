// A small unsigned big integer for exact conversions between doubles and
// decimal text. Only the operations those conversions need: multiply by a
// small factor, shift, subtract, compare and split off decimal digits.
// Sizes stay bounded by the double range (about 1100 bits for a double,
// a little more for the longest text the parser keeps).
#ifndef INVOICE_MAILER_CORE_BIG_INTEGER_H
#define INVOICE_MAILER_CORE_BIG_INTEGER_H

#include <cstdint>
#include <string>
#include <vector>

namespace billpost {

class BigInteger {
public:
  BigInteger() = default;
  explicit BigInteger(std::uint64_t value);

  bool isZero() const { return words_.empty(); }
  // Number of significant bits (0 for zero).
  unsigned bitLength() const;

  void multiplySmall(std::uint32_t factor);
  void addSmall(std::uint32_t addend);
  void multiplyPow5(unsigned exponent);
  void multiplyPow10(unsigned exponent);
  void shiftLeft(unsigned bits);
  // this -= other; other must not be larger.
  void subtract(const BigInteger &other);

  // Decimal digits, most significant first ("0" for zero).
  std::string toDecimal() const;

  friend int compare(const BigInteger &a, const BigInteger &b);

private:
  void trim();
  std::uint32_t divideSmall(std::uint32_t divisor); // answers the remainder

  std::vector<std::uint32_t> words_; // least significant first, no leading zeros
};

} // namespace billpost

#endif
