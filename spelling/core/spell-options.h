// The checking options of the spelling engine: a set of fourteen options
// held in 16 bits, bit 0 first. The configuration keeps one set, the word
// parsers and the check loop act on it, the options dialog edits it. The
// bit order is part of the stored form of the component's properties, so
// the enumerators must never be reordered.
#ifndef SPELLING_SPELL_OPTIONS_H
#define SPELLING_SPELL_OPTIONS_H

#include <cstdint>
#include <initializer_list>

namespace spelling {

enum TSpellOption : unsigned {
  soUpcase,
  soNumbers,
  soHTML,
  soInternet,
  soQuoted,
  soAutoSuggest,
  soPrimaryOnly,
  soRecheck,
  soRepeated,
  soDualCaps,
  soUser1,
  soUser2,
  soUser3,
  soUser4,
};

constexpr unsigned SpellOptionCount = 14;

class TSpellOptions {
public:
  constexpr TSpellOptions() = default;
  constexpr TSpellOptions(std::initializer_list<TSpellOption> options) {
    for (TSpellOption option : options)
      bits_ = static_cast<std::uint16_t>(bits_ | bitOf(option));
  }

  // The set from its 16-bit value; bits above the last option are dropped
  // so that two sets with the same options always compare equal.
  static constexpr TSpellOptions fromValue(std::uint16_t value) {
    TSpellOptions options;
    options.bits_ = static_cast<std::uint16_t>(value & allBits());
    return options;
  }
  constexpr std::uint16_t value() const { return bits_; }

  constexpr bool contains(TSpellOption option) const { return (bits_ & bitOf(option)) != 0; }
  void include(TSpellOption option) { bits_ = static_cast<std::uint16_t>(bits_ | bitOf(option)); }
  void exclude(TSpellOption option) { bits_ = static_cast<std::uint16_t>(bits_ & ~bitOf(option)); }
  void set(TSpellOption option, bool on) {
    if (on)
      include(option);
    else
      exclude(option);
  }
  constexpr bool empty() const { return bits_ == 0; }

  friend constexpr bool operator==(TSpellOptions a, TSpellOptions b) { return a.bits_ == b.bits_; }
  friend constexpr bool operator!=(TSpellOptions a, TSpellOptions b) { return a.bits_ != b.bits_; }

private:
  static constexpr std::uint16_t bitOf(TSpellOption option) {
    return static_cast<std::uint16_t>(1u << option);
  }
  static constexpr std::uint16_t allBits() {
    return static_cast<std::uint16_t>((1u << SpellOptionCount) - 1);
  }

  std::uint16_t bits_ = 0;
};

} // namespace spelling

#endif
