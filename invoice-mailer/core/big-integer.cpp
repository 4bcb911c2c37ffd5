// Unsigned big integers for the exact number conversions.
#include "invoice-mailer/core/big-integer.h"

#include <algorithm>
#include <cassert>

namespace billpost {

BigInteger::BigInteger(std::uint64_t value) {
  while (value) {
    words_.push_back(static_cast<std::uint32_t>(value));
    value >>= 32;
  }
}

void BigInteger::trim() {
  while (!words_.empty() && words_.back() == 0)
    words_.pop_back();
}

unsigned BigInteger::bitLength() const {
  if (words_.empty())
    return 0;
  unsigned bits = static_cast<unsigned>(words_.size() - 1) * 32;
  for (std::uint32_t top = words_.back(); top; top >>= 1)
    ++bits;
  return bits;
}

void BigInteger::multiplySmall(std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (std::uint32_t &word : words_) {
    std::uint64_t product = static_cast<std::uint64_t>(word) * factor + carry;
    word = static_cast<std::uint32_t>(product);
    carry = product >> 32;
  }
  if (carry)
    words_.push_back(static_cast<std::uint32_t>(carry));
  trim();
}

void BigInteger::addSmall(std::uint32_t addend) {
  std::uint64_t carry = addend;
  for (std::size_t i = 0; carry && i < words_.size(); ++i) {
    std::uint64_t sum = static_cast<std::uint64_t>(words_[i]) + carry;
    words_[i] = static_cast<std::uint32_t>(sum);
    carry = sum >> 32;
  }
  if (carry)
    words_.push_back(static_cast<std::uint32_t>(carry));
}

void BigInteger::multiplyPow5(unsigned exponent) {
  // 5^13 is the largest power of five below 2^32.
  for (; exponent >= 13; exponent -= 13)
    multiplySmall(1220703125u);
  std::uint32_t rest = 1;
  while (exponent--)
    rest *= 5;
  multiplySmall(rest);
}

void BigInteger::multiplyPow10(unsigned exponent) {
  multiplyPow5(exponent);
  shiftLeft(exponent);
}

void BigInteger::shiftLeft(unsigned bits) {
  if (words_.empty() || bits == 0)
    return;
  unsigned wordShift = bits / 32, bitShift = bits % 32;
  if (bitShift) {
    std::uint32_t carry = 0;
    for (std::uint32_t &word : words_) {
      std::uint32_t next = word >> (32 - bitShift);
      word = (word << bitShift) | carry;
      carry = next;
    }
    if (carry)
      words_.push_back(carry);
  }
  words_.insert(words_.begin(), wordShift, 0);
}

void BigInteger::subtract(const BigInteger &other) {
  assert(compare(*this, other) >= 0 && "subtraction would go below zero");
  std::int64_t borrow = 0;
  for (std::size_t i = 0; i < words_.size(); ++i) {
    std::int64_t difference = static_cast<std::int64_t>(words_[i]) - borrow -
                              (i < other.words_.size() ? other.words_[i] : 0);
    borrow = difference < 0;
    words_[i] = static_cast<std::uint32_t>(difference + (borrow << 32));
  }
  trim();
}

std::uint32_t BigInteger::divideSmall(std::uint32_t divisor) {
  std::uint64_t remainder = 0;
  for (std::size_t i = words_.size(); i-- > 0;) {
    std::uint64_t current = (remainder << 32) | words_[i];
    words_[i] = static_cast<std::uint32_t>(current / divisor);
    remainder = current % divisor;
  }
  trim();
  return static_cast<std::uint32_t>(remainder);
}

std::string BigInteger::toDecimal() const {
  if (words_.empty())
    return "0";
  BigInteger rest = *this;
  std::string reversed;
  while (!rest.isZero()) {
    // Nine digits at a time: 10^9 is the largest power of ten below 2^32.
    std::uint32_t chunk = rest.divideSmall(1000000000u);
    for (int i = 0; i < 9; ++i) {
      reversed.push_back(static_cast<char>('0' + chunk % 10));
      chunk /= 10;
    }
  }
  while (reversed.size() > 1 && reversed.back() == '0')
    reversed.pop_back();
  return std::string(reversed.rbegin(), reversed.rend());
}

int compare(const BigInteger &a, const BigInteger &b) {
  if (a.words_.size() != b.words_.size())
    return a.words_.size() < b.words_.size() ? -1 : 1;
  for (std::size_t i = a.words_.size(); i-- > 0;) {
    if (a.words_[i] != b.words_[i])
      return a.words_[i] < b.words_[i] ? -1 : 1;
  }
  return 0;
}

} // namespace billpost
