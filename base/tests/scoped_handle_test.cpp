// The handle owner against a counting kind of handle: every handle is
// closed exactly once, whatever path it takes, and never the kind's own
// "none" value.
#include "base/scoped_handle.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

namespace vtq::base {
namespace {

// Handles are small numbers; -1 is "none", as INVALID_HANDLE_VALUE is for
// files, so that 0 is a handle like any other.
struct Closed {
  std::vector<int> handles;
};
Closed* g_closed = nullptr;  // the test's own record, set per case

struct CountingTraits {
  using Handle = int;
  static Handle Invalid() noexcept { return -1; }
  static void Close(Handle handle) noexcept { g_closed->handles.push_back(handle); }
};
using Owner = ScopedHandle<CountingTraits>;

class ScopedHandleTest : public ::testing::Test {
 protected:
  void SetUp() override { g_closed = &closed_; }
  void TearDown() override { g_closed = nullptr; }
  const std::vector<int>& ClosedHandles() const { return closed_.handles; }

 private:
  Closed closed_;
};

static_assert(!std::is_copy_constructible_v<Owner>);
static_assert(!std::is_copy_assignable_v<Owner>);
static_assert(std::is_nothrow_move_constructible_v<Owner>);
static_assert(std::is_nothrow_move_assignable_v<Owner>);
static_assert(!std::is_convertible_v<Owner, bool>, "bool only on request");

TEST_F(ScopedHandleTest, ClosesItsHandleOnceWhenItGoes) {
  { const Owner owner(0); }
  EXPECT_EQ(ClosedHandles(), std::vector<int>{0});
}

TEST_F(ScopedHandleTest, NeverClosesTheKindsNoneValue) {
  {
    const Owner empty;
    const Owner failed(-1);
    EXPECT_FALSE(empty);
    EXPECT_FALSE(failed);
    EXPECT_EQ(empty.Get(), -1);
  }
  EXPECT_TRUE(ClosedHandles().empty());
}

TEST_F(ScopedHandleTest, ZeroIsAHandleWhereNoneIsAnotherValue) {
  const Owner owner(0);
  EXPECT_TRUE(owner);
}

TEST_F(ScopedHandleTest, TakeHandsOwnershipOnAndClosesNothing) {
  int taken = -1;
  {
    Owner owner(7);
    taken = owner.Take();
    EXPECT_FALSE(owner);
  }
  EXPECT_EQ(taken, 7);
  EXPECT_TRUE(ClosedHandles().empty());
}

TEST_F(ScopedHandleTest, MoveLeavesTheSourceEmptyAndClosesOnce) {
  {
    Owner first(3);
    Owner second(std::move(first));
    EXPECT_FALSE(first);  // NOLINT(bugprone-use-after-move): the moved-from state is the point
    EXPECT_EQ(second.Get(), 3);
    Owner third;
    third = std::move(second);
    EXPECT_EQ(third.Get(), 3);
    EXPECT_TRUE(ClosedHandles().empty());
  }
  EXPECT_EQ(ClosedHandles(), std::vector<int>{3});
}

TEST_F(ScopedHandleTest, MoveAssignmentClosesWhatTheTargetHeld) {
  Owner target(1);
  Owner source(2);
  target = std::move(source);
  EXPECT_EQ(ClosedHandles(), std::vector<int>{1});
  EXPECT_EQ(target.Get(), 2);
}

TEST_F(ScopedHandleTest, SelfMoveKeepsTheHandle) {
  Owner owner(4);
  Owner& same = owner;
  owner = std::move(same);
  EXPECT_EQ(owner.Get(), 4);
  EXPECT_TRUE(ClosedHandles().empty());
}

TEST_F(ScopedHandleTest, ResetClosesTheOldHandleAndKeepsTheNew) {
  {
    Owner owner(5);
    owner.Reset(6);
    EXPECT_EQ(ClosedHandles(), std::vector<int>{5});
    owner.Reset();
    EXPECT_EQ(ClosedHandles(), (std::vector<int>{5, 6}));
    EXPECT_FALSE(owner);
  }
  EXPECT_EQ(ClosedHandles(), (std::vector<int>{5, 6}));
}

TEST_F(ScopedHandleTest, ReceiveClosesWhatWasHeldBeforeTheCallFillsIt) {
  Owner owner(8);
  int* slot = owner.Receive();
  EXPECT_EQ(ClosedHandles(), std::vector<int>{8});
  EXPECT_EQ(*slot, -1);
  *slot = 9;  // as a creating call would
  EXPECT_EQ(owner.Get(), 9);
}

}  // namespace
}  // namespace vtq::base
