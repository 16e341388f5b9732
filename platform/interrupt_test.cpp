#include "platform/interrupt.h"

#include <signal.h>

#include <gtest/gtest.h>

namespace {

TEST(InterruptCatcher, CtrlCMarksACancelAndTheOldHandlingComesBack) {
  struct sigaction before {
  }, after{};
  sigaction(SIGINT, nullptr, &before);
  {
    InterruptCatcher catcher;
    EXPECT_FALSE(catcher.Requested());
    raise(SIGINT);
    EXPECT_TRUE(catcher.Requested());
  }
  sigaction(SIGINT, nullptr, &after);
  EXPECT_EQ(before.sa_handler, after.sa_handler);
  EXPECT_FALSE(InterruptCatcher().Requested());
}

}  // namespace
