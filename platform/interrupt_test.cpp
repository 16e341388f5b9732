#include "platform/interrupt.h"

#include <signal.h>

#include <gtest/gtest.h>

TEST(InterruptCatcher, CtrlCMarksACancelAndTheOldHandlingComesBack) {
  // An old handling unlike the default that a caught Ctrl-C falls back to.
  const auto old = signal(SIGINT, SIG_IGN);
  {
    InterruptCatcher catcher;
    raise(SIGINT);
    EXPECT_TRUE(catcher.Requested());
  }
  EXPECT_EQ(signal(SIGINT, old), SIG_IGN);
  EXPECT_FALSE(InterruptCatcher().Requested());
}
