#include "platform/interrupt.h"

#include <signal.h>

#include <gtest/gtest.h>

TEST(InterruptCatcher, CtrlCOrTermMarksACancelASecondEndsAndTheOldHandlingComesBack) {
  for (const int stop : {SIGINT, SIGTERM}) {
    // An old handling unlike the default that a caught signal falls back to.
    signal(SIGINT, SIG_IGN);
    signal(SIGTERM, SIG_IGN);
    {
      InterruptCatcher catcher;
      raise(stop);
      EXPECT_TRUE(catcher.Requested()) << stop;
      // Whichever comes next, Ctrl+C or SIGTERM, ends the process.
      EXPECT_EQ(SIG_DFL, signal(SIGINT, SIG_DFL)) << stop;
      EXPECT_EQ(SIG_DFL, signal(SIGTERM, SIG_DFL)) << stop;
    }
    EXPECT_EQ(SIG_IGN, signal(SIGINT, SIG_DFL)) << stop;
    EXPECT_EQ(SIG_IGN, signal(SIGTERM, SIG_DFL)) << stop;
  }
  EXPECT_FALSE(InterruptCatcher().Requested());
}
