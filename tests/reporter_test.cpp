// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/reporter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(Reporter, SaysEachLineWithTheProgramsNameAndAMessageMeantOnceByWhatItMeans) {
  std::ostringstream errors;
  platform::Reporter reporter("statusanzeige", errors);
  reporter.Say("one");
  // The same thing meant, with a value that changes, is said once.
  EXPECT_TRUE(reporter.SayOnce("cpu", "cannot read \"5.040 W\""));
  EXPECT_FALSE(reporter.SayOnce("cpu", "cannot read \"5.041 W\""));
  EXPECT_TRUE(reporter.SayOnce("fan", "cannot read \"5.040 W\""));
  EXPECT_EQ(errors.str(),
            "statusanzeige: one\n"
            "statusanzeige: cannot read \"5.040 W\"\n"
            "statusanzeige: cannot read \"5.040 W\"\n");
}

}  // namespace
