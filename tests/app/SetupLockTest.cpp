// The lock the window and the command line share: one holder at a time, and
// free again once its holder lets go or ends.
#include <gtest/gtest.h>

#include <thread>

#include "app/SetupLock.h"

namespace {

// Whether a lock taken on another thread (as another process would) is held.
bool TakenElsewhere() {
  bool held = false;
  std::thread([&held] { held = SetupLock().Held(); }).join();
  return held;
}

TEST(SetupLock, OneHolderAtATime) {
  {
    const SetupLock window;
    ASSERT_TRUE(window.Held());
    EXPECT_FALSE(TakenElsewhere());
  }
  EXPECT_TRUE(TakenElsewhere());
  // A holder that ends without letting go leaves the lock to the next.
  std::thread([] { new SetupLock; }).join();  // never released: its thread ends holding it
  EXPECT_TRUE(SetupLock().Held());
}

}  // namespace
