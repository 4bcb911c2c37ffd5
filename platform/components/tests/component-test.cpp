// Ownership and events of components.
#include "platform/components/core/component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using components::TComponent;

namespace {

// Records its own destruction so that the order can be checked.
class Recorder : public TComponent {
public:
  Recorder(TComponent *owner, std::string tag, std::vector<std::string> &log)
      : TComponent(owner), tag_(std::move(tag)), log_(log) {}
  ~Recorder() override { log_.push_back(tag_); }

private:
  std::string tag_;
  std::vector<std::string> &log_;
};

} // namespace

TEST(ComponentOwnership, OwnerFreesItsComponentsNewestFirst) {
  std::vector<std::string> log;
  {
    TComponent form(nullptr);
    new Recorder(&form, "first", log);
    auto *second = new Recorder(&form, "second", log);
    new Recorder(second, "grandchild", log);
    EXPECT_EQ(form.ComponentCount(), 2);
  }
  // A component's own destructor runs before it frees what it owns.
  EXPECT_EQ(log, (std::vector<std::string>{"second", "grandchild", "first"}));
}

TEST(ComponentOwnership, ComponentFreedEarlyLeavesItsOwner) {
  std::vector<std::string> log;
  TComponent form(nullptr);
  auto *child = new Recorder(&form, "child", log);
  child->SetName("Child");
  EXPECT_EQ(form.FindComponent("CHILD"), child);
  delete child;
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(form.FindComponent("Child"), nullptr);
}

TEST(ComponentEvents, UnassignedEventDoesNothingAndAssignedOneGetsTheSender) {
  components::TNotifyEvent onChange;
  EXPECT_FALSE(onChange.Assigned());
  onChange(nullptr); // must be harmless

  TComponent sender(nullptr);
  components::TObject *seen = nullptr;
  onChange = [&](components::TObject *s) { seen = s; };
  EXPECT_TRUE(onChange.Assigned());
  onChange(&sender);
  EXPECT_EQ(seen, &sender);
  onChange.Clear();
  seen = nullptr;
  onChange(&sender);
  EXPECT_EQ(seen, nullptr);
}
