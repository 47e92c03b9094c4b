#include <gtest/gtest.h>

#include "util/AppError.h"

TEST(ErrorBoxText, AppendsFullStopOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(ErrorBoxText("'' is not a valid integer value"), "'' is not a valid integer value.");
  EXPECT_EQ(ErrorBoxText("Failed to set data for 'SETUP'"), "Failed to set data for 'SETUP'");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("Cannot open file C:\\x\\SCHEDULE.TXT"), "Cannot open file C:\\x\\SCHEDULE.TXT.");
  EXPECT_EQ(ErrorBoxText(""), "");
}
