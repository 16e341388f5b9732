#include "platform/interrupt.h"

#include <signal.h>

#include <gtest/gtest.h>

TEST(InterruptCatcher, CtrlCMarksACancelAndTheOldHandlingComesBack) {
  struct sigaction before = {}, after = {};
  sigaction(SIGINT, nullptr, &before);
  {
    InterruptCatcher catcher;
    raise(SIGINT);
    EXPECT_TRUE(catcher.Requested());
  }
  sigaction(SIGINT, nullptr, &after);
  EXPECT_EQ(before.sa_handler, after.sa_handler);
  EXPECT_FALSE(InterruptCatcher().Requested());
}
