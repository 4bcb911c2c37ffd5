// The fuzz driver's own contract: the environment scales and reseeds a run,
// a replay runs exactly the bytes of a file, and an input that kills the
// process is left in a file named after the test.
#include "testing/fuzz-driver.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

using testing_support::Bytes;
using testing_support::FuzzLimits;

namespace {

Bytes bytesOf(const std::string &text) { return Bytes(text.begin(), text.end()); }

std::string readAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Sets an environment variable for one scope.
class ScopedEnvironment {
public:
  ScopedEnvironment(const char *name, const std::string &value) : name_(name) {
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() { unsetenv(name_); }

private:
  const char *name_;
};

} // namespace

TEST(FuzzDriver, TheEnvironmentScalesAndReseedsARun) {
  FuzzLimits asked{1000, 2.0, 7, 100};
  {
    FuzzLimits same = testing_support::limitsFromEnvironment(asked);
    EXPECT_EQ(same.iterations, 1000u);
    EXPECT_EQ(same.seed, 7u);
  }
  ScopedEnvironment scale("FUZZ_SCALE", "100");
  ScopedEnvironment seed("FUZZ_SEED", "12345");
  FuzzLimits scaled = testing_support::limitsFromEnvironment(asked);
  EXPECT_EQ(scaled.iterations, 100000u);
  EXPECT_EQ(scaled.minimum, 10000u);
  EXPECT_DOUBLE_EQ(scaled.seconds, 200.0);
  EXPECT_EQ(scaled.seed, 12345u);
}

TEST(FuzzDriver, ASeedGivesTheSameInputsAndAnotherSeedOthers) {
  auto run = [](std::uint32_t seed) {
    std::string seen;
    testing_support::fuzz(
        {bytesOf("[s]\r\nk=v\r\n")},
        [&](const Bytes &input) { seen.append(input.begin(), input.end()).push_back('|'); },
        FuzzLimits{50, 60.0, seed, 50});
    return seen;
  };
  EXPECT_EQ(run(1), run(1));
  EXPECT_NE(run(1), run(2));
}

TEST(FuzzDriver, AReplayRunsTheFileAlone) {
  const std::string path = testing_support::scratchPath("replayed.fuzz-input");
  std::ofstream(path, std::ios::binary) << "exact\xFF bytes";
  ScopedEnvironment replay("FUZZ_REPLAY", path);
  std::vector<std::string> seen;
  unsigned tried = testing_support::fuzz({bytesOf("seed")}, [&](const Bytes &input) {
    seen.emplace_back(input.begin(), input.end());
  });
  EXPECT_EQ(tried, 1u);
  EXPECT_EQ(seen, std::vector<std::string>{"exact\xFF bytes"});
}

TEST(FuzzDriverDeathTest, AnInputThatKillsTheProcessIsKeptForReplay) {
  const std::string folder = testing_support::envOr("TEST_BINARY_DIR", ".");
  const std::string kept =
      folder + "/FuzzDriverDeathTest.AnInputThatKillsTheProcessIsKeptForReplay.fuzz-input";
  std::remove(kept.c_str());
  ScopedEnvironment artefacts("FUZZ_ARTIFACTS", folder);
  EXPECT_DEATH(testing_support::fuzz({bytesOf("fine"), bytesOf("fatal")},
                                     [](const Bytes &input) {
                                       if (input == bytesOf("fatal"))
                                         std::abort();
                                     }),
               "the input that failed is in");
  EXPECT_EQ(readAll(kept), "fatal");
}
