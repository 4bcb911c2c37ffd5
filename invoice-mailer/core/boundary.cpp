// Boundaries: random digits, re-seeded from the clock on every call.
#include "invoice-mailer/core/boundary.h"

#include <chrono>
#include <random>

namespace billpost {

std::string MakeBoundary() {
  auto seed = static_cast<std::uint32_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::mt19937 generator(seed);
  std::uniform_int_distribution<int> digit(0, 8);
  std::string boundary;
  for (int i = 0; i < 8; ++i)
    boundary += static_cast<char>('0' + digit(generator));
  return boundary;
}

} // namespace billpost
