// A detection run tick by tick against simulated ports and UPSs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeSerialChannel.h"
#include "ups/UpsDetection.h"

namespace {

std::string Line(int port, const std::string& suffix) {
  return " PORT : " + std::to_string(port) + suffix + "\r\n";
}

class UpsDetectionTest : public ::testing::Test {
 protected:
  UpsDetectionTest() {
    channel.OnTriggerAvail = [this](SerialChannel& sender, uint16_t count) {
      detection.ComPort1TriggerAvail(sender, count);
    };
    detection.OnProbe = [this](int port) { probed.push_back(port); };
  }

  // One tick, then whatever the devices sent meanwhile.
  bool Tick() {
    ++ticks;
    const bool due = detection.Timer1Timer();
    channel.Deliver();
    return due;
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) ASSERT_FALSE(Tick()) << "report due early, tick " << ticks;
  }
  // Ticks until the report is due; the tick that brought it, or 0.
  int TickToReport(int limit = 200) {
    for (int i = 0; i < limit; ++i)
      if (Tick()) return ticks;
    return 0;
  }
  // A whole run: start, ticks, report.
  DetectionReport Run() {
    detection.StartDetection();
    ticks = 0;
    EXPECT_NE(TickToReport(), 0) << "the report never came";
    return detection.ReportDetection();
  }
  // The series code found on port 1 when a UPS there answers with these pieces.
  int CodeOfAnswer(std::vector<std::string> answer) {
    channel.AddUps(1, std::move(answer));
    Run();
    return detection.PortState(1);
  }

  FakeSerialChannel channel;
  UpsDetection detection{channel};
  std::vector<int> probed;
  int ticks = 0;
};

TEST_F(UpsDetectionTest, WithNoUsablePortEveryLineSaysSoAndTheReportComesOnTheNinthTick) {
  detection.StartDetection();
  EXPECT_EQ(TickToReport(), 9);
  const DetectionReport report = detection.ReportDetection();

  std::string expected;
  for (int n = 1; n <= 8; ++n) expected += Line(n, " Cannot use this port");
  expected += "\r\n UPS NOT FOUND !";
  EXPECT_EQ(report.text, expected);
  EXPECT_EQ(report.foundCount, 0);
  EXPECT_EQ(report.port, 0);
  EXPECT_EQ(channel.openings, 0);  // the dry-contact search opened nothing either
  EXPECT_TRUE(probed.empty());
}

TEST_F(UpsDetectionTest, QzOnPortOneAndASilentPortTwoReportOnTickNineteen) {
  channel.AddUps(1, {"#TARVEXI QZ 1.00\r\n"});
  channel.AddSilent(2);
  detection.StartDetection();
  EXPECT_FALSE(channel.Open());  // the last pass tried port 8, which has no device

  ASSERT_FALSE(Tick());
  EXPECT_EQ(detection.PortState(1), port_code::QZ);
  EXPECT_EQ(detection.CurrentPort(), 2);
  EXPECT_EQ(TickToReport(), 19);
  const DetectionReport report = detection.ReportDetection();

  EXPECT_EQ(channel.ProbesTo(1), 1);
  EXPECT_EQ(channel.ProbesTo(2), 11);
  std::vector<int> expectedProbes{1};
  expectedProbes.insert(expectedProbes.end(), 11, 2);
  EXPECT_EQ(probed, expectedProbes);
  std::string expected = Line(1, " <== QZ Series") + Line(2, " <== Empty");
  for (int n = 3; n <= 8; ++n) expected += Line(n, " Cannot use this port");
  EXPECT_EQ(report.text, expected);
  EXPECT_EQ(report.port, 1);
  EXPECT_EQ(report.seriesCode, 3);
  EXPECT_FALSE(channel.Open());
  EXPECT_EQ(channel.dsrQuestions, 0);  // a series UPS was found: no dry-contact search
}

TEST_F(UpsDetectionTest, TheReplyNamesTheSeriesWithVeltoWinningOverQz) {
  struct Case {
    std::string reply;
    int code;
  };
  const Case cases[] = {
      {"(TARVEXI QZ Velto)\r\n", port_code::Velto}, {"TARVEXI QZ\n", port_code::QZ},
      {"TARVEXI 3000\r\n", port_code::Soranthe},    {"Tarvexi QZ\r\n", port_code::Empty},
      {"QZ Velto\r\n", port_code::Empty},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply);
    FakeSerialChannel fresh;
    UpsDetection run(fresh);
    fresh.OnTriggerAvail = [&run](SerialChannel& sender, uint16_t count) {
      run.ComPort1TriggerAvail(sender, count);
    };
    fresh.AddUps(1, {c.reply});
    fresh.AddSilent(2);
    run.StartDetection();
    run.Timer1Timer();
    fresh.Deliver();
    EXPECT_EQ(run.PortState(1), c.code);
    // A reply line moves on at once, whether or not it names the maker.
    EXPECT_EQ(run.CurrentPort(), 2);
    EXPECT_EQ(run.TickCount(), 0);
  }
}

TEST_F(UpsDetectionTest, ControlAndFramingCharactersInsideTheNameAreNotCollected) {
  const char reply[] = "T!A$R*V@E\rX\x01I\0 QZ\r\n";
  EXPECT_EQ(CodeOfAnswer({std::string(reply, sizeof reply - 1)}), port_code::QZ);
}

TEST_F(UpsDetectionTest, AReplySplitOverNotificationsIsEvaluatedWhenOneEndsWithLineFeed) {
  channel.AddUps(1, {"#TARV", "EXI Velto\nV", "1.0\r", "\n"});
  channel.AddSilent(2);
  detection.StartDetection();
  detection.Timer1Timer();
  channel.Deliver();
  // The line feed inside the second piece did not end the reply.
  EXPECT_EQ(detection.PortState(1), port_code::Velto);
  EXPECT_EQ(detection.CurrentPort(), 2);
  EXPECT_EQ(detection.ReplyText(), "");

  channel.Arrive("#TARV");
  channel.Deliver();
  EXPECT_EQ(detection.ReplyText(), "#TARV");
  EXPECT_EQ(detection.CurrentPort(), 2);
}

TEST_F(UpsDetectionTest, AReplyEndingInCarriageReturnAloneIsNeverEvaluated) {
  channel.AddUps(1, {"TARVEXI QZ\r"});
  detection.StartDetection();
  Ticks(11);
  EXPECT_EQ(channel.ProbesTo(1), 11);
  EXPECT_EQ(detection.CurrentPort(), 2);
  EXPECT_EQ(detection.PortState(1), port_code::Empty);
  EXPECT_EQ(detection.ReplyText().size(),
            UpsDetection::kReplyCapacity);  // eleven answers, collected up to the end
}

TEST_F(UpsDetectionTest, ADryContactGoesToTheLowestDsrPortOnlyWhenNoSeriesUpsAnswered) {
  channel.AddSilent(1);
  channel.AddSilent(2);
  channel.devices[2].dsr = true;
  channel.devices[5].dsr = true;
  channel.devices[7].failOpen = [] { throw EAlreadyOpen("held"); };

  const DetectionReport report = Run();
  EXPECT_EQ(detection.PortState(2), port_code::DryContact);
  EXPECT_EQ(detection.PortState(5), port_code::Empty);
  EXPECT_EQ(report.foundCount, 1);
  EXPECT_EQ(report.port, 2);
  EXPECT_EQ(report.seriesCode, 2);
  EXPECT_NE(report.text.find(Line(2, " <== Dry contact")), std::string::npos);
  EXPECT_NE(report.text.find(Line(7, " Cannot use this port")), std::string::npos);
  EXPECT_EQ(report.text.find("NOT FOUND"), std::string::npos);
}

TEST_F(UpsDetectionTest, WithTwoUpsThePortIsTheHigherAndTheSeriesThatOfTheLower) {
  channel.AddUps(3, {"TARVEXI Velto\r\n"});
  channel.AddUps(6, {"TARVEXI QZ\r\n"});
  channel.devices[3].dsr = true;

  const DetectionReport report = Run();
  EXPECT_EQ(report.foundCount, 2);
  EXPECT_EQ(report.port, 6);
  EXPECT_EQ(report.seriesCode, 0);
  EXPECT_EQ(report.text, Line(1, " Cannot use this port") + Line(2, " Cannot use this port") +
                             Line(3, " <== Velto Series") + Line(4, " Cannot use this port") +
                             Line(5, " Cannot use this port") + Line(6, " <== QZ Series") +
                             Line(7, " Cannot use this port") + Line(8, " Cannot use this port"));
}

TEST_F(UpsDetectionTest, ASecondRunGivesItsFirstPortAsManyProbesAsTheFirstRun) {
  channel.AddSilent(1);
  Run();
  EXPECT_EQ(channel.ProbesTo(1), 11);

  // Started over in the middle of probing port 1, with a UPS there by now.
  detection.StartDetection();
  Ticks(4);
  channel.devices[1].answer = {"TARVEXI QZ\r"};
  detection.StartDetection();
  EXPECT_EQ(detection.TickCount(), 0);
  EXPECT_EQ(detection.CurrentPort(), 1);
  Ticks(11);
  EXPECT_EQ(channel.ProbesTo(1), 11 + 4 + 11);
  EXPECT_EQ(detection.CurrentPort(), 2);
}

TEST_F(UpsDetectionTest, AnOverlongLineKeepsItsFirst91CharactersAndNothingBeyond) {
  const std::string head = "TARVEXI " + std::string(83, 'x');  // 91 characters
  channel.AddUps(1, {head, std::string(200, 'y') + " QZ Velto", "\r\n"});
  channel.AddSilent(2);
  detection.StartDetection();
  detection.Timer1Timer();
  channel.Deliver();
  EXPECT_EQ(detection.PortState(1), port_code::Soranthe);

  // The next reply starts empty again.
  channel.Arrive(std::string(300, 'z'));
  channel.Deliver();
  EXPECT_EQ(detection.ReplyText(), std::string(91, 'z'));
}

TEST_F(UpsDetectionTest, ALateReplyAfterTheProbeMovedOnIsCreditedToNoPort) {
  channel.AddSilent(1);
  channel.AddSilent(2);
  detection.StartDetection();
  Ticks(11);  // port 1 left; the channel is still open on it
  ASSERT_EQ(detection.CurrentPort(), 2);
  channel.Arrive("TARVEXI QZ\r\n");
  channel.Deliver();
  EXPECT_EQ(detection.PortState(1), port_code::Empty);
  EXPECT_EQ(detection.PortState(2), port_code::Empty);
  EXPECT_EQ(detection.CurrentPort(), 2);
  EXPECT_EQ(detection.FoundCount(), 0);

  // Past the last port there is no entry to credit.
  Ticks(11);
  channel.AddSilent(8);
  detection.StartDetection();  // ports 1, 2 and 8 open
  Ticks(11 + 11 + 5);          // ports 1 and 2, then 3 to 7 skipped
  ASSERT_EQ(detection.CurrentPort(), 8);
  Ticks(6);
  ASSERT_EQ(detection.CurrentPort(), 9);
  channel.Arrive("TARVEXI Velto\r\n");
  channel.Deliver();
  EXPECT_EQ(detection.FoundCount(), 0);
  EXPECT_TRUE(Tick());
  EXPECT_NE(detection.ReportDetection().text.find(Line(8, " <== Empty")), std::string::npos);
}

TEST_F(UpsDetectionTest, AnUnendedLineFromOnePortDoesNotSpoilTheReplyOfTheNext) {
  channel.AddUps(1, {std::string(120, '\x7f') + "\r"});  // garbage, never a line feed
  channel.AddUps(2, {"TARVEXI Velto\r\n"});
  detection.StartDetection();
  Ticks(11);
  ASSERT_EQ(detection.ReplyText().size(), UpsDetection::kReplyCapacity);
  Tick();
  EXPECT_EQ(detection.PortState(2), port_code::Velto);
}

TEST_F(UpsDetectionTest, APortThatFailsWhenItsTurnComesIsReportedUnusableAndTheRunGoesOn) {
  channel.AddSilent(1);
  channel.AddUps(2, {"TARVEXI QZ\r\n"});
  channel.AddSilent(3);
  detection.StartDetection();
  channel.devices[1].failOpen = [] { throw EHardware("gone"); };
  channel.devices[2].refuseWrites = true;
  channel.devices[3].failOpen = [] { throw EAlreadyOpen("held"); };  // opened at the start, held by now

  EXPECT_EQ(TickToReport(), 9 + 3);  // one probe tick each, then a skip tick each
  const DetectionReport report = detection.ReportDetection();
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(detection.PortState(n), port_code::CannotUse) << n;
  EXPECT_EQ(report.text.find("<=="), std::string::npos);
  EXPECT_FALSE(channel.Open());
}

TEST_F(UpsDetectionTest, ANotificationAnnouncingNothingTakesNothing) {
  channel.AddSilent(1);
  detection.StartDetection();
  detection.ComPort1TriggerAvail(channel, 0);
  EXPECT_EQ(detection.ReplyText(), "");
  EXPECT_EQ(detection.CurrentPort(), 1);
}

// What a run preselects for a UPS of each series on port 1, with a dry
// contact's DSR line on at port 2 as well: the series code the port list's
// choice stands for, and port 1 itself, also for a dry contact there.
TEST(UpsDetectionSeries, EachSeriesOnPortOnePreselectsItsCodeAndThatPort) {
  struct Case {
    std::vector<std::string> answer;  // empty: the port stays silent
    bool dsr;
    int portCode;
    int seriesCode;
  };
  const Case cases[] = {
      {{"TARVEXI QZ\r\n"}, false, port_code::QZ, 3},
      {{"TARVEXI Velto\r\n"}, false, port_code::Velto, 0},
      {{"TARVEXI 3000\r\n"}, false, port_code::Soranthe, 1},
      {{}, true, port_code::DryContact, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.portCode);
    FakeSerialChannel channel;
    UpsDetection detection(channel);
    channel.OnTriggerAvail = [&detection](SerialChannel& sender, uint16_t count) {
      detection.ComPort1TriggerAvail(sender, count);
    };
    channel.AddUps(1, c.answer);
    channel.devices[1].dsr = c.dsr;
    channel.AddSilent(2);
    channel.devices[2].dsr = true;
    detection.StartDetection();
    bool due = false;
    for (int tick = 0; tick < 100 && !due; ++tick) {
      due = detection.Timer1Timer();
      channel.Deliver();
    }
    ASSERT_TRUE(due);
    const DetectionReport report = detection.ReportDetection();
    EXPECT_EQ(detection.PortState(1), c.portCode);
    EXPECT_EQ(detection.PortState(2), port_code::Empty);
    EXPECT_EQ(report.port, 1);
    EXPECT_EQ(report.seriesCode, c.seriesCode);
  }
}

}  // namespace
