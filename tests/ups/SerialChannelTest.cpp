// The rules of the serial channel that hold whatever device is below it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeSerialChannel.h"

namespace {

class SerialChannelTest : public ::testing::Test {
 protected:
  SerialChannelTest() {
    port.OnTriggerAvail = [this](SerialChannel& sender, uint16_t count) {
      counts.push_back(count);
      for (uint16_t i = 0; i < count; ++i) bytes += static_cast<char>(sender.ReadChar());
    };
  }
  FakeSerialChannel port;
  std::vector<uint16_t> counts;
  std::string bytes;
};

TEST_F(SerialChannelTest, OpeningAndClosingTwiceDoNothingMore) {
  port.AddSilent(1);
  port.SetOpen(true);
  port.SetOpen(true);
  EXPECT_TRUE(port.Open());
  EXPECT_EQ(port.openings, 1);

  port.SetOpen(false);
  port.SetOpen(false);
  EXPECT_FALSE(port.Open());
}

TEST_F(SerialChannelTest, ChangingTheNumberOfAnOpenPortReopensItThereAndTheSameNumberKeepsItOpen) {
  port.AddSilent(1);
  port.AddSilent(4);
  port.SetOpen(true);
  port.SetComNumber(1);
  EXPECT_EQ(port.openings, 1);

  port.SetComNumber(4);
  EXPECT_TRUE(port.Open());
  EXPECT_EQ(port.openings, 2);
  port.WriteText("x");
  EXPECT_EQ(port.written.back().first, 4);
}

TEST_F(SerialChannelTest, AFailedOpeningThrowsAPortUnusableKindAndLeavesThePortClosed) {
  port.SetComNumber(3);  // no device
  EXPECT_THROW(port.SetOpen(true), EBadId);
  EXPECT_FALSE(port.Open());

  port.devices[5].failOpen = [] { throw EAlreadyOpen("held"); };
  port.SetComNumber(5);
  try {
    port.SetOpen(true);
    FAIL() << "opening a held port succeeded";
  } catch (const PortUnusable&) {
  }
  EXPECT_FALSE(port.Open());
}

TEST_F(SerialChannelTest, DsrIsFalseOnAClosedPortWithoutAskingTheDevice) {
  port.devices[2].dsr = true;
  port.SetComNumber(2);
  EXPECT_FALSE(port.DSR());
  EXPECT_EQ(port.dsrQuestions, 0);

  port.SetOpen(true);
  EXPECT_TRUE(port.DSR());
  EXPECT_TRUE(port.DSR());
  EXPECT_EQ(port.dsrQuestions, 2);
}

TEST_F(SerialChannelTest, BytesReachTheHandlerInOrderWithTheCountOfEachPiece) {
  port.AddUps(1, {"AB", "C", "DEF\n"});
  port.SetOpen(true);
  port.WriteText("V?\r\n");
  port.Deliver();
  EXPECT_EQ(counts, (std::vector<uint16_t>{2, 1, 4}));
  EXPECT_EQ(bytes, "ABCDEF\n");
}

TEST_F(SerialChannelTest, NothingArrivedBeforeClosingIsAnnouncedOrReadAfterwards) {
  port.AddSilent(1);
  port.SetOpen(true);
  port.OnTriggerAvail = [this](SerialChannel&, uint16_t count) { counts.push_back(count); };  // takes nothing
  port.Arrive("left");
  port.Deliver();
  port.Arrive("queued");
  port.SetOpen(false);
  port.SetOpen(true);
  port.Deliver();
  EXPECT_EQ(counts, (std::vector<uint16_t>{4}));
  EXPECT_THROW(port.ReadChar(), ESerialIO);
}

TEST_F(SerialChannelTest, AClosedPortIsNeverOpenedByAWrite) {
  port.AddSilent(1);
  EXPECT_THROW(port.WriteText("V?\r\n"), ESerialIO);
  EXPECT_FALSE(port.Open());
  EXPECT_TRUE(port.written.empty());
}

}  // namespace
