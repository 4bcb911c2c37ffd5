// Progress in coarse steps.
#include "jpeg/core/step-progress.h"

#include <gtest/gtest.h>

#include <vector>

using namespace pixtune;

namespace {
class RecordingProgress final : public TProgress {
public:
  std::vector<int> shown;

private:
  void Show() override { shown.push_back(Percent()); }
};
} // namespace

TEST(TProgress, BeginGroupsUnitsIntoSteps) {
  struct Case {
    int start, end;
    long units, granularity;
    long unitsPerStep;
    int percentPerStep;
    long steps;
  } cases[] = {
      {0, 35, 100, 1, 14, 5, 8},
      {35, 100, 1000, 1, 76, 5, 14},
      {0, 100, 3, 1, 1, 34, 3},
      {0, 10, 1000, 8, 504, 5, 2},
  };
  for (const Case &c : cases) {
    RecordingProgress p;
    p.Begin(c.start, c.end, c.units, c.granularity);
    EXPECT_EQ(p.UnitsPerStep(), c.unitsPerStep) << c.start << ".." << c.end << " " << c.units;
    EXPECT_EQ(p.PercentPerStep(), c.percentPerStep) << c.start << ".." << c.end;
    EXPECT_EQ(p.Steps(), c.steps) << c.start << ".." << c.end;
    EXPECT_EQ(p.Percent(), c.start);
  }
}

TEST(TProgress, TicksStepAtTheDuePointsAndEndShowsHundred) {
  RecordingProgress p;
  p.begin(0, 35, 100);
  for (int i = 0; i < 100; ++i)
    p.tick();
  // Steps at units 14, 28, ... 98: seven of the eight.
  EXPECT_EQ(p.shown, (std::vector<int>{0, 5, 10, 15, 20, 25, 30, 35}));
  p.end();
  EXPECT_EQ(p.shown.back(), 100);
  p.Step();
  EXPECT_EQ(p.shown.back(), 100);
}

TEST(TProgress, EmptyRangeDoesNotDivideByZero) {
  // A 600 x 6000 image with a 10-pixel-wide thumbnail: its phase spans no
  // percent at all.
  RecordingProgress p;
  p.Begin(40, 40, 6000, 1);
  for (int i = 0; i < 6000; ++i)
    p.tick();
  EXPECT_EQ(p.Percent(), 40);
  RecordingProgress none;
  none.Begin(0, 50, 0, 1);
  none.tick();
  EXPECT_EQ(none.Percent(), 0);
  RecordingProgress reversed;
  reversed.Begin(60, 20, 100, 1);
  reversed.Step();
  EXPECT_EQ(reversed.Percent(), 60);
}
