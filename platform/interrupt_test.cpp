#include "platform/interrupt.h"

#include <signal.h>

#include <gtest/gtest.h>

TEST(InterruptCatcher, CtrlCOrTermMarksACancelAndTheOldHandlingComesBack) {
  for (const int stop : {SIGINT, SIGTERM}) {
    // An old handling unlike the default, which the catcher must give back.
    signal(SIGINT, SIG_IGN);
    signal(SIGTERM, SIG_IGN);
    {
      InterruptCatcher catcher;
      raise(stop);
      EXPECT_TRUE(catcher.Requested()) << stop;
    }
    EXPECT_EQ(SIG_IGN, signal(SIGINT, SIG_DFL)) << stop;
    EXPECT_EQ(SIG_IGN, signal(SIGTERM, SIG_DFL)) << stop;
  }
  EXPECT_FALSE(InterruptCatcher().Requested());
}

// Whichever comes second, Ctrl+C or SIGTERM, ends the process as it would
// have ended without a catcher.
TEST(InterruptCatcherDeathTest, ASecondStopEndsTheProcessAsTheSignalDoes) {
  for (const int second : {SIGINT, SIGTERM}) {
    EXPECT_EXIT(
        {
          const InterruptCatcher catcher;
          raise(SIGINT);
          raise(second);
          std::exit(0);
        },
        ::testing::KilledBySignal(second), "");
  }
}
